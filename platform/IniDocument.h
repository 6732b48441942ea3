#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/CodePage.h"
#include "platform/IniLineReader.h"
#include "platform/Unicode.h"

namespace rizorivu {

// A parsed private-profile (INI) file, with the lookup rules of the Windows profile reader:
// - encodings: UTF-16LE with BOM, UTF-8 with BOM, otherwise the ANSI code page;
// - "[section]" lines open a section, named up to the line's last "]"; "key=value" lines
//   inside a section define keys; lines starting with ";" are comments; other lines are
//   ignored;
// - section and key names compare without regard to case; blanks (white space and Ctrl-Z)
//   around names and values are trimmed and one pair of matching surrounding quotes is
//   removed from a value;
// - the first section of a name and the first key of a name within it win.
// Never fails: any byte sequence gives some document, with memory bounded by the input size.
class IniDocument {
public:
    // Input beyond this many bytes is ignored.
    static constexpr std::size_t kMaxBytes = IniLineReader::kMaxBytes;

    IniDocument() = default;
    static IniDocument parse(std::string_view bytes, const CodePage& ansi,
                             const CaseFolder& folder);

    // The value of `key` in `section`, or nullptr when either is absent.
    const std::string* find(std::string_view section, std::string_view key,
                            const CaseFolder& folder) const;
    bool hasSection(std::string_view section, const CaseFolder& folder) const;

private:
    // A compact layout: a node-based map would cost around a hundred bytes per key, which a
    // file of many tiny lines would turn into tens of times its own size.
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
    };
    struct Section {
        Span name;  // folded, in names_
        std::uint32_t hash = 0;
        std::uint32_t firstKey = 0;  // its keys are keys_[firstKey, firstKey + keyCount)
        std::uint32_t keyCount = 0;
    };
    struct Key {
        Span name;                // folded, in names_
        std::uint32_t hash = 0;   // of the name together with the section index
        std::uint32_t value = 0;  // index into values_
    };
    class Builder;

    std::uint32_t findSection(std::string_view folded, std::uint32_t hash) const;
    std::uint32_t findKey(std::uint32_t section, std::string_view folded, std::uint32_t hash) const;

    std::string names_;
    std::vector<Section> sections_;
    std::vector<Key> keys_;
    std::vector<std::string> values_;  // values_[0] is the empty value, shared
    // Open-addressing hash tables of index + 1 (0 = free), sized to powers of two.
    std::vector<std::uint32_t> sectionSlots_;
    std::vector<std::uint32_t> keySlots_;
};

}  // namespace rizorivu
