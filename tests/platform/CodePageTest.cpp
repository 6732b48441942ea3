#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Environment.h"

namespace rizorivu {
namespace {

using namespace std::string_literals;

struct ConversionCase {
    const char* label;
    std::string utf8;
    std::string ansi;
};

// Text that Windows-1252 holds converts both ways unchanged.
TEST(CodePageTest, Windows1252RoundTrip) {
    const CodePage cp;
    const std::vector<ConversionCase> cases = {
        {"ascii", "Network 42", "Network 42"},
        {"accents", "Café naïve Ærø ÿ", "Caf\xE9 na\xEFve \xC6r\xF8 \xFF"},
        {"euro and quotes", "€ „x“ – …", "\x80 \x84x\x93 \x96 \x85"},
        {"nul kept", "a\0b"s, "a\0b"s},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp.toAnsi(c.utf8), c.ansi) << c.label;
        EXPECT_EQ(cp.fromAnsi(c.ansi), c.utf8) << c.label;
    }
}

TEST(CodePageTest, UnmappableCharactersBecomeOneQuestionMarkEach) {
    const CodePage cp;
    const std::vector<ConversionCase> cases = {
        {"cjk", "日本", "??"},
        {"between ascii", "a日b", "a?b"},
        {"astral", "x😀y", "x?y"},
        {"mixed", "é€日", "\xE9\x80?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp.toAnsi(c.utf8), c.ansi) << c.label;
    }
}

TEST(CodePageTest, MalformedUtf8BytesBecomeQuestionMarks) {
    const CodePage cp;
    const std::vector<ConversionCase> cases = {
        {"stray continuation", "a\x80z", "a?z"},
        {"invalid byte", "a\xFFz", "a?z"},
        {"truncated at end", "ab\xE6\x97", "ab??"},
        {"truncated before ascii", "\xC3z", "?z"},
        {"surrogate", "\xED\xA0\x80", "???"},
        {"valid after invalid", "\xFF\xC3\xA9", "?\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp.toAnsi(c.utf8), c.ansi) << c.label;
    }
}

TEST(CodePageTest, UndefinedBytesDecodeAsQuestionMarks) {
    const CodePage cp;
    const std::vector<ConversionCase> cases = {
        {"0x81", "?", "\x81"},
        {"between letters", "a?b",
         "a\x8D"
         "b"},
        {"several", "??\xC3\xA9", "\x90\x9D\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp.fromAnsi(c.ansi), c.utf8) << c.label;
    }
}

// Output far larger than the input must not be cut off when the converter runs out of room.
TEST(CodePageTest, LongTextsConvertCompletely) {
    const CodePage cp;
    const std::string ansi(100000, '\x80');
    std::string utf8;
    for (int i = 0; i < 100000; ++i) {
        utf8 += "€";
    }
    EXPECT_EQ(cp.fromAnsi(ansi), utf8);
    EXPECT_EQ(cp.toAnsi(utf8), ansi);
    std::string unmappable;
    for (int i = 0; i < 50000; ++i) {
        unmappable += "日";
    }
    EXPECT_EQ(cp.toAnsi(unmappable), std::string(50000, '?'));
}

TEST(CodePageTest, ShiftJisFromEnvironmentNumber) {
    const FixedEnvironment env({{CodePage::kEnvironmentVariable, "932"}});
    std::ostringstream diagnostics;
    const CodePage cp = CodePage::fromEnvironment(env, &diagnostics);
    EXPECT_EQ(cp.name(), "CP932");
    EXPECT_EQ(diagnostics.str(), "");

    EXPECT_EQ(cp.toAnsi("日本 abc"), "\x93\xFA\x96\x7B abc");
    EXPECT_EQ(cp.fromAnsi("\x93\xFA\x96\x7B abc"), "日本 abc");
    EXPECT_EQ(cp.toAnsi("é"), "?");
}

// A lead byte without a valid trail byte is undecodable; decoding resumes at the next byte.
TEST(CodePageTest, ShiftJisInvalidDoubleByteSequences) {
    const CodePage cp("CP932");
    const std::vector<ConversionCase> cases = {
        {"lead byte at end", "a?", "a\x93"},
        {"lead byte before blank", "? x", "\x81 x"},
        {"trail byte kept when it is a character", "?\n日", "\x81\n\x93\xFA"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp.fromAnsi(c.ansi), c.utf8) << c.label;
    }
}

TEST(CodePageTest, EnvironmentSelectsCodePage) {
    struct Case {
        const char* label;
        std::optional<std::string> value;
        std::string name;
        std::string utf8;
        std::string ansi;
    };
    const std::vector<Case> cases = {
        {"unset", std::nullopt, "WINDOWS-1252", "é", "\xE9"},
        {"empty", "", "WINDOWS-1252", "é", "\xE9"},
        {"number", "1251", "CP1251", "Ж", "\xC6"},
        {"iconv name", "WINDOWS-1250", "WINDOWS-1250", "ő", "\xF5"},
        {"padded number", " 1253 ", "CP1253", "Ω", "\xD9"},
        {"utf-8 code page", "65001", "UTF-8", "日", "日"},
    };
    for (const auto& c : cases) {
        FixedEnvironment env;
        if (c.value) {
            env.set(CodePage::kEnvironmentVariable, *c.value);
        }
        std::ostringstream diagnostics;
        const CodePage cp = CodePage::fromEnvironment(env, &diagnostics);
        EXPECT_EQ(cp.name(), c.name) << c.label;
        EXPECT_EQ(cp.toAnsi(c.utf8), c.ansi) << c.label;
        EXPECT_EQ(diagnostics.str(), "") << c.label;
    }
}

TEST(CodePageTest, UnknownNameFallsBackTo1252AndSaysSoOnce) {
    for (const char* bad : {"NO-SUCH-CODEPAGE", "99999", "UTF-8//IGNORE"}) {
        const FixedEnvironment env({{CodePage::kEnvironmentVariable, bad}});
        std::ostringstream diagnostics;
        const CodePage cp = CodePage::fromEnvironment(env, &diagnostics);
        EXPECT_EQ(cp.name(), "WINDOWS-1252") << bad;
        EXPECT_EQ(cp.toAnsi("é€日"), "\xE9\x80?") << bad;
        const std::string said = diagnostics.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << bad << ": " << said;
        EXPECT_NE(said.find(bad), std::string::npos) << said;
    }
    // Without a stream the fallback is silent but the same.
    const CodePage quiet("NO-SUCH-CODEPAGE");
    EXPECT_EQ(quiet.fromAnsi("\xE9"), "é");
}

// A moved-from code page gives up its converters: the new one works, and destroying both
// must not close a converter twice.
TEST(CodePageTest, MoveTransfersConverters) {
    CodePage original("CP932");
    const CodePage moved(std::move(original));
    EXPECT_EQ(moved.name(), "CP932");
    EXPECT_EQ(moved.fromAnsi("\x93\xFA"), "日");
}

// Conversions from several threads share the converters; each result must still be whole.
TEST(CodePageConcurrency, ParallelConversionsStayIndependent) {
    const CodePage cp("CP932");
    std::vector<std::string> texts;
    for (const char* piece :
         {"日本語テキスト", "abc 日本 xyz", "é is unmappable", "ｶﾀｶﾅ and 漢字"}) {
        // Long enough that conversions in different threads overlap.
        std::string text;
        for (int i = 0; i < 200; ++i) {
            text += piece;
        }
        texts.push_back(text);
    }
    std::vector<std::string> expected;
    std::vector<std::string> expectedBack;
    for (const auto& t : texts) {
        expected.push_back(cp.toAnsi(t));
        expectedBack.push_back(cp.fromAnsi(expected.back()));
    }
    std::vector<int> failures(texts.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < texts.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 300; ++i) {
                const std::string ansi = cp.toAnsi(texts[t]);
                if (ansi != expected[t] || cp.fromAnsi(ansi) != expectedBack[t]) {
                    ++failures[t];
                }
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    for (std::size_t t = 0; t < texts.size(); ++t) {
        EXPECT_EQ(failures[t], 0) << texts[t];
    }
}

}  // namespace
}  // namespace rizorivu
