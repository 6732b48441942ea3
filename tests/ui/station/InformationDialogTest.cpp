#include "ui/station/InformationDialog.h"

#include <gtest/gtest.h>

#include <regex>

#include "tests/ui/station/StationBed.h"
#include "ui/station/VersionText.h"

namespace rizorivu {
namespace {

using testing::StationBed;
using ui::DialogCode;
using ui::InformationDialog;

struct Information : StationBed {
    void open(const std::function<void(InformationDialog&)>& user, std::string date = "Jul  5 2004",
              std::string time = "09:08:07") {
        InformationDialog dialog(settings, environment, std::move(date), std::move(time));
        dialog.setParentCode(DialogCode::GeneralSettings);
        run<InformationDialog>(dialog, user);
    }
};

TEST(VersionText, DriverVersionsUnpack) {
    const auto packed = [](unsigned major, unsigned minor, unsigned year, unsigned month,
                           unsigned day) {
        return major << 24 | minor << 16 | year << 12 | month << 8 | day;
    };
    const std::pair<std::uint32_t, const char*> cases[] = {
        {packed(1, 2, 4, 7, 0x15), "1.2.0715.2004"},
        {packed(1, 2, 0, 7, 0x15), "1.2.0715.2000"},
        {packed(1, 2, 15, 7, 0x15), "1.2.0715.2015"},
        {packed(255, 0, 9, 12, 0x31), "255.0.1231.2009"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(ui::driverVersionText(value), text);
    }
    EXPECT_EQ(ui::macAddressText(std::array<std::uint8_t, 6>{0x02, 0, 0xAB, 0, 5, 0x40}),
              "02 00 AB 00 05 40");
}

TEST(InformationDialog, ShowsDriverUtilityAndMac) {
    Information s;
    s.open([](InformationDialog& d) {
        EXPECT_EQ(d.title().text(), "Information...  ");
        EXPECT_EQ(d.heading.text(), "S Y S T E M   I N F O R M A T I O N");
        EXPECT_EQ(d.driverValue.text(), "1.0.0715.2004");
        EXPECT_EQ(d.utilityValue.text(), "1.1.0708.2004 - Jul  5 2004 09:08:07");
        EXPECT_EQ(d.macValue.text(), "02 00 00 00 05 40");
        d.onOk();
        EXPECT_EQ(d.result(), ui::DialogResult::Ok);
    });
}

TEST(InformationDialog, WhatTheAdapterCannotTell) {
    for (const int language : {1, 2}) {
        Information s;
        ASSERT_TRUE(s.texts.select(language));
        s.library.forced["QueryWL_DriverVersion"] = -1;
        s.library.forced["GetNICAdapterMAC"] = -1;
        s.open([&](InformationDialog& d) {
            EXPECT_EQ(d.driverValue.text(), s.texts.text("IS_Item_Version_Unknown", "N/A"));
            EXPECT_EQ(d.macValue.text(), "");
        });
    }
}

TEST(InformationDialog, TheBuildStampIsTheCompilersOwn) {
    Information s;
    InformationDialog dialog(s.settings, s.environment);
    s.run<InformationDialog>(dialog, [](InformationDialog& d) {
        EXPECT_TRUE(std::regex_match(
            d.utilityValue.text(),
            std::regex(R"(1\.1\.0708\.2004 - [A-Z][a-z]{2} [ 123]\d \d{4} \d\d:\d\d:\d\d)")))
            << d.utilityValue.text();
    });
}

}  // namespace
}  // namespace rizorivu
