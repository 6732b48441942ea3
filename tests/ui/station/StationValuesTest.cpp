// The plain rules beside the station dialogs: rate items, key texts, region codes, labels.
#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "settings/HexText.h"
#include "tests/support/CommaDecimalLocale.h"
#include "ui/station/AdvancedSettingsValues.h"
#include "ui/station/GeneralSettingsLists.h"
#include "ui/station/WepKeyText.h"

namespace rizorivu {
namespace {

TEST(StationValues, RateItems) {
    const std::pair<std::uint8_t, const char*> cases[] = {{0x02, "1 Mbps"},   {0x82, "1 Mbps"},
                                                          {0x0B, "5.5 Mbps"}, {0x16, "11 Mbps"},
                                                          {0x6C, "54 Mbps"},  {0x7F, "63.5 Mbps"}};
    for (const auto& [rate, text] : cases) {
        EXPECT_EQ(ui::rateItemText(rate, "Mbps"), text);
    }
    const testing::CommaDecimalLocale locale;
    ASSERT_TRUE(locale.active()) << "no German or French locale: run tools/install-deps.sh";
    for (const auto& [rate, text] : cases) {
        EXPECT_EQ(ui::rateItemText(rate, "Mbps"), text) << "under " << locale.name();
    }
}

TEST(StationValues, AsciiKeysInADoubleByteCodePageKeepTheirSize) {
    const CodePage cp932("CP932");
    // Five characters of two bytes each: the key takes the first five bytes.
    const auto key =
        ui::wepKeyBytesOfText("\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86", 0, ui::kAsciiFormat, cp932);
    EXPECT_EQ(BytesToHexText(std::span(key).first(6)), "82 A0 82 A2 82 00");
    const auto empty = ui::wepKeyBytesOfText("   ", 2, ui::kAsciiFormat, cp932);
    EXPECT_EQ(BytesToHexText(std::span(empty).subspan(27, 3)), "20 20 00");
}

TEST(StationValues, RegionCodesAndThresholdLabels) {
    const std::pair<const char*, int> codes[] = {
        {"30", 0x30}, {"", 0}, {"3g", -1}, {"aF", 0xAF}, {" 30", -1}, {"123456789ABCDEF", -1}};
    for (const auto& [text, code] : codes) {
        EXPECT_EQ(ui::regionCodeOfText(text), code) << text;
    }
    EXPECT_EQ(ui::thresholdLabel(2347, 2347, "Aus"), "< 2347 (Aus) >");
    EXPECT_EQ(ui::thresholdLabel(2346, 2347, "Aus"), "< 2346 >");
    EXPECT_EQ(ui::thresholdPosition(255, 256, 2346), 2346);
    EXPECT_EQ(ui::thresholdPosition(256, 256, 2346), 256);
}

}  // namespace
}  // namespace rizorivu
