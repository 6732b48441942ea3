#include "settings/NumberText.h"

#include <array>
#include <charconv>

namespace rizorivu {

namespace {

// Large enough for any 64-bit integer and for a fixed-point double with a few decimals.
constexpr std::size_t kBufferSize = 400;

std::string padded(const char* first, const char* last, int minDigits) {
    const bool negative = first != last && *first == '-';
    const auto digits = static_cast<int>(last - first) - (negative ? 1 : 0);
    std::string text;
    if (negative) {
        text += '-';
        ++first;
    }
    if (digits < minDigits) {
        text.append(static_cast<std::size_t>(minDigits - digits), '0');
    }
    text.append(first, last);
    return text;
}

}  // namespace

std::string decimalText(long long value, int minDigits) {
    std::array<char, kBufferSize> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return padded(buffer.data(), result.ptr, minDigits);
}

std::string upperHexText(unsigned long long value, int minDigits) {
    std::array<char, kBufferSize> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, 16);
    for (char* c = buffer.data(); c != result.ptr; ++c) {
        if (*c >= 'a' && *c <= 'f') {
            *c = static_cast<char>(*c - 'a' + 'A');
        }
    }
    return padded(buffer.data(), result.ptr, minDigits);
}

std::string fixedText(double value, int decimals) {
    std::array<char, kBufferSize> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc{}) {
        return std::string();  // beyond any rate or strength the utility shows
    }
    return std::string(buffer.data(), result.ptr);
}

}  // namespace rizorivu
