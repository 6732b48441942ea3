#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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
    // The same, releasing the bytes as soon as they are decoded, so that a large file is
    // never held in both forms while its lookup tables are built.
    static IniDocument parseOwned(std::string bytes, const CodePage& ansi,
                                  const CaseFolder& folder);

    // The value of `key` in `section`, viewed in the document; nothing when either is absent.
    std::optional<std::string_view> find(std::string_view section, std::string_view key,
                                         const CaseFolder& folder) const;
    bool hasSection(std::string_view section, const CaseFolder& folder) const;

private:
    // The document keeps the decoded text and finds names and values in it again at lookup.
    // The only other memory is one 32-bit slot per section and key in open-addressing tables
    // (index or offset + 1, shifted above a few bits of the name's hash; 0 = free), sized
    // once from a count of the candidate lines: a file of many tiny lines then costs a small
    // multiple of its size.
    class Builder;

    std::uint32_t findSection(std::string_view folded, std::uint32_t hash,
                              const CaseFolder& folder) const;
    bool keyMatches(std::uint32_t slot, std::uint32_t section, std::string_view folded,
                    std::uint32_t hash, const CaseFolder& folder) const;
    std::uint32_t ownerOf(std::uint32_t keyOffset) const;

    std::string text_;
    std::vector<std::uint32_t> sections_;  // offset in text_ of each kept header, ascending
    std::vector<std::uint32_t> sectionSlots_;
    std::vector<std::uint32_t> keySlots_;
};

}  // namespace rizorivu
