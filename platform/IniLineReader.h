#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace rizorivu {

// Turns the bytes of an INI file into the lines the profile reader sees:
// - the encoding is chosen by the byte-order mark: UTF-16LE, UTF-8, otherwise the ANSI code
//   page; malformed UTF-8 and an odd last byte of UTF-16 become U+FFFD or vanish as they do
//   in the round trip through UTF-16;
// - lines end at CR, LF or CR LF, and nothing after a NUL counts (lines are C strings);
// - input beyond kMaxBytes is ignored.
// Everything that reads INI text goes through here, so that line numbers in messages count
// the same lines that lookups read.
class IniLineReader {
public:
    static constexpr std::size_t kMaxBytes = 16u << 20;

    IniLineReader(std::string_view bytes, const CodePage& ansi);
    // The lines of text that `decode` gave, read in place: the text must outlive the reader.
    static IniLineReader overDecoded(std::string_view utf8);

    // A reader may view its own text, so it stays where it was made.
    IniLineReader(const IniLineReader&) = delete;
    IniLineReader& operator=(const IniLineReader&) = delete;

    // The file's text as UTF-8, holding no spare capacity.
    static std::string decode(std::string_view bytes, const CodePage& ansi);

    // The next line as UTF-8, without its line end; nothing after the last line.
    std::optional<std::string_view> next();
    // The number of the line `next` gave last, counting from 1.
    int lineNumber() const { return lineNumber_; }

private:
    explicit IniLineReader(std::string_view utf8) : text_(utf8) {}
    static std::string decodeText(std::string_view bytes, const CodePage& ansi);

    std::string owned_;
    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
};

}  // namespace rizorivu
