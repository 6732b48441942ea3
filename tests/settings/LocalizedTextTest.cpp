#include "settings/LocalizedText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "platform/Unicode.h"
#include "tests/support/TempDir.h"

namespace rizorivu {
namespace {

class LocalizedTextTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    LocalizedText text{profile};

    std::filesystem::path write(std::string_view content) { return dir.write("lang.ini", content); }
};

constexpr std::string_view kTwoLanguages =
    "[LANGUAGES]\n"
    "Language_1_Section=English\n"
    "Language_2_Section=Deutsch\n"
    "[English]\n"
    "Language_1_Description=English\n"
    "Language_2_Description=German\n"
    "MP_Dialog_Title=Nimbo K-540 Utility\n"
    "[Deutsch]\n"
    "Language_2_Description=Deutsch\n"
    "MP_Dialog_Title=Nimbo K-540 Dienstprogramm\n";

TEST_F(LocalizedTextTest, LoadSelectsTheFirstLanguage) {
    ASSERT_TRUE(text.load(write(kTwoLanguages), "LANGUAGES"));
    EXPECT_EQ(text.count(), 2);
    EXPECT_EQ(text.current(), 1);
    EXPECT_EQ(text.currentSection(), "English");
    EXPECT_EQ(text.descriptions(), (std::vector<std::string>{"English", "German"}));
    EXPECT_EQ(text.text("mp_dialog_title", "default"), "Nimbo K-540 Utility");
    EXPECT_EQ(text.text("Absent_Key", "default"), "default");
}

TEST_F(LocalizedTextTest, SelectingChangesTextsAndDescriptions) {
    ASSERT_TRUE(text.load(write(kTwoLanguages), "LANGUAGES"));
    ASSERT_TRUE(text.select(2));
    EXPECT_EQ(text.current(), 2);
    EXPECT_EQ(text.text("MP_Dialog_Title", "x"), "Nimbo K-540 Dienstprogramm");
    // The German section lacks the description of language 1: its section name stands in.
    EXPECT_EQ(text.descriptions(), (std::vector<std::string>{"English", "Deutsch"}));
}

TEST_F(LocalizedTextTest, OutOfRangeSelectionChangesNothing) {
    ASSERT_TRUE(text.load(write(kTwoLanguages), "LANGUAGES"));
    ASSERT_TRUE(text.select(2));
    for (int index : {0, 3, -1}) {
        EXPECT_FALSE(text.select(index));
    }
    EXPECT_EQ(text.current(), 2);
}

TEST_F(LocalizedTextTest, LanguageListEndsAtTheFirstGap) {
    ASSERT_TRUE(
        text.load(write("[LANGUAGES]\nLanguage_1_Section=A\nLanguage_3_Section=C\n"), "LANGUAGES"));
    EXPECT_EQ(text.count(), 1);
    EXPECT_FALSE(text.select(2));
}

TEST_F(LocalizedTextTest, WithoutLanguagesEveryTextIsItsDefault) {
    for (const auto& file :
         {write("[LANGUAGES]\n[English]\nMP_Dialog_Title=x\n"), dir / "absent.ini"}) {
        EXPECT_FALSE(text.load(file, "LANGUAGES"));
        EXPECT_EQ(text.count(), 0);
        EXPECT_EQ(text.current(), -1);
        EXPECT_FALSE(text.select(1));
        EXPECT_EQ(text.current(), -1);
        EXPECT_EQ(text.text("MP_Dialog_Title", "Nimbo K-540 Utility"), "Nimbo K-540 Utility");
    }
}

TEST_F(LocalizedTextTest, LongTextsAreCutTo4095Characters) {
    const std::string longText(5000, 'x');
    ASSERT_TRUE(text.load(write("[LANGUAGES]\nLanguage_1_Section=E\n[E]\nLong=" + longText +
                                "\nLanguage_1_Description=" + std::string(2000, 'd') + "\n"),
                          "LANGUAGES"));
    EXPECT_EQ(text.text("Long", ""), std::string(4095, 'x'));
    EXPECT_EQ(text.descriptions().at(0), std::string(1023, 'd'));
}

TEST_F(LocalizedTextTest, AnEditedFileIsSeenAtTheNextLookup) {
    const auto file = write(kTwoLanguages);
    ASSERT_TRUE(text.load(file, "LANGUAGES"));
    EXPECT_EQ(text.text("MP_Dialog_Title", ""), "Nimbo K-540 Utility");
    std::string edited(kTwoLanguages);
    edited.replace(edited.find("Nimbo K-540 Utility"), 19, "Edited Title Here!!");
    dir.write("lang.ini", edited);
    EXPECT_EQ(text.text("MP_Dialog_Title", ""), "Edited Title Here!!");
}

// The generated product files hold every text of every language source, identically in
// the UTF-16 and the single-byte file.
std::map<std::string, std::string> sourceTexts(const std::string& language) {
    std::ifstream in(std::string(RIZORIVU_SOURCE_DIR) + "/lang/" + language + ".ini");
    std::map<std::string, std::string> texts;
    std::string line;
    while (std::getline(in, line)) {
        const std::string_view trimmed = trimBlanks(line);
        const auto eq = trimmed.find('=');
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[' ||
            eq == std::string_view::npos) {
            continue;
        }
        std::string value(trimBlanks(trimmed.substr(eq + 1)));
        if (value.size() >= 2 && value.front() == value.back() &&
            (value.front() == '"' || value.front() == '\'')) {
            value = value.substr(1, value.size() - 2);
        }
        texts.emplace(std::string(trimBlanks(trimmed.substr(0, eq))), value);
    }
    return texts;
}

TEST(ProductLanguageFiles, HoldEveryTextOfEveryLanguage) {
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    const std::filesystem::path product(RIZORIVU_PRODUCT_DIR);
    const std::vector<std::string> languages{"English", "Deutsch", "Francais"};
    const std::map<std::string, std::string> english = sourceTexts("English");
    ASSERT_GT(english.size(), 200u);
    for (const char* fileName : {"QVMLu.INI", "QVMLa.INI"}) {
        LocalizedText text(profile);
        ASSERT_TRUE(text.load(product / fileName, "LANGUAGES")) << fileName;
        ASSERT_EQ(text.count(), 3) << fileName;
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(text.select(i + 1));
            const auto expected = sourceTexts(languages[static_cast<std::size_t>(i)]);
            EXPECT_EQ(expected.size(), english.size()) << languages[static_cast<std::size_t>(i)];
            for (const auto& [key, value] : expected) {
                EXPECT_EQ(text.text(key, "<missing>"), value) << fileName << " " << key;
            }
        }
    }
}

TEST(ProductLanguageFiles, EnglishCarriesTheProductTexts) {
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    LocalizedText text(profile);
    ASSERT_TRUE(text.load(std::filesystem::path(RIZORIVU_PRODUCT_DIR) / "QVMLu.INI", "LANGUAGES"));
    EXPECT_EQ(text.text("MP_Dialog_Title", ""), "Nimbo K-540 Utility");
    EXPECT_EQ(text.text("MP_Small_Icon_Item_1", ""), "Open Utility Window");
    EXPECT_EQ(text.text("MP_Small_Icon_Item_2", ""), "Exit RIZorivu");
    EXPECT_EQ(text.descriptions(), (std::vector<std::string>{"English", "German", "French"}));
    ASSERT_TRUE(text.select(3));
    EXPECT_EQ(text.descriptions().at(2), "Français");
}

}  // namespace
}  // namespace rizorivu
