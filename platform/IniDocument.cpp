#include "platform/IniDocument.h"

#include <algorithm>
#include <functional>

#include "platform/IniLineReader.h"

namespace rizorivu {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
// A slot holds index + 1 above kTagBits bits of the hash, so that most slots of other names
// are passed over without finding the name in the text again.
constexpr unsigned kTagBits = 6;
constexpr std::uint32_t kTagMask = (1u << kTagBits) - 1;
// Offsets and indexes that fit a slot. Decoding can triple the input, which still fits.
constexpr std::size_t kMaxIndex = (std::size_t{1} << (32 - kTagBits)) - 2;

std::uint32_t mix(std::uint64_t h) {
    // The finaliser of splitmix64: spreads every input bit over the low bits used as slot.
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBull;
    h ^= h >> 31;
    return static_cast<std::uint32_t>(h);
}

std::uint32_t sectionHash(std::string_view folded) {
    return mix(std::hash<std::string_view>{}(folded));
}

std::uint32_t keyHash(std::uint32_t section, std::string_view folded) {
    return mix(std::hash<std::string_view>{}(folded) + (section + 1ull) * 0x9E3779B97F4A7C15ull);
}

std::uint32_t tagOf(std::uint32_t hash) {
    return hash >> (32 - kTagBits);
}

std::uint32_t slotFor(std::size_t index, std::uint32_t hash) {
    return static_cast<std::uint32_t>(index + 1) << kTagBits | tagOf(hash);
}

std::uint32_t indexIn(std::uint32_t slot) {
    return (slot >> kTagBits) - 1;
}

// Room for `count` entries at a load of at most three quarters, so probe runs stay short.
std::size_t tableSize(std::size_t count) {
    if (count == 0) {
        return 0;
    }
    std::size_t size = 16;
    while (size / 4 * 3 < count) {
        size *= 2;
    }
    return size;
}

// The reader's blanks: white space and Ctrl-Z, the old end-of-file mark that some files
// still carry at their end.
bool isProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view trimProfileBlanks(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && isProfileBlank(text[b])) {
        ++b;
    }
    while (e > b && isProfileBlank(text[e - 1])) {
        --e;
    }
    return text.substr(b, e - b);
}

// The trimmed line that starts at `offset`, found again the way the line reader cut it.
std::string_view lineAt(std::string_view text, std::uint32_t offset) {
    const std::string_view rest = text.substr(offset);
    return trimProfileBlanks(rest.substr(0, rest.find_first_of(std::string_view("\r\n\0", 3))));
}

// The name reaches to the last "]" of the line; without one, to the line's end.
std::string_view sectionName(std::string_view header) {
    const std::string_view rest = header.substr(1);
    return trimProfileBlanks(rest.substr(0, rest.rfind(']')));
}

std::string_view keyName(std::string_view line) {
    return trimProfileBlanks(line.substr(0, line.find('=')));
}

std::string_view keyValue(std::string_view line) {
    std::string_view value = trimProfileBlanks(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

// Indexes the lines of a document's text, keeping the section that keys currently go to.
class IniDocument::Builder {
public:
    Builder(IniDocument& doc, const CaseFolder& folder) : doc_(doc), folder_(folder) {}

    void build() {
        // The tables are sized once for every line that could add an entry, so that they
        // never exist twice while growing.
        std::size_t headers = 0;
        std::size_t keys = 0;
        IniLineReader counting = IniLineReader::overDecoded(doc_.text_);
        while (const auto raw = counting.next()) {
            const std::string_view line = trimProfileBlanks(*raw);
            if (line.empty() || line.front() == ';') {
                continue;
            }
            if (line.front() == '[') {
                ++headers;
            } else if (line.find('=') != std::string_view::npos) {
                ++keys;
            }
        }
        doc_.sections_.reserve(headers);
        doc_.sectionSlots_.assign(tableSize(headers), 0);
        doc_.keySlots_.assign(tableSize(keys), 0);

        IniLineReader lines = IniLineReader::overDecoded(doc_.text_);
        while (const auto raw = lines.next()) {
            line(trimProfileBlanks(*raw));
        }
        doc_.sections_.shrink_to_fit();
    }

private:
    void line(std::string_view line) {
        if (line.empty() || line.front() == ';') {
            return;
        }
        const auto offset = static_cast<std::size_t>(line.data() - doc_.text_.data());
        if (offset > kMaxIndex) {
            return;
        }
        if (line.front() == '[') {
            openSection(sectionName(line), static_cast<std::uint32_t>(offset));
        } else if (current_ != kNone && line.find('=') != std::string_view::npos) {
            addKey(keyName(line), static_cast<std::uint32_t>(offset));
        }
    }

    void openSection(std::string_view name, std::uint32_t offset) {
        const std::string folded = folder_.upper(name);
        const std::uint32_t hash = sectionHash(folded);
        if (doc_.findSection(folded, hash, folder_) != kNone) {
            // The reader stops at the first section of a name, so a repeat is unreachable.
            current_ = kNone;
            return;
        }
        current_ = static_cast<std::uint32_t>(doc_.sections_.size());
        doc_.sections_.push_back(offset);
        std::vector<std::uint32_t>& slots = doc_.sectionSlots_;
        const std::size_t mask = slots.size() - 1;
        std::size_t i = hash & mask;
        while (slots[i] != 0) {
            i = (i + 1) & mask;
        }
        slots[i] = slotFor(current_, hash);
    }

    void addKey(std::string_view name, std::uint32_t offset) {
        const std::string folded = folder_.upper(name);
        const std::uint32_t hash = keyHash(current_, folded);
        std::vector<std::uint32_t>& slots = doc_.keySlots_;
        const std::size_t mask = slots.size() - 1;
        std::size_t i = hash & mask;
        for (; slots[i] != 0; i = (i + 1) & mask) {
            if (doc_.keyMatches(slots[i], current_, folded, hash, folder_)) {
                return;  // the first key of a name wins
            }
        }
        slots[i] = slotFor(offset, hash);
    }

    IniDocument& doc_;
    const CaseFolder& folder_;
    std::uint32_t current_ = kNone;  // kNone before the first section and in a repeated one
};

IniDocument IniDocument::parse(std::string_view bytes, const CodePage& ansi,
                               const CaseFolder& folder) {
    IniDocument doc;
    doc.text_ = IniLineReader::decode(bytes, ansi);
    Builder(doc, folder).build();
    return doc;
}

IniDocument IniDocument::parseOwned(std::string bytes, const CodePage& ansi,
                                    const CaseFolder& folder) {
    IniDocument doc;
    doc.text_ = IniLineReader::decode(bytes, ansi);
    std::string().swap(bytes);
    Builder(doc, folder).build();
    return doc;
}

std::uint32_t IniDocument::findSection(std::string_view folded, std::uint32_t hash,
                                       const CaseFolder& folder) const {
    if (sectionSlots_.empty()) {
        return kNone;
    }
    const std::size_t mask = sectionSlots_.size() - 1;
    for (std::size_t i = hash & mask; sectionSlots_[i] != 0; i = (i + 1) & mask) {
        const std::uint32_t slot = sectionSlots_[i];
        if ((slot & kTagMask) == tagOf(hash) &&
            folder.upper(sectionName(lineAt(text_, sections_[indexIn(slot)]))) == folded) {
            return indexIn(slot);
        }
    }
    return kNone;
}

bool IniDocument::keyMatches(std::uint32_t slot, std::uint32_t section, std::string_view folded,
                             std::uint32_t hash, const CaseFolder& folder) const {
    if ((slot & kTagMask) != tagOf(hash)) {
        return false;
    }
    const std::uint32_t offset = indexIn(slot);
    return folder.upper(keyName(lineAt(text_, offset))) == folded && ownerOf(offset) == section;
}

std::uint32_t IniDocument::ownerOf(std::uint32_t keyOffset) const {
    // Keys are indexed only below a kept header, so the last one before the key owns it.
    const auto after = std::upper_bound(sections_.begin(), sections_.end(), keyOffset);
    return static_cast<std::uint32_t>(after - sections_.begin()) - 1;
}

std::optional<std::string_view> IniDocument::find(std::string_view section, std::string_view key,
                                                  const CaseFolder& folder) const {
    if (keySlots_.empty()) {
        return std::nullopt;
    }
    // Names in the file are trimmed, and so are the names asked for, as Windows does.
    const std::string foldedSection = folder.upper(trimProfileBlanks(section));
    const std::uint32_t s = findSection(foldedSection, sectionHash(foldedSection), folder);
    if (s == kNone) {
        return std::nullopt;
    }
    const std::string foldedKey = folder.upper(trimProfileBlanks(key));
    const std::uint32_t hash = keyHash(s, foldedKey);
    const std::size_t mask = keySlots_.size() - 1;
    for (std::size_t i = hash & mask; keySlots_[i] != 0; i = (i + 1) & mask) {
        if (keyMatches(keySlots_[i], s, foldedKey, hash, folder)) {
            return keyValue(lineAt(text_, indexIn(keySlots_[i])));
        }
    }
    return std::nullopt;
}

bool IniDocument::hasSection(std::string_view section, const CaseFolder& folder) const {
    const std::string folded = folder.upper(trimProfileBlanks(section));
    return findSection(folded, sectionHash(folded), folder) != kNone;
}

}  // namespace rizorivu
