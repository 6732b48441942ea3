#include "ui/ap/AccessPointSettingsDialog.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "tests/ui/ap/ApBed.h"

namespace rizorivu {
namespace {

using testing::ApBed;
using ui::AccessPointSettingsDialog;
using ui::DialogCode;
using Items = std::vector<std::string>;

TEST(AccessPointSettingsDialog, OpensViewingWithTheDefaultsOfAnEmptyStore) {
    ApBed s;
    s.openSettings([&](AccessPointSettingsDialog& d) {
        EXPECT_EQ(d.radioGroup.text(), "General Connection Setting");
        EXPECT_EQ(d.authenticationList.items(), (Items{"Open System", "Shared Key"}));
        // Channel, basic rate, SSID, hidden, power, WEP, authentication, preamble.
        EXPECT_EQ((std::vector<int>{d.channelList.selected(), d.basicRateList.selected(),
                                    static_cast<int>(d.ssidField.text().size()),
                                    d.hideSsidCheck.checked() ? 1 : 0, d.txPowerList.selected(),
                                    d.wepList.selected(), d.authenticationList.selected(),
                                    d.preambleList.selected()}),
                  (std::vector<int>{0, 0, 0, 0, 0, 1, 0, 2}));
        EXPECT_EQ(d.rtsValue.text(), "Disable");
        EXPECT_EQ(d.stateButton.text(), "Change");
        EXPECT_FALSE(d.ssidField.enabled());
        EXPECT_FALSE(d.txPowerList.enabled());
        EXPECT_TRUE(d.wepList.enabled());
        EXPECT_EQ(s.chain.top(), DialogCode::AccessPointSettings);
    });
    // The first channel the adapter offers is applied, and both thresholds.
    EXPECT_EQ(s.ap("Channel"), "1");
    EXPECT_EQ(s.ap("FragmentationThreshold"), "2346");
    EXPECT_EQ(s.ap("RTSThreshold"), "2347");
}

TEST(AccessPointSettingsDialog, Usb11PortsOfferOnlyTheTwoLowestBasicRates) {
    struct Case {
        int usbType;
        int rates;
        const char* caption;
    };
    const Case cases[] = {
        {0, 2, "General Connection Setting (USB 1.1 Limited)"},
        {1, 4, "General Connection Setting"},
        {-1, 4, "General Connection Setting"},
    };
    for (const Case& c : cases) {
        ApBed s;
        s.library.forced["QueryWL_USBType"] = c.usbType;
        s.openSettings([&](AccessPointSettingsDialog& d) {
            EXPECT_EQ(d.basicRateList.count(), c.rates) << c.usbType;
            EXPECT_EQ(d.radioGroup.text(), c.caption);
        });
    }
}

TEST(AccessPointSettingsDialog, StoredChannelTheListLacksFallsBackToTheFirst) {
    struct Case {
        const char* stored;
        int row;
        const char* recorded;  // what the store says afterwards
    };
    const Case cases[] = {
        {"13", 0, "1"},                    // not among channels 1-11
        {"6", 5, "6"},                     // listed: selected, nothing written
        {"0", 0, "1"},                     // outside 1-100 counts as absent
        {"101", 0, "1"}, {"six", 0, "1"},  // reads as 0
    };
    for (const Case& c : cases) {
        ApBed s;
        s.library.channelCount = 11;
        s.storeAp("Channel", c.stored);
        s.openSettings([&](AccessPointSettingsDialog& d) {
            EXPECT_EQ(d.channelList.count(), 11);
            EXPECT_EQ(d.channelList.selected(), c.row) << c.stored;
        });
        EXPECT_EQ(s.ap("Channel"), c.recorded) << c.stored;
        EXPECT_EQ(s.count("SetWL_Channel"), std::string(c.stored) == "6" ? 0 : 1) << c.stored;
    }
}

TEST(AccessPointSettingsDialog, ChannelListsTheAdapterCannotGiveBecomeUsable) {
    struct Case {
        std::optional<int> count;  // answered with success
        bool fails;
        std::size_t channels;
        const char* last;
    };
    const Case cases[] = {
        {0, false, 14, "14"},                             // success with nothing listed
        {-5, false, 14, "14"}, {150, false, 100, "100"},  // more than the buffer holds
        {{}, true, 14, "14"},                             // the query fails
        {3, false, 3, "3"},
    };
    for (const Case& c : cases) {
        ApBed s;
        s.library.channelCount = c.count;
        if (c.fails) {
            s.library.forced["QueryWL_SupportChannel"] = -1;
        }
        s.openSettings([&](AccessPointSettingsDialog& d) {
            EXPECT_EQ(d.supportedChannels().size(), c.channels);
            ASSERT_FALSE(d.channelList.items().empty());
            EXPECT_EQ(d.channelList.items().back(), c.last);
            EXPECT_EQ(d.channelList.selected(), 0);
        });
    }
}

TEST(AccessPointSettingsDialog, StoredValuesOutsideTheirRangesShowTheirSubstitutes) {
    struct Case {
        const char* name;
        const char* stored;
        int shown;
    };
    const Case cases[] = {
        {"BasicRate", "7", 0},          {"BasicRate", "3", 3},          {"TxPowerLevel", "-1", 0},
        {"TxPowerLevel", "2", 2},       {"WEPStatus", "5", 1},          {"WEPStatus", "0", 0},
        {"AuthenticationMode", "2", 0}, {"AuthenticationMode", "1", 1}, {"PreambleMode", "9", 2},
        {"PreambleMode", "", 2},        {"HideSSID", "2", 0},           {"HideSSID", "1", 1},
    };
    for (const Case& c : cases) {
        ApBed s;
        s.storeAp(c.name, c.stored);
        s.openSettings([&](AccessPointSettingsDialog& d) {
            const std::map<std::string, int> shown = {
                {"BasicRate", d.basicRateList.selected()},
                {"TxPowerLevel", d.txPowerList.selected()},
                {"WEPStatus", d.wepList.selected()},
                {"AuthenticationMode", d.authenticationList.selected()},
                {"PreambleMode", d.preambleList.selected()},
                {"HideSSID", d.hideSsidCheck.checked() ? 1 : 0}};
            EXPECT_EQ(shown.at(c.name), c.shown) << c.name << "=" << c.stored;
        });
        // Showing a substitute writes nothing back.
        EXPECT_EQ(s.ap(c.name), c.stored) << c.name;
    }
}

TEST(AccessPointSettingsDialog, StoredThresholdsOutsideTheSlidersAreAppliedAtTheirEnds) {
    struct Case {
        const char* fragmentation;
        const char* rts;
        const char* fragmentationApplied;
        const char* rtsApplied;
    };
    const Case cases[] = {
        {"3000", "-1", "2346", "2347"},
        {"100", "2348", "256", "2347"},  // inside 0-2346 but below the slider: its lower end
        {"512", "0", "512", "0"},
    };
    for (const Case& c : cases) {
        ApBed s;
        s.storeAp("FragmentationThreshold", c.fragmentation);
        s.storeAp("RTSThreshold", c.rts);
        s.openSettings([](AccessPointSettingsDialog&) {});
        EXPECT_EQ(s.ap("FragmentationThreshold"), c.fragmentationApplied) << c.fragmentation;
        EXPECT_EQ(s.ap("RTSThreshold"), c.rtsApplied) << c.rts;
    }
}

TEST(AccessPointSettingsDialog, SlidersAndImmediateListsApplyAtOnce) {
    ApBed s;
    s.openSettings([&](AccessPointSettingsDialog& d) {
        d.rtsSlider.setPosition(500);
        d.onSliderMoved();
        EXPECT_EQ(d.rtsValue.text(), "500");
        EXPECT_EQ(s.ap("RTSThreshold"), "500");

        const long rtsWrites = s.count("SetWL_RTS_CTS_Threshold");
        d.fragmentationSlider.setPosition(1024);
        d.onSliderMoved();
        EXPECT_EQ(d.fragmentationValue.text(), "1024");
        EXPECT_EQ(s.ap("FragmentationThreshold"), "1024");
        EXPECT_EQ(s.count("SetWL_RTS_CTS_Threshold"), rtsWrites + 1)
            << "moving fragmentation re-applies the RTS value";

        d.rtsSlider.setPosition(d.rtsSlider.maximum());
        d.onSliderMoved();
        EXPECT_EQ(d.rtsValue.text(), "Disable");
        EXPECT_EQ(s.ap("RTSThreshold"), "2347");

        d.authenticationList.select(1);
        d.onAuthenticationChosen();
        d.preambleList.select(0);
        d.onPreambleChosen();
        EXPECT_EQ(s.ap("AuthenticationMode") + s.ap("PreambleMode"), "10");
    });
}

TEST(AccessPointSettingsDialog, ChangeThenApplyWritesTheRadioIdentity) {
    ApBed s;
    s.openSettings([&](AccessPointSettingsDialog& d) {
        d.onStateButton();
        EXPECT_TRUE(d.editing());
        EXPECT_EQ(d.stateButton.text(), "Apply");
        EXPECT_TRUE(d.ssidField.enabled());
        d.channelList.select(d.channelList.indexOf("11"));
        d.basicRateList.select(1);
        d.hideSsidCheck.setChecked(true);
        d.txPowerList.select(2);
        d.ssidField.setText(std::string(40, 'a'));
        d.onStateButton();
        EXPECT_FALSE(d.editing());
        EXPECT_EQ(d.stateButton.text(), "Change");
        EXPECT_FALSE(d.ssidField.enabled());
    });
    EXPECT_EQ(s.ap("Channel"), "11");
    EXPECT_EQ(s.ap("BasicRate"), "1");
    EXPECT_EQ(s.ap("HideSSID"), "1");
    EXPECT_EQ(s.ap("TxPowerLevel"), "2");
    EXPECT_EQ(s.ap("SSID"), std::string(32, 'a')) << "40 characters are applied as 32";
}

TEST(AccessPointSettingsDialog, DoubleByteSsidIsCutAtWholeCharacters) {
    std::string kana;  // 20 double-byte characters under code page 932: 40 bytes
    for (int i = 0; i < 20; ++i) {
        kana += "\xE3\x81\x82";
    }
    ApBed s(testing::settingsWorld(), "CP932");
    s.openSettings([&](AccessPointSettingsDialog& d) {
        d.onStateButton();
        d.ssidField.setText(kana);
        d.onStateButton();
    });
    EXPECT_EQ(s.ap("SSID"), kana.substr(0, 16 * 3)) << "16 characters fill the 32 bytes";
}

TEST(AccessPointSettingsDialog, WithoutLanguageTextsTheListsAreEmptyAndNothingInvalidIsSent) {
    ApBed s;
    LocalizedText bare{s.profile};
    ui::AccessPointSettingsDialog dialog(s.settings, s.configuration,
                                         ui::DialogEnvironment{s.host, s.chain, bare});
    dialog.setParentCode(DialogCode::Main);
    s.run<AccessPointSettingsDialog>(dialog, [&](AccessPointSettingsDialog& d) {
        EXPECT_EQ(d.preambleList.count(), 0);
        EXPECT_EQ(d.preambleList.selected(), -1) << "the stored preamble selects nothing";
        EXPECT_EQ(d.txPowerList.selected(), -1);
        EXPECT_EQ(d.title().text(), "Access Point Setting");
        EXPECT_FALSE(d.channelList.items().empty()) << "channels come from the adapter";
        d.onStateButton();
        d.onStateButton();
        d.onPreambleChosen();
        d.onWepChosen();
    });
    EXPECT_EQ(s.count("SetWLAP_TxPowerLevel"), 0) << "no level chosen: nothing to send";
    EXPECT_EQ(s.ap("TxPowerLevel"), "");
    EXPECT_EQ(s.ap("BasicRate"), "");
    EXPECT_EQ(s.ap("PreambleMode"), "");
    EXPECT_EQ(s.count("SetWL_WEPStatus"), 0);
}

TEST(AccessPointSettingsDialog, WepChoiceReinstallsTheKeysAndRestartsUnderTheSsid) {
    struct Case {
        int row;
        const char* storedSsid;
        const char* wepStatus;
        const char* ssid;
    };
    const Case cases[] = {
        {0, "", "0", "WLAN_AP"},
        {0, "Lab", "0", "Lab"},
        {1, "", "1", "WLAN_AP"},
    };
    for (const Case& c : cases) {
        ApBed s;
        s.storeAp("SSID", c.storedSsid);
        s.openSettings([&](AccessPointSettingsDialog& d) {
            const std::size_t from = s.library.calls.size();
            d.wepList.select(c.row);
            d.onWepChosen();
            // The four stored keys, the WEP status, and the SSID last.
            EXPECT_EQ(s.library.callsFrom(from, "SetWL_"),
                      (Items{"SetWL_WriteKey", "SetWL_WriteKey", "SetWL_WriteKey", "SetWL_WriteKey",
                             "SetWL_WEPStatus", "SetWL_SSID"}));
        });
        EXPECT_EQ(s.ap("WEPStatus"), c.wepStatus) << c.row;
        EXPECT_EQ(s.ap("SSID"), c.ssid);
    }
}

TEST(AccessPointSettingsDialog, OpensTheWepKeysAndTheFilterAsItsChildren) {
    ApBed s;
    s.host.script(DialogCode::WepKeys, testing::HeadlessHost::endWith(ui::DialogResult::Closed));
    s.host.script(DialogCode::MacFilter, testing::HeadlessHost::endWith(ui::DialogResult::Closed));
    s.openSettings([&](AccessPointSettingsDialog& d) {
        d.onWepKeys();
        EXPECT_EQ(s.chain.top(), DialogCode::AccessPointSettings);
        d.onMacFilter();
        EXPECT_EQ(s.chain.top(), DialogCode::AccessPointSettings);
    });
    ASSERT_EQ(s.host.runs().size(), 3u);
    EXPECT_EQ(s.host.runs()[1].code, DialogCode::WepKeys);
    EXPECT_EQ(s.host.runs()[1].parent, DialogCode::AccessPointSettings);
    EXPECT_EQ(s.host.runs()[2].code, DialogCode::MacFilter);
    EXPECT_EQ(s.host.runs()[2].parent, DialogCode::AccessPointSettings);
}

TEST(AccessPointSettingsDialog, LanguageChangeRecaptionsAndKeepsSelectionsButTheChannel) {
    ApBed s;
    s.storeAp("TxPowerLevel", "2");
    s.openSettings([&](AccessPointSettingsDialog& d) {
        d.rtsSlider.setPosition(d.rtsSlider.maximum());
        d.onSliderMoved();
        s.languages.apply(1, DialogCode::AccessPointSettings);
        EXPECT_EQ(d.title().text(), "Access-Point-Einstellungen");
        EXPECT_EQ(d.txPowerList.selected(), 2);
        EXPECT_EQ(d.txPowerList.selectedItem(), "Stufe 2 (mittel)");
        EXPECT_EQ(d.wepList.selected(), 1);
        EXPECT_EQ(d.channelList.selected(), -1);
        EXPECT_EQ(d.rtsValue.text(), "Aus");
        EXPECT_EQ(d.stateButton.text(), "Ändern");
    });
}

}  // namespace
}  // namespace rizorivu
