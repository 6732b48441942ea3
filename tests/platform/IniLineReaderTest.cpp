#include "platform/IniLineReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rizorivu {
namespace {

using namespace std::string_literals;

std::vector<std::string> readLines(std::string_view bytes, const CodePage& ansi) {
    IniLineReader reader(bytes, ansi);
    std::vector<std::string> lines;
    while (const auto line = reader.next()) {
        EXPECT_EQ(reader.lineNumber(), static_cast<int>(lines.size()) + 1);
        lines.emplace_back(*line);
    }
    EXPECT_FALSE(reader.next().has_value()) << "the end stays the end";
    return lines;
}

TEST(IniLineReaderTest, SplitsAndDecodesAsTheProfileReaderDoes) {
    struct Case {
        const char* label;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"nothing", "", {}},
        {"one line without an end", "a=1", {"a=1"}},
        {"a final line end adds no line", "a\n", {"a"}},
        {"LF, CR and CR LF each end one line", "a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
        {"blank lines count", "\n\nx", {"", "", "x"}},
        {"nothing after a NUL counts", "ke\0y=1\nz"s, {"ke", "z"}},
        {"ANSI code page", "caf\xE9", {"caf\xC3\xA9"}},
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF"
         "caf\xC3\xA9\r\nx",
         {"caf\xC3\xA9", "x"}},
        {"malformed UTF-8 becomes U+FFFD",
         "\xEF\xBB\xBF"
         "a\xFF"
         "b",
         {"a\xEF\xBF\xBD"
          "b"}},
        {"BOM bytes without a BOM are ANSI", "a\xEF\xBB\xBF", {"a\xC3\xAF\xC2\xBB\xC2\xBF"}},
        {"UTF-16LE with BOM",
         "\xFF\xFE"
         "a\0\n\0\xE9\0"s,
         {"a", "\xC3\xA9"}},
        {"UTF-16 odd last byte is dropped",
         "\xFF\xFE"
         "a\0b"s,
         {"a"}},
        {"UTF-16 NUL unit ends the line",
         "\xFF\xFE"
         "a\0\0\0b\0"s,
         {"a"}},
    };
    const CodePage ansi(CodePage::kDefaultName);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(readLines(c.bytes, ansi), c.lines);
    }
}

TEST(IniLineReaderTest, IgnoresInputBeyondTheLimit) {
    std::string bytes(IniLineReader::kMaxBytes - 2, 'p');
    bytes += "\nq\nlost";
    const CodePage ansi(CodePage::kDefaultName);
    const std::vector<std::string> lines = readLines(bytes, ansi);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "q");
}

}  // namespace
}  // namespace rizorivu
