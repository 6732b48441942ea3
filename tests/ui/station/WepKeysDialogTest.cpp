#include "ui/station/WepKeysDialog.h"

#include <gtest/gtest.h>

#include "settings/HexText.h"
#include "tests/ui/station/StationBed.h"

namespace rizorivu {
namespace {

using testing::StationBed;
using ui::DialogCode;
using ui::WepKeysDialog;

constexpr int kHex = 0;
constexpr int kAscii = 1;

struct WepKeys : StationBed {
    using StationBed::StationBed;

    void open(const std::function<void(WepKeysDialog&)>& user,
              DialogCode parent = DialogCode::GeneralSettings) {
        WepKeysDialog dialog(settings, configuration, environment);
        dialog.setParentCode(parent);
        run<WepKeysDialog>(dialog, user);
    }
    // Change, choose length and format, type key 1 (when given), Apply.
    void install(int lengthIndex, int format, std::optional<std::string> key1,
                 DialogCode parent = DialogCode::GeneralSettings) {
        open(
            [&](WepKeysDialog& d) {
                d.onStateButton();
                d.lengthRadios.select(lengthIndex);
                d.onLengthChosen();
                d.formatRadios.select(format);
                d.onFormatChosen();
                if (key1) {
                    d.keyFields[0].setText(*key1);
                    d.onKeyEdited(0);
                }
                d.onStateButton();
            },
            parent);
    }
    static std::string defaultKeyText(std::size_t bytes) {
        const auto key = LastSettings::defaultWepKey();
        return BytesToHexText(std::span(key).first(bytes));
    }
};

TEST(WepKeysDialog, EditingShowsTheMaskOfLengthAndFormat) {
    struct Case {
        const char* storedBits;
        int format;
        std::size_t asterisks;
    };
    const Case cases[] = {{"64", kHex, 10},    {"64", kAscii, 5}, {"128", kHex, 26},
                          {"128", kAscii, 13}, {"256", kHex, 58}, {"256", kAscii, 29},
                          {"100", kHex, 10}};
    for (const Case& c : cases) {
        WepKeys s;
        s.store("WEPKeyLength", c.storedBits);
        s.open([&](WepKeysDialog& d) {
            d.onStateButton();
            d.formatRadios.select(c.format);
            d.onFormatChosen();
            for (const ui::TextField& field : d.keyFields) {
                EXPECT_EQ(field.text(), std::string(c.asterisks, '*')) << c.storedBits;
                EXPECT_EQ(field.maxLength(), c.asterisks);
                EXPECT_TRUE(field.enabled());
            }
        });
    }
}

TEST(WepKeysDialog, StoredLengthAndTransmitKeyOutOfRangeCountAsFirst) {
    WepKeys s;
    s.store("WEPKeyLength", "100");
    s.store("WEPDefaultKeyId", "7");
    s.open([](WepKeysDialog& d) {
        EXPECT_EQ(d.title().text(), "WEP Key Setting...");
        EXPECT_EQ(d.lengthRadios.selected(), 0);
        EXPECT_EQ(d.transmitKeyList.selectedItem(), "#1");
        EXPECT_EQ(d.transmitKeyList.items(), (std::vector<std::string>{"#1", "#2", "#3", "#4"}));
        EXPECT_FALSE(d.keyFields[0].enabled());
        EXPECT_FALSE(d.lengthRadios.button(0).enabled);
        EXPECT_EQ(d.stateButton.text(), "Change");
    });
}

TEST(WepKeysDialog, TypedKeysBecomeTheseBytes) {
    struct Case {
        int lengthIndex;
        int format;
        std::string typed;
        std::string stored;
    };
    const Case cases[] = {
        {0, kAscii, "abc", "61 62 63 20 20"},
        {0, kAscii, "abcdefgh", "61 62 63 64 65"},
        {0, kAscii, " \xC3\xA9t\xC3\xA9 ", "E9 74 E9 20 20"},
        {0, kHex, "12345", "12 34 05 00 00"},
        {0, kHex, "1", "01 00 00 00 00"},
        {0, kHex, "0102030405FFFF", "01 02 03 04 05"},
        {1, kHex, "000102030405060708090A0B0C", "00 01 02 03 04 05 06 07 08 09 0A 0B 0C"},
    };
    for (const Case& c : cases) {
        WepKeys s;
        s.install(c.lengthIndex, c.format, c.typed);
        const std::string bits = c.lengthIndex == 0 ? "64" : "128";
        EXPECT_EQ(s.station("WEPKey" + bits + "_0"), c.stored) << c.typed;
        EXPECT_EQ(s.station("WEPKeyLength"), bits);
    }
}

TEST(WepKeysDialog, KeysNotRetypedKeepTheirStoredOrDefaultValue) {
    WepKeys s;
    s.store("WEPKey64_1", "01 02 03 04 05");
    s.install(0, kHex, "0A0B0C0D0E");
    EXPECT_EQ(s.station("WEPKey64_0"), "0A 0B 0C 0D 0E");
    EXPECT_EQ(s.station("WEPKey64_1"), "01 02 03 04 05");
    EXPECT_EQ(s.station("WEPKey64_2"), WepKeys::defaultKeyText(5));

    s.install(1, kHex, std::nullopt);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.station("WEPKey128_" + std::to_string(i)), WepKeys::defaultKeyText(13));
    }
    EXPECT_EQ(s.station("WEPKey64_1"), "01 02 03 04 05");
}

TEST(WepKeysDialog, HexFieldsDropWhatIsNoDigitAndPutTheCaretThere) {
    struct Case {
        int format;
        std::string typed;
        std::string shown;
        std::size_t caret;
    };
    const Case cases[] = {
        {kHex, "0x1F", "01F", 1},
        {kHex,
         "z\xC3\xA9"
         "1",
         "1", 0},
        {kHex, "AbC", "AbC", 3},
        {kAscii, "0x1F", "0x1F", 4},
    };
    for (const Case& c : cases) {
        WepKeys s;
        s.open([&](WepKeysDialog& d) {
            d.onStateButton();
            d.formatRadios.select(c.format);
            d.onFormatChosen();
            d.keyFields[2].setText(c.typed);
            d.keyFields[2].setCaret(c.typed.size());
            d.onKeyEdited(2);
            EXPECT_EQ(d.keyFields[2].text(), c.shown);
            EXPECT_EQ(d.keyFields[2].caret(), c.caret) << c.typed;
            EXPECT_TRUE(d.modified(2));
            EXPECT_FALSE(d.modified(1));
        });
    }
}

TEST(WepKeysDialog, ChangingTheFormatDiscardsTypedKeys) {
    WepKeys s;
    s.open([](WepKeysDialog& d) {
        d.onStateButton();
        d.keyFields[0].setText("1234");
        d.onKeyEdited(0);
        d.formatRadios.select(kAscii);
        d.onFormatChosen();
        EXPECT_EQ(d.keyFields[0].text(), "*****");
        EXPECT_FALSE(d.modified(0));
    });
}

TEST(WepKeysDialog, The256BitChoiceFollowsTheConfiguration) {
    for (const int enabled : {0, 1}) {
        Configuration configuration = StationBed::productConfiguration();
        configuration.enableWep256 = enabled;
        WepKeys s(testing::settingsWorld(), configuration);
        s.open(
            [&](WepKeysDialog& d) { EXPECT_EQ(d.lengthRadios.button(2).visible, enabled == 1); });
    }
}

// A shared-key network admits only the station whose transmit key is its key, so the
// simulator tells whether the 256-bit key arrived whole.
TEST(WepKeysDialog, A256BitKeyReachesTheAdapterWhole) {
    const std::string key = "00112233445566778899AABBCCDDEEFF00112233445566778899AABBCC";
    const std::string world = testing::settingsWorld() +
                              "[Network.Shared]\nSSID=Shared\nBSSID=02-10-00-00-00-04\n"
                              "Channel=6\nSignal=-55\nSecurity=wep\nWepAuth=shared\nWepKey=" +
                              key + "\n";
    const std::pair<std::string, bool> cases[] = {{key, true}, {"FF" + key.substr(2), false}};
    for (const auto& c : cases) {
        const std::string& typed = c.first;
        const bool associates = c.second;
        WepKeys s(world);
        s.settings.applier.applyAuthenticationMode(1);
        s.settings.applier.applyWepStatus(0);
        s.store("SSID", "Shared");
        s.install(2, kHex, typed);
        EXPECT_EQ(s.station("WEPKeyLength"), "256");
        EXPECT_EQ(s.station("WEPKey256_0"), BytesToHexText([&] {
                      std::array<std::uint8_t, 29> bytes{};
                      HexTextToBytes(typed, bytes);
                      return bytes;
                  }()));
        s.settle();
        EXPECT_EQ(s.connected(), associates);
    }
}

TEST(WepKeysDialog, OnlyTheGeneralSettingsOpeningReassociates) {
    struct Case {
        DialogCode parent;
        bool bssidAnswers;
        std::vector<std::string> afterKeys;
    };
    const Case cases[] = {
        {DialogCode::GeneralSettings, true, {"SetWL_BSSID", "SetWL_SSID"}},
        {DialogCode::GeneralSettings, false, {"SetWL_SSID"}},
        {DialogCode::AccessPointSettings, true, {}},
        {DialogCode::Main, true, {}},
    };
    for (const Case& c : cases) {
        WepKeys s;
        s.settings.applier.applyNetworkType(1);
        s.settings.applier.applySsidText("Home");
        s.settle();
        ASSERT_TRUE(s.connected());
        if (!c.bssidAnswers) {
            s.library.forced["QueryWL_BSSID"] = -1;
        }
        const std::size_t before = s.library.calls.size();
        s.install(0, kHex, std::nullopt, c.parent);
        std::vector<std::string> after;
        bool keysDone = false;
        for (const std::string& call : s.library.callsFrom(before, "Set")) {
            if (keysDone) {
                after.push_back(call);
            }
            keysDone = keysDone || call == "SetWL_WriteKey";
        }
        after.erase(std::remove(after.begin(), after.end(), "SetWL_WriteKey"), after.end());
        EXPECT_EQ(after, c.afterKeys) << ui::toInt(c.parent);
        EXPECT_EQ(s.station("SSID"), "Home");
    }
}

TEST(WepKeysDialog, InAccessPointModeTheAccessPointKeysChange) {
    WepKeys s;
    ASSERT_EQ(s.library.SetWL_OperationMode_STA_AP(&s.settings.adapter, 1), 0);
    s.settings.mode.set(OperatingMode::kAccessPoint);
    s.install(0, kAscii, "hello", DialogCode::AccessPointSettings);
    EXPECT_EQ(s.bed.accessPoint("WEPKey64_0"), "68 65 6C 6C 6F");
    EXPECT_EQ(s.station("WEPKey64_0"), "");
}

}  // namespace
}  // namespace rizorivu
