#include "platform/IniDocument.h"

#include <functional>

#include "platform/IniLineReader.h"

namespace rizorivu {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

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

template <typename HashOf>
void growTable(std::vector<std::uint32_t>& slots, std::size_t count, HashOf hashOf) {
    // Load stays at most three quarters, so probe runs stay short.
    if ((count + 1) * 4 <= slots.size() * 3) {
        return;
    }
    std::vector<std::uint32_t> grown(slots.empty() ? 16 : slots.size() * 2, 0);
    const std::size_t mask = grown.size() - 1;
    for (const std::uint32_t slot : slots) {
        if (slot != 0) {
            std::size_t i = hashOf(slot - 1) & mask;
            while (grown[i] != 0) {
                i = (i + 1) & mask;
            }
            grown[i] = slot;
        }
    }
    slots = std::move(grown);
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

void insertSlot(std::vector<std::uint32_t>& slots, std::uint32_t hash, std::uint32_t index) {
    const std::size_t mask = slots.size() - 1;
    std::size_t i = hash & mask;
    while (slots[i] != 0) {
        i = (i + 1) & mask;
    }
    slots[i] = index + 1;
}

}  // namespace

// Feeds lines into a document, keeping the section that keys currently go to.
class IniDocument::Builder {
public:
    Builder(IniDocument& doc, const CaseFolder& folder) : doc_(doc), folder_(folder) {
        doc_.values_.emplace_back();
    }

    void line(std::string_view text) {
        const std::string_view line = trimProfileBlanks(text);
        if (line.empty() || line.front() == ';') {
            return;
        }
        if (line.front() == '[') {
            // The name reaches to the last "]" of the line; without one, to the line's end.
            const std::string_view rest = line.substr(1);
            openSection(trimProfileBlanks(rest.substr(0, rest.rfind(']'))));
            return;
        }
        const std::size_t equals = line.find('=');
        if (current_ == kNone || equals == std::string_view::npos) {
            return;
        }
        std::string_view value = trimProfileBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        addKey(trimProfileBlanks(line.substr(0, equals)), value);
    }

    void finish() {
        doc_.names_.shrink_to_fit();
        doc_.sections_.shrink_to_fit();
        doc_.keys_.shrink_to_fit();
        doc_.values_.shrink_to_fit();
    }

private:
    void openSection(std::string_view name) {
        const std::string folded = folder_.upper(name);
        const std::uint32_t hash = sectionHash(folded);
        if (doc_.findSection(folded, hash) != kNone) {
            // The reader stops at the first section of a name, so a repeat is unreachable.
            current_ = kNone;
            return;
        }
        current_ = static_cast<std::uint32_t>(doc_.sections_.size());
        doc_.sections_.push_back(
            Section{appendName(folded), hash, static_cast<std::uint32_t>(doc_.keys_.size()), 0});
        growTable(doc_.sectionSlots_, doc_.sections_.size(),
                  [this](std::uint32_t i) { return doc_.sections_[i].hash; });
        insertSlot(doc_.sectionSlots_, hash, current_);
    }

    void addKey(std::string_view name, std::string_view value) {
        const std::string folded = folder_.upper(name);
        const std::uint32_t hash = keyHash(current_, folded);
        if (doc_.findKey(current_, folded, hash) != kNone) {
            return;
        }
        std::uint32_t valueIndex = 0;
        if (!value.empty()) {
            valueIndex = static_cast<std::uint32_t>(doc_.values_.size());
            doc_.values_.emplace_back(value);
        }
        const auto index = static_cast<std::uint32_t>(doc_.keys_.size());
        doc_.keys_.push_back(Key{appendName(folded), hash, valueIndex});
        ++doc_.sections_[current_].keyCount;
        growTable(doc_.keySlots_, doc_.keys_.size(),
                  [this](std::uint32_t i) { return doc_.keys_[i].hash; });
        insertSlot(doc_.keySlots_, hash, index);
    }

    Span appendName(std::string_view folded) {
        const Span span{static_cast<std::uint32_t>(doc_.names_.size()),
                        static_cast<std::uint32_t>(folded.size())};
        doc_.names_ += folded;
        return span;
    }

    IniDocument& doc_;
    const CaseFolder& folder_;
    std::uint32_t current_ = kNone;  // kNone before the first section and in a repeated one
};

IniDocument IniDocument::parse(std::string_view bytes, const CodePage& ansi,
                               const CaseFolder& folder) {
    IniDocument doc;
    IniLineReader lines(bytes, ansi);
    Builder builder(doc, folder);
    while (const auto line = lines.next()) {
        builder.line(*line);
    }
    builder.finish();
    return doc;
}

std::uint32_t IniDocument::findSection(std::string_view folded, std::uint32_t hash) const {
    if (sectionSlots_.empty()) {
        return kNone;
    }
    const std::size_t mask = sectionSlots_.size() - 1;
    for (std::size_t i = hash & mask; sectionSlots_[i] != 0; i = (i + 1) & mask) {
        const std::uint32_t index = sectionSlots_[i] - 1;
        const Section& section = sections_[index];
        if (section.hash == hash &&
            std::string_view(names_).substr(section.name.offset, section.name.size) == folded) {
            return index;
        }
    }
    return kNone;
}

std::uint32_t IniDocument::findKey(std::uint32_t section, std::string_view folded,
                                   std::uint32_t hash) const {
    if (keySlots_.empty()) {
        return kNone;
    }
    const Section& owner = sections_[section];
    const std::size_t mask = keySlots_.size() - 1;
    for (std::size_t i = hash & mask; keySlots_[i] != 0; i = (i + 1) & mask) {
        const std::uint32_t index = keySlots_[i] - 1;
        const Key& key = keys_[index];
        if (key.hash == hash && index >= owner.firstKey &&
            index - owner.firstKey < owner.keyCount &&
            std::string_view(names_).substr(key.name.offset, key.name.size) == folded) {
            return index;
        }
    }
    return kNone;
}

const std::string* IniDocument::find(std::string_view section, std::string_view key,
                                     const CaseFolder& folder) const {
    if (sections_.empty()) {
        return nullptr;
    }
    // Names in the file are trimmed, and so are the names asked for, as Windows does.
    const std::string foldedSection = folder.upper(trimProfileBlanks(section));
    const std::uint32_t s = findSection(foldedSection, sectionHash(foldedSection));
    if (s == kNone) {
        return nullptr;
    }
    const std::string foldedKey = folder.upper(trimProfileBlanks(key));
    const std::uint32_t k = findKey(s, foldedKey, keyHash(s, foldedKey));
    return k == kNone ? nullptr : &values_[keys_[k].value];
}

bool IniDocument::hasSection(std::string_view section, const CaseFolder& folder) const {
    const std::string folded = folder.upper(trimProfileBlanks(section));
    return findSection(folded, sectionHash(folded)) != kNone;
}

}  // namespace rizorivu
