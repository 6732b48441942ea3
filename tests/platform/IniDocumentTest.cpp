#include "platform/IniDocument.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <optional>
#include <string>
#include <vector>

namespace rizorivu {
namespace {

using namespace std::string_literals;

std::string utf8WithBom(std::string_view text) {
    return "\xEF\xBB\xBF" + std::string(text);
}

std::string utf16leWithBom(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

struct LookupCase {
    const char* label;
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> expected;  // nullopt: the lookup finds nothing
};

class IniDocumentTest : public ::testing::Test {
protected:
    IniDocument parse(std::string_view bytes) const {
        return IniDocument::parse(bytes, ansi_, folder_);
    }

    std::optional<std::string> lookup(const IniDocument& doc, std::string_view section,
                                      std::string_view key) const {
        const std::optional<std::string_view> value = doc.find(section, key, folder_);
        return value ? std::optional<std::string>(*value) : std::nullopt;
    }

    void check(const std::vector<LookupCase>& cases) const {
        for (const auto& c : cases) {
            const IniDocument doc = parse(c.file);
            EXPECT_EQ(lookup(doc, c.section, c.key), c.expected)
                << c.label << " [" << c.section << "] " << c.key;
        }
    }

    CodePage ansi_;
    CaseFolder folder_;
};

TEST_F(IniDocumentTest, NamesMatchWithoutRegardToCaseAndBlanks) {
    check({
        {"same case", "[Sec]\nKey=v\n", "Sec", "Key", "v"},
        {"other case", "[Sec]\nKey=v\n", "sEC", "kEY", "v"},
        {"accented names", utf8WithBom("[Café]\nÉtat=ok\n"), "CAFÉ", "état", "ok"},
        {"greek names", utf8WithBom("[Σύνδεση]\nΌνομα=x\n"), "ΣΎΝΔΕΣΗ", "όνομα", "x"},
        {"blanks in file", "  [  Sec  ]  \n\t Key \t= v\n", "Sec", "Key", "v"},
        {"blanks inside names kept", "[My Sec]\nMy Key=v\n", "my sec", "MY KEY", "v"},
        {"blanks inside names matter", "[My Sec]\nMy Key=v\n", "MySec", "MyKey", std::nullopt},
        {"blanks in the lookup", "[Sec]\nKey=v\n", " Sec ", "\tKey ", "v"},
        {"other key", "[Sec]\nKey=v\n", "Sec", "Key2", std::nullopt},
        {"other section", "[Sec]\nKey=v\n", "Sec2", "Key", std::nullopt},
    });
}

TEST_F(IniDocumentTest, ValuesAreTrimmedAndLoseOnePairOfMatchingQuotes) {
    check({
        {"trimmed", "[s]\nk=  a b  \t\n", "s", "k", "a b"},
        {"empty", "[s]\nk=\n", "s", "k", ""},
        {"only blanks", "[s]\nk=   \n", "s", "k", ""},
        {"double quotes", "[s]\nk=\"a b\"\n", "s", "k", "a b"},
        {"single quotes", "[s]\nk='a b'\n", "s", "k", "a b"},
        {"blanks inside quotes kept", "[s]\nk= \" a \" \n", "s", "k", " a "},
        {"one pair only", "[s]\nk=\"\"a\"\"\n", "s", "k", "\"a\""},
        {"nested other quotes", "[s]\nk=\"'a'\"\n", "s", "k", "'a'"},
        {"mismatched quotes", "[s]\nk=\"a'\n", "s", "k", "\"a'"},
        {"opening quote only", "[s]\nk='x\n", "s", "k", "'x"},
        {"closing quote only", "[s]\nk=x\"\n", "s", "k", "x\""},
        {"lone quote", "[s]\nk=\"\n", "s", "k", "\""},
        {"empty quotes", "[s]\nk=\"\"\n", "s", "k", ""},
        {"quotes inside", "[s]\nk=a \"b\" c\n", "s", "k", "a \"b\" c"},
        {"equals in value", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"semicolon in value", "[s]\nk=a ;b\n", "s", "k", "a ;b"},
    });
}

TEST_F(IniDocumentTest, LineStructure) {
    check({
        {"comment", "[s]\n;k=v\n", "s", "k", std::nullopt},
        {"indented comment", "[s]\n  ;k=v\n", "s", ";k", std::nullopt},
        {"comment-like key name not a comment", "[s]\nk;=v\n", "s", "k;", "v"},
        {"line without equals", "[s]\nk\n", "s", "k", std::nullopt},
        {"line without equals does not hide a later key", "[s]\nk\nk=v\n", "s", "k", "v"},
        {"key before any section", "k=v\n[s]\n", "s", "k", std::nullopt},
        {"key before any section, empty name", "k=v\n[s]\n", "", "k", std::nullopt},
        {"empty key name", "[s]\n=v\n", "s", "", "v"},
        {"empty section name", "[]\nk=v\n", "", "k", "v"},
        {"first section wins", "[s]\nk=1\n[S]\nk=2\nj=3\n", "s", "k", "1"},
        {"repeated section ignored", "[s]\nk=1\n[S]\nk=2\nj=3\n", "s", "j", std::nullopt},
        {"back to other section", "[a]\nk=1\n[b]\nk=2\n[a]\nk=3\n", "b", "k", "2"},
        {"first key wins", "[s]\nk=1\nK=2\n", "s", "k", "1"},
        {"keys do not leak across sections", "[a]\nk=1\n[b]\n", "b", "k", std::nullopt},
    });
}

// A header's name runs from "[" to the last "]" of the line, so text after the first "]"
// belongs to the name whenever another "]" follows.
TEST_F(IniDocumentTest, SectionNameReachesTheLastBracket) {
    check({
        {"one bracket", "[Sec]\nk=v\n", "Sec", "k", "v"},
        {"text after the only bracket ignored", "[Sec] trailing\nk=v\n", "Sec", "k", "v"},
        {"two brackets", "[a]b]\nk=v\n", "a]b", "k", "v"},
        {"two brackets, not the first part", "[a]b]\nk=v\n", "a", "k", std::nullopt},
        {"bracket pair after the name", "[a] ; note [x]\nk=v\n", "a] ; note [x", "k", "v"},
        {"doubled brackets", "[[a]]\nk=v\n", "[a]", "k", "v"},
        {"doubled closing bracket", "[a]]\nk=v\n", "a]", "k", "v"},
        {"blanks before the last bracket trimmed", "[a] ]\nk=v\n", "a]", "k", "v"},
        {"trailing blanks after the last bracket", "[a]b]  \t\nk=v\n", "a]b", "k", "v"},
        {"header without bracket", "[Sec\nk=v\n", "Sec", "k", "v"},
        {"header without bracket, trimmed", "[ Sec  \nk=v\n", "sec", "k", "v"},
    });
}

// The reader's blanks are white space and Ctrl-Z (0x1A), wherever it trims: around lines,
// names, values and the names asked for. Other control characters stay.
TEST_F(IniDocumentTest, CtrlZIsTrimmedAsABlank) {
    check({
        {"after a value", "[s]\nk=v\x1A\n", "s", "k", "v"},
        {"before a value", "[s]\nk=\x1A v\n", "s", "k", "v"},
        {"before a header", "\x1A[s]\nk=v\n", "s", "k", "v"},
        {"inside a header", "[\x1As\x1A]\nk=v\n", "s", "k", "v"},
        {"after a key name", "[s]\nk\x1A=v\n", "s", "k", "v"},
        {"before a quoted value", "[s]\nk=\x1A\"a \"\n", "s", "k", "a "},
        {"in the name asked for", "[s]\nk=v\n", "s\x1A", "\x1Ak", "v"},
        {"inside a value kept", "[s]\nk=a\x1A-b\n", "s", "k", "a\x1A-b"},
        {"vertical tab and form feed", "[s]\nk=\v\fv\f\v\n", "s", "k", "v"},
        {"other control characters kept", "[s]\nk=\x01v\x1B\n", "s", "k", "\x01v\x1B"},
    });
}

TEST_F(IniDocumentTest, LineEndings) {
    const std::string mixed = "[s]\r\na=1\rb=2\nc=3\r\n\r\nd=4\n\re=5";
    check({
        {"crlf", mixed, "s", "a", "1"},
        {"cr", mixed, "s", "b", "2"},
        {"lf", mixed, "s", "c", "3"},
        {"after blank line", mixed, "s", "d", "4"},
        {"last line without ending", mixed, "s", "e", "5"},
        {"cr only file", "[s]\rk=v\r", "s", "k", "v"},
    });
}

// A NUL ends what a line says; the next line is read as usual.
TEST_F(IniDocumentTest, NulEndsTheLine) {
    const std::string file = "[s]\nk=ab\0cd\nnext=1\n\0[t]\n[u\0]x\nj=2\n"s;
    check({
        {"value cut", file, "s", "k", "ab"},
        {"following line", file, "s", "next", "1"},
        {"header after nul absent", file, "t", "next", std::nullopt},
        {"header cut at nul", file, "u", "j", "2"},
        {"key cut at nul", "[s]\nk\0=v\n"s, "s", "k", std::nullopt},
    });
}

TEST_F(IniDocumentTest, EncodingsByByteOrderMark) {
    check({
        {"utf-16le", utf16leWithBom(u"[Réseau]\r\nNom=日本 ✓\r\n"), "réseau", "nom", "日本 ✓"},
        {"utf-16le astral", utf16leWithBom(u"[s]\r\nk=a😀b\r\n"), "s", "k", "a😀b"},
        {"utf-16le unpaired surrogate", utf16leWithBom(u"[s]\nk=a\xD800z\n"), "s", "k", "a\uFFFDz"},
        {"utf-16le odd length", utf16leWithBom(u"[s]\nk=xy") + "\x41", "s", "k", "xy"},
        {"utf-16le cut inside a character", utf16leWithBom(u"[s]\nk=1\nj=2").substr(0, 23), "s",
         "j", ""},
        {"utf-8", utf8WithBom("[s]\nk=é日\n"), "s", "k", "é日"},
        {"utf-8 malformed", utf8WithBom("[s]\nk=a\xFF\xC3z\n"), "s", "k", "a\uFFFD\uFFFDz"},
        {"ansi", "[s]\nk=caf\xE9 \x80\n", "s", "k", "café €"},
        {"ansi undefined byte", "[s]\nk=a\x81z\n", "s", "k", "a?z"},
        {"ansi names", "[R\xC9SEAU]\n\xE9tat=1\n", "réseau", "ÉTAT", "1"},
        // Without a mark, UTF-8 bytes are read as ANSI, as on Windows.
        {"utf-8 without mark", "[s]\nk=\xC3\xA9\n", "s", "k", "Ã©"},
    });
}

TEST_F(IniDocumentTest, AnsiFilesFollowTheCodePage) {
    const CodePage shiftJis("CP932");
    const IniDocument doc =
        IniDocument::parse("[\x93\xFA\x96\x7B]\nk=\x83\x65\x83\x58\x83\x67\n", shiftJis, folder_);
    EXPECT_EQ(doc.find("日本", "K", folder_), "テスト");
}

TEST_F(IniDocumentTest, HasSectionEvenWithoutKeys) {
    const IniDocument doc = parse("[Empty]\n[Full]\nk=v\n; [Comment]\n");
    EXPECT_TRUE(doc.hasSection("empty", folder_));
    EXPECT_TRUE(doc.hasSection("FULL", folder_));
    EXPECT_FALSE(doc.hasSection("Comment", folder_));
    EXPECT_FALSE(doc.hasSection("Other", folder_));
    EXPECT_EQ(lookup(doc, "Empty", "k"), std::nullopt);
    EXPECT_FALSE(IniDocument().hasSection("", folder_));
    EXPECT_EQ(IniDocument().find("s", "k", folder_), std::nullopt);
}

// Many sections and keys, so that the lookup tables grow several times.
TEST_F(IniDocumentTest, ManyNamesAllFound) {
    std::string file;
    for (int s = 0; s < 20; ++s) {
        file += "[Section" + std::to_string(s) + "]\n";
        for (int k = 0; k < 500; ++k) {
            file += "Key" + std::to_string(k) + "=" + std::to_string(s * 1000 + k) + "\n";
        }
    }
    const IniDocument doc = parse(file);
    for (int s = 0; s < 20; ++s) {
        for (int k = 0; k < 500; ++k) {
            ASSERT_EQ(lookup(doc, "SECTION" + std::to_string(s), "key" + std::to_string(k)),
                      std::to_string(s * 1000 + k))
                << s << "/" << k;
        }
    }
    EXPECT_EQ(lookup(doc, "Section20", "Key0"), std::nullopt);
    EXPECT_EQ(lookup(doc, "Section0", "Key500"), std::nullopt);
}

// Names that fold alike, in many sections: the first key of each name in its own section wins,
// however the lookup tables place them.
TEST_F(IniDocumentTest, ManyRepeatedNamesKeepTheFirst) {
    std::string file;
    for (int s = 0; s < 40; ++s) {
        file += "[S" + std::to_string(s) + "]\n";
        for (int k = 0; k < 300; ++k) {
            file +=
                "k" + std::to_string(k) + "=" + std::to_string(s) + "/" + std::to_string(k) + "\n";
        }
        for (int k = 0; k < 300; ++k) {
            file += " K" + std::to_string(k) + " = later\n";
        }
    }
    file += "[s0]\nk0=repeated section\nextra=1\n";
    const IniDocument doc = parse(file);
    for (int s = 0; s < 40; ++s) {
        for (int k = 0; k < 300; k += 7) {
            ASSERT_EQ(lookup(doc, "s" + std::to_string(s), "K" + std::to_string(k)),
                      std::to_string(s) + "/" + std::to_string(k));
        }
    }
    EXPECT_EQ(lookup(doc, "S0", "extra"), std::nullopt);
    EXPECT_EQ(lookup(doc, "S1", "k300"), std::nullopt);
}

TEST_F(IniDocumentTest, MultiMegabyteLine) {
    const std::string big(5u << 20, 'x');
    const IniDocument doc = parse("[s]\nbig=" + big + "\nafter=1\n" + big + "\nlast=2");
    EXPECT_EQ(lookup(doc, "s", "big"), big);
    EXPECT_EQ(lookup(doc, "s", "after"), "1");
    EXPECT_EQ(lookup(doc, "s", "last"), "2");
    const IniDocument header = parse("[" + big);
    EXPECT_TRUE(header.hasSection(big, folder_));
}

TEST_F(IniDocumentTest, InputBeyondTheLimitIsIgnored) {
    std::string file = "[s]\nfirst=1\npad=";
    file.resize(IniDocument::kMaxBytes - 3, 'p');
    file += "xyz\nlate=1\n";
    const IniDocument doc = parse(file);
    EXPECT_EQ(lookup(doc, "s", "first"), "1");
    const std::optional<std::string> pad = lookup(doc, "s", "pad");
    ASSERT_TRUE(pad.has_value());
    EXPECT_EQ(pad->substr(pad->size() - 4), "pxyz");  // cut exactly at the limit
    EXPECT_EQ(lookup(doc, "s", "late"), std::nullopt);
}

// glibc's allocator statistics; they stay at zero when a sanitizer replaces the allocator.
std::size_t allocatedBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;  // large blocks are mapped and counted apart
}

// The document of a file of many short lines stays within a small multiple of the file's size.
TEST_F(IniDocumentTest, MemoryStaysProportionalToInput) {
    {
        const std::size_t before = allocatedBytes();
        const std::string probe(1u << 20, 'x');
        if (allocatedBytes() - before < probe.size()) {
            GTEST_SKIP() << "allocator statistics unavailable";
        }
    }
    struct Case {
        const char* label;
        std::string file;
    };
    std::string keys = "[s]\n";
    std::string keysWithValues = "[s]\n";
    std::string sections;
    std::string tinyKeys = "[s]\n";
    std::string keysInSections;
    for (int i = 0; keys.size() < (4u << 20); ++i) {
        keys += std::to_string(i) + "=\n";
        keysWithValues += std::to_string(i) + "=" + std::to_string(i % 97) + "\n";
        sections += "[" + std::to_string(i) + "]\n";
        keysInSections += "[" + std::to_string(i / 8) + "]\n" + std::to_string(i % 8) + "=\n";
    }
    // Names of three letters: the most keys a file of this size can define.
    const std::string_view letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (const char a : letters) {
        for (const char b : letters) {
            for (const char c : letters) {
                tinyKeys += std::string{a, b, c} + "=\n";
            }
        }
    }
    std::string garbage;
    unsigned state = 12345;
    for (std::size_t i = 0; i < (4u << 20); ++i) {
        state = state * 1103515245u + 12345u;
        garbage += static_cast<char>(state >> 24);
    }
    const std::vector<Case> cases = {
        {"many empty keys", keys},       {"many short keys", keysWithValues},
        {"many sections", sections},     {"a section per few keys", keysInSections},
        {"three-letter keys", tinyKeys}, {"binary", garbage},
    };
    for (const auto& c : cases) {
        const std::size_t before = allocatedBytes();
        const IniDocument doc = parse(c.file);
        const std::size_t used = allocatedBytes() - before;
        EXPECT_LT(used, 4 * c.file.size()) << c.label << ": " << used << " bytes";
    }
}

}  // namespace
}  // namespace rizorivu
