#include "adapter/CertificateList.h"

#include <algorithm>

namespace rizorivu {

namespace {

// The longest prefix of `text` that fits a half and does not end inside a surrogate pair.
std::u16string_view fitting(std::u16string_view text) {
    if (text.size() <= CertificateList::kMaxTextLength) {
        return text;
    }
    std::size_t length = CertificateList::kMaxTextLength;
    const char16_t last = text[length - 1];
    if (last >= 0xD800 && last <= 0xDBFF) {
        --length;
    }
    return text.substr(0, length);
}

}  // namespace

void CertificateList::clear() {
    units_.fill(u'\0');
}

bool CertificateList::set(std::size_t index, std::u16string_view first,
                          std::u16string_view second) {
    if (index >= kEntries) {
        return false;
    }
    const std::u16string_view texts[2] = {fitting(first), fitting(second)};
    for (std::size_t half = 0; half < 2; ++half) {
        char16_t* start = units_.data() + (index * 2 + half) * kTextUnits;
        std::fill(start, start + kTextUnits, u'\0');
        std::copy(texts[half].begin(), texts[half].end(), start);
    }
    return true;
}

std::u16string_view CertificateList::first(std::size_t index) const {
    return text(index, 0);
}

std::u16string_view CertificateList::second(std::size_t index) const {
    return text(index, 1);
}

std::u16string_view CertificateList::text(std::size_t index, std::size_t half) const {
    if (index >= kEntries) {
        return {};
    }
    const char16_t* start = units_.data() + (index * 2 + half) * kTextUnits;
    const char16_t* end = std::find(start, start + kMaxTextLength, u'\0');
    return {start, static_cast<std::size_t>(end - start)};
}

}  // namespace rizorivu
