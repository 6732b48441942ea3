#include "ui/main/SurveyCells.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "adapter/SurveyBuffer.h"
#include "platform/CodePage.h"

namespace rizorivu::ui {
namespace {

// The buffers below are laid out by hand with literal offsets, independent of the layout
// constants the code under test uses.
using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& buffer, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        buffer.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Three bare 128-byte records of strengths -60, `middleRssi` and -90.
Bytes threeRecords(std::int32_t middleRssi) {
    Bytes buffer(4 + 3 * 128 + 64, 0);
    put32(buffer, 0, 3);
    const std::int32_t rssi[] = {-60, middleRssi, -90};
    for (std::size_t i = 0; i < 3; ++i) {
        put32(buffer, 4 + i * 128, 128);
        put32(buffer, 4 + i * 128 + 52, static_cast<std::uint32_t>(rssi[i]));
        put32(buffer, 4 + i * 128 + 112, 12);
    }
    return buffer;
}

struct StrengthCase {
    const char* name;
    std::int32_t rssi;
    bool showDbm;
    const char* text;
    std::int32_t storedAfter;
};

class SurveyCellsStrengthTest : public ::testing::TestWithParam<StrengthCase> {};

TEST_P(SurveyCellsStrengthTest, ShowsAndClampsAsTheListDoes) {
    Bytes buffer = threeRecords(GetParam().rssi);
    const Bytes before = buffer;
    const SurveyBuffer survey(buffer);

    EXPECT_EQ(strengthText(GetParam().rssi, GetParam().showDbm), GetParam().text);

    const StrengthCell cell = fillStrength(*survey.record(1), GetParam().showDbm);
    EXPECT_EQ(cell.text, GetParam().text);
    EXPECT_EQ(cell.rssi, GetParam().storedAfter);
    EXPECT_EQ(survey.record(1)->rssi(), GetParam().storedAfter);
    // Only the strength of that one record may change.
    Bytes expected = before;
    put32(expected, 4 + 128 + 52, static_cast<std::uint32_t>(GetParam().storedAfter));
    EXPECT_EQ(buffer, expected);
}

INSTANTIATE_TEST_SUITE_P(
    SurveyCells, SurveyCellsStrengthTest,
    ::testing::Values(StrengthCase{"StrongInPercent", -30, false, "100%", -40},
                      StrengthCase{"StrongInDbm", -30, true, "-30 dBm", -30},
                      StrengthCase{"Strongest", -40, false, "100%", -40},
                      StrengthCase{"Weakest", -105, false, "0%", -105},
                      StrengthCase{"BelowWeakest", -120, false, "0%", -105},
                      StrengthCase{"BelowWeakestInDbm", -120, true, "-120 dBm", -120},
                      StrengthCase{"Middle", -72, false, "50%", -72},      // 33 * 100 / 65 = 50
                      StrengthCase{"RoundsDown", -41, false, "98%", -41},  // 6400 / 65 = 98.46
                      StrengthCase{"Positive", 5, false, "100%", -40},
                      StrengthCase{"Extreme", INT32_MIN, false, "0%", -105},
                      StrengthCase{"ExtremeInDbm", INT32_MIN, true, "-2147483648 dBm", INT32_MIN}),
    [](const auto& info) { return std::string(info.param.name); });

struct SsidTextCase {
    const char* name;
    const char* codePage;
    Bytes bytes;
    std::string text;
};

class SurveyCellsSsidTextTest : public ::testing::TestWithParam<SsidTextCase> {};

TEST_P(SurveyCellsSsidTextTest, ReadsTheBytesInTheAnsiCodePage) {
    const CodePage ansi(GetParam().codePage);
    EXPECT_EQ(ssidText(GetParam().bytes, ansi), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    SurveyCells, SurveyCellsSsidTextTest,
    ::testing::Values(
        SsidTextCase{"Ascii", "WINDOWS-1252", {'h', 'o', 'm', 'e'}, "home"},
        SsidTextCase{"Empty", "WINDOWS-1252", {}, ""},
        SsidTextCase{"ZeroEnds", "WINDOWS-1252", {'a', 0, 'b'}, "a"},
        SsidTextCase{"Western", "WINDOWS-1252", {'c', 'a', 'f', 0xE9}, "caf\xC3\xA9"},
        // 0x80 is the euro sign in Windows-1252, not the Latin-1 control character.
        SsidTextCase{
            "HighBoundaries", "WINDOWS-1252", {0x7F, 0x80, 0xFF}, "\x7F\xE2\x82\xAC\xC3\xBF"},
        SsidTextCase{"Undefined", "WINDOWS-1252", {'a', 0x81}, "a?"},
        SsidTextCase{
            "ShiftJis", "CP932", {0x93, 0xFA, 0x96, 0x7B}, "\xE6\x97\xA5\xE6\x9C\xAC"},  // 日本
        SsidTextCase{"ShiftJisZeroEnds", "CP932", {0x93, 0xFA, 0, 0x96, 0x7B}, "\xE6\x97\xA5"},
        SsidTextCase{"HalfWidthKatakana", "CP932", {0xB1}, "\xEF\xBD\xB1"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rizorivu::ui
