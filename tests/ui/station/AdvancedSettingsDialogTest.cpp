#include "ui/station/AdvancedSettingsDialog.h"

#include <gtest/gtest.h>

#include "tests/ui/station/StationBed.h"

namespace rizorivu {
namespace {

using testing::StationBed;
using ui::AdvancedSettingsDialog;
using ui::DialogCode;

struct AdvancedSettings : StationBed {
    using StationBed::StationBed;

    void open(const std::function<void(AdvancedSettingsDialog&)>& user) {
        AdvancedSettingsDialog dialog(settings, configuration, environment, languages);
        dialog.setParentCode(DialogCode::GeneralSettings);
        run<AdvancedSettingsDialog>(dialog, user);
    }
    long count(std::string_view call) const {
        return std::count(library.calls.begin(), library.calls.end(), call);
    }
};

TEST(AdvancedSettingsDialog, OpensOnWhatTheAdapterReportsAndWritesBothThresholdsBack) {
    AdvancedSettings s;
    s.open([](AdvancedSettingsDialog& d) {
        EXPECT_EQ(d.title().text(), "Advanced Setting...");
        EXPECT_EQ(d.languageList.items(),
                  (std::vector<std::string>{"English", "German", "French"}));
        EXPECT_EQ(d.languageList.selected(), 0);
        EXPECT_EQ(d.regionCount(), 19);
        // Region 0x10: the first country with that code.
        EXPECT_EQ(d.regionList.selectedItem(), "Taiwan");
        EXPECT_EQ(d.roamingIndex(), AdvancedSettingsDialog::kUserSelect);
        EXPECT_EQ(d.roamingRadios.selected(), AdvancedSettingsDialog::kUserSelect);
        EXPECT_TRUE(d.regionList.enabled());
        EXPECT_EQ(d.powerRadios.selected(), 0);
        EXPECT_EQ(d.fragmentationValue.text(), "< 2346 (Disable) >");
        EXPECT_EQ(d.rtsValue.text(), "< 2347 (Disable) >");
        EXPECT_EQ(d.fragmentationSlider.pageSize(), 128);
    });
    EXPECT_EQ(s.station("FragmentationThreshold"), "2346");
    EXPECT_EQ(s.station("RTSThreshold"), "2347");
}

TEST(AdvancedSettingsDialog, ThresholdsTheAdapterCannotGiveOrGivesWrongOpenAtDisable) {
    struct Case {
        int reported;
        int position;
        bool enabled;
        const char* stored;
    };
    const Case cases[] = {
        {-1, 2346, false, "2346"},
        {100, 2346, true, "2346"},
        {9999, 2346, true, "2346"},
        {512, 512, true, "512"},
    };
    for (const Case& c : cases) {
        AdvancedSettings s;
        s.library.forced["QueryWL_FragmentationThreshold"] = c.reported;
        s.open([&](AdvancedSettingsDialog& d) {
            EXPECT_EQ(d.fragmentationSlider.position(), c.position) << c.reported;
            EXPECT_EQ(d.fragmentationSlider.enabled(), c.enabled);
            EXPECT_EQ(d.fragmentationGroup.enabled(), c.enabled);
        });
        EXPECT_EQ(s.station("FragmentationThreshold"), c.stored);
    }
}

TEST(AdvancedSettingsDialog, EitherSliderAppliesBothThresholds) {
    AdvancedSettings s;
    s.open([&](AdvancedSettingsDialog& d) {
        d.rtsSlider.setPosition(0);
        d.onSliderMoved();
        EXPECT_EQ(d.rtsValue.text(), "< 0 >");
        d.fragmentationSlider.setPosition(1000);
        d.onSliderMoved();
        EXPECT_EQ(d.fragmentationValue.text(), "< 1000 >");
    });
    EXPECT_EQ(s.station("RTSThreshold"), "0");
    EXPECT_EQ(s.station("FragmentationThreshold"), "1000");
    EXPECT_EQ(s.count("SetWL_RTS_CTS_Threshold"), 3);  // opening, then each move
    EXPECT_EQ(s.library.QueryWL_RTS_CTS_Threshold(&s.settings.adapter), 0);
}

TEST(AdvancedSettingsDialog, PowerIsAppliedOnlyWhenItChanges) {
    AdvancedSettings s;
    s.open([&](AdvancedSettingsDialog& d) {
        for (const int choice : {2, 2, 0}) {
            d.powerRadios.select(choice);
            d.onPowerChosen();
        }
    });
    EXPECT_EQ(s.count("SetWL_PSMode"), 2);
    EXPECT_EQ(s.station("PowerSaveMode"), "0");
}

TEST(AdvancedSettingsDialog, WorldModeAndUserSelectSwitchTheMultiDomainCapability) {
    AdvancedSettings s;
    s.open([&](AdvancedSettingsDialog& d) {
        d.roamingRadios.select(AdvancedSettingsDialog::kWorldMode);
        d.onRoamingChosen();
        EXPECT_FALSE(d.regionList.enabled());
        EXPECT_EQ(s.station("MultiDomainCapability"), "1");
        d.roamingRadios.select(AdvancedSettingsDialog::kUserSelect);
        d.onRoamingChosen();
        EXPECT_TRUE(d.regionList.enabled());
    });
    EXPECT_EQ(s.station("MultiDomainCapability"), "0");
    EXPECT_EQ(s.count("SetWL_OperationRegionCode"), 1);
    EXPECT_EQ(s.count("SetWL_SupportChannel"), 1);
}

TEST(AdvancedSettingsDialog, ChoosingACountrySetsItsRegionAndChannels) {
    AdvancedSettings s;
    s.open([&](AdvancedSettingsDialog& d) {
        d.regionList.select(d.regionList.indexOf("Japan"));
        d.onRegionChosen();
    });
    EXPECT_EQ(s.station("OperationRegion"), std::to_string(0x40));
    EXPECT_EQ(s.count("SetWL_RegionAndSupportChannel"), 1);
    std::array<std::uint8_t, 100> channels{};
    int count = 100;
    s.library.QueryWL_SupportChannel(&s.settings.adapter, channels.data(), &count);
    EXPECT_EQ(count, 14);
}

TEST(AdvancedSettingsDialog, CountriesComeFromTheLanguageFile) {
    struct Case {
        const char* countries;
        int regionCount;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {"AS_Country_Name_2=Nowhere\nAS_Country_Region_Code_2=30\n", -1, {}},
        {"AS_Country_Name_1=A\nAS_Country_Region_Code_1=30\nAS_Country_Name_2=B\n"
         "AS_Country_Name_3=C\nAS_Country_Region_Code_3=3G\n",
         3,
         {0x30, 0, -1}},
    };
    for (const Case& c : cases) {
        AdvancedSettings s;
        const auto file = s.bed.dir.write(
            "lang.ini",
            std::string("[LANGUAGES]\nLanguage_1_Section=Only\n[Only]\n") + c.countries);
        ASSERT_TRUE(s.texts.load(file, "LANGUAGES"));
        s.open([&](AdvancedSettingsDialog& d) {
            EXPECT_EQ(d.regionCount(), c.regionCount);
            EXPECT_EQ(d.regionCodes(), c.codes);
            if (d.regionCount() == 3) {
                d.regionList.select(2);
                d.onRegionChosen();
            }
        });
        // A malformed code is passed on, and the adapter refuses it.
        EXPECT_EQ(s.count("SetWL_OperationRegionCode"), c.regionCount == 3 ? 1 : 0);
    }
}

TEST(AdvancedSettingsDialog, WhatTheAdapterCannotTellIsDisabled) {
    AdvancedSettings s;
    s.library.forced["QueryWL_MultiDomainCapability"] = -1;
    s.library.forced["QueryWL_OperationRegionCode"] = -1;
    s.library.forced["QueryWL_PSMode"] = -1;
    s.open([](AdvancedSettingsDialog& d) {
        EXPECT_EQ(d.roamingIndex(), -1);
        EXPECT_FALSE(d.roamingRadios.button(AdvancedSettingsDialog::kWorldMode).enabled);
        EXPECT_FALSE(d.roamingRadios.button(AdvancedSettingsDialog::kUserSelect).enabled);
        EXPECT_FALSE(d.regionList.enabled());
        EXPECT_EQ(d.regionList.selected(), -1);
        EXPECT_FALSE(d.powerGroup.enabled());
        EXPECT_EQ(d.powerIndex(), 0);
    });
}

TEST(AdvancedSettingsDialog, NoRoamingControlsWithout80211d) {
    Configuration configuration = StationBed::productConfiguration();
    configuration.enable80211d = 0;
    AdvancedSettings s(testing::settingsWorld(), configuration);
    s.open([](AdvancedSettingsDialog& d) {
        EXPECT_FALSE(d.roamingGroup.visible());
        EXPECT_FALSE(d.regionList.visible());
        EXPECT_FALSE(d.roamingRadios.button(0).visible);
        EXPECT_FALSE(d.roamingRadios.button(1).visible);
    });
}

TEST(AdvancedSettingsDialog, WithoutLanguagesNothingIsSelectedAndTextsAreDefaults) {
    AdvancedSettings s;
    EXPECT_FALSE(s.texts.load(s.bed.dir.path() / "absent.ini", "LANGUAGES"));
    s.open([&](AdvancedSettingsDialog& d) {
        EXPECT_EQ(d.languageList.count(), 0);
        EXPECT_EQ(d.languageList.selected(), -1);
        EXPECT_EQ(d.regionCount(), -1);
        d.onLanguageChosen();
    });
    EXPECT_FALSE(s.settings.appKey.readDword("", "LanguageId").has_value());
}

}  // namespace
}  // namespace rizorivu
