#include "ui/station/GeneralSettingsDialog.h"

#include <gtest/gtest.h>

#include "tests/ui/station/StationBed.h"
#include "ui/station/AdvancedSettingsDialog.h"
#include "ui/station/InformationDialog.h"
#include "ui/station/WepKeysDialog.h"

namespace rizorivu {
namespace {

using testing::StationBed;
using ui::DialogCode;
using ui::GeneralSettingsDialog;
using Items = std::vector<std::string>;

constexpr int kAdHoc = 0;
constexpr int kInfrastructure = 1;
constexpr int kPseudoIbss = 2;

struct GeneralSettings : StationBed {
    using StationBed::StationBed;

    // Opens the dialog; `user` acts in it.
    void open(const std::function<void(GeneralSettingsDialog&)>& user) {
        GeneralSettingsDialog dialog(settings, configuration, environment, languages);
        dialog.setParentCode(DialogCode::Main);
        run<GeneralSettingsDialog>(dialog, user);
    }
    // Change, the edits, Apply; answers the adapter operations Apply made (queries left out).
    std::vector<std::string> applyWith(const std::function<void(GeneralSettingsDialog&)>& edit) {
        std::vector<std::string> writes;
        open([&](GeneralSettingsDialog& d) {
            d.onStateButton();
            edit(d);
            const std::size_t before = library.calls.size();
            d.onStateButton();
            for (const std::string& call : library.callsFrom(before)) {
                if (call.rfind("Query", 0) != 0) {
                    writes.push_back(call);
                }
            }
        });
        return writes;
    }
    static void pickNetworkType(GeneralSettingsDialog& d, int position) {
        d.networkTypeList.select(position);
        d.onNetworkTypePicked();
    }
    static void typeSsid(GeneralSettingsDialog& d, std::string_view ssid) {
        d.anyCheck.setChecked(false);
        d.onAnyClicked();
        d.ssidField.setText(ssid);
    }
    std::string lastMessage() const {
        return host.messages().empty() ? std::string() : host.messages().back().box.text;
    }
    std::string adapterSsid() {
        std::array<std::uint8_t, adapterbuf::kSsidBytes> ssid{};
        const int n = library.QueryWL_SSID(&settings.adapter, ssid);
        return std::string(reinterpret_cast<const char*>(ssid.data()),
                           static_cast<std::size_t>(n > 0 ? n : 0));
    }
};

TEST(GeneralSettingsDialog, OpensViewingTheStoredStationSettings) {
    GeneralSettings s;
    s.store("NetworkType", "0");
    s.store("Channel", "3");
    s.store("SSID", "Home");
    s.store("DesiredRate", "16");
    s.store("WEPStatus", "0");
    s.store("AuthenticationMode", "1");
    s.open([](GeneralSettingsDialog& d) {
        EXPECT_EQ(d.title().text(), "More Setting...");
        EXPECT_EQ(d.rateList.items(),
                  (Items{"Auto", "1 Mbps", "2 Mbps", "5.5 Mbps", "11 Mbps", "6 Mbps", "9 Mbps",
                         "12 Mbps", "18 Mbps", "24 Mbps", "36 Mbps", "48 Mbps", "54 Mbps"}));
        EXPECT_EQ(d.channelList.items(),
                  (Items{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
        EXPECT_EQ(d.networkTypeList.items(), (Items{"Ad-Hoc", "Infrastructure", "Pseudo IBSS"}));
        // Ad hoc: the plain encryption list and no WPA authentication.
        EXPECT_EQ(d.encryptionList.items(), (Items{"WEP", "Disable"}));
        EXPECT_EQ(d.authenticationList.count(), 3);
        EXPECT_EQ(d.networkTypeList.selected(), kAdHoc);
        EXPECT_EQ(d.channelList.selectedItem(), "3");
        EXPECT_EQ(d.ssidField.text(), "Home");
        EXPECT_FALSE(d.anyCheck.checked());
        EXPECT_EQ(d.rateList.selectedItem(), "11 Mbps");
        EXPECT_EQ(d.encryptionList.selectedItem(), "WEP");
        EXPECT_EQ(d.authenticationList.selected(), 1);
        EXPECT_EQ(d.ssidField.maxLength(), 32u);
        EXPECT_TRUE(d.wpaButton.visible());  // the product's configuration has WPA
        EXPECT_EQ(d.stateButton.text(), "Change");
    });
}

TEST(GeneralSettingsDialog, EnablingFollowsStateNetworkTypeAndAny) {
    struct Case {
        bool editing;
        int networkType;
        bool any;
        bool fields, ssid, channel;
    };
    const Case cases[] = {
        {false, kAdHoc, false, false, false, false},
        {true, kAdHoc, false, true, true, true},
        {true, kInfrastructure, false, true, true, false},
        {true, kPseudoIbss, true, true, false, true},
    };
    for (const Case& c : cases) {
        GeneralSettings s;
        s.open([&](GeneralSettingsDialog& d) {
            if (c.editing) {
                d.onStateButton();
                GeneralSettings::pickNetworkType(d, c.networkType);
                d.anyCheck.setChecked(c.any);
                d.onAnyClicked();
            }
            for (const ui::Control* field : std::initializer_list<const ui::Control*>{
                     &d.networkTypeList, &d.rateList, &d.anyCheck, &d.encryptionList,
                     &d.authenticationList}) {
                EXPECT_EQ(field->enabled(), c.fields);
            }
            EXPECT_EQ(d.ssidField.enabled(), c.ssid);
            EXPECT_EQ(d.channelList.enabled(), c.channel) << c.networkType;
            EXPECT_EQ(d.stateButton.text(), c.editing ? "Apply" : "Change");
            EXPECT_TRUE(d.loadButton.enabled() && d.wepKeysButton.enabled() &&
                        d.advancedButton.enabled() && d.informationButton.enabled());
        });
    }
}

TEST(GeneralSettingsDialog, ApplyWritesEverythingInItsOrder) {
    GeneralSettings s;
    s.store("AuthenticationMode", "4");
    const auto writes = s.applyWith([](GeneralSettingsDialog& d) {
        GeneralSettings::pickNetworkType(d, kAdHoc);
        d.channelList.select(d.channelList.indexOf("4"));
        d.authenticationList.select(0);
        d.encryptionList.select(1);  // plain list: disabled
        GeneralSettings::typeSsid(d, "  Home  ");
        d.rateList.select(d.rateList.indexOf("5.5 Mbps"));
    });
    const std::vector<std::string> keys(4, "SetWL_WriteKey");
    std::vector<std::string> expected{"stopWpaConnection", "SetWL_NetworkType", "SetWL_Channel",
                                      "SetWL_AuthenticationMode"};
    expected.insert(expected.end(), keys.begin(), keys.end());
    expected.insert(expected.end(),
                    {"SetWL_WEPStatus", "SetWL_SSID", "SetWL_SSID", "SetWL_DesiredRate"});
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(s.station("NetworkType"), "0");
    EXPECT_EQ(s.station("Channel"), "4");
    EXPECT_EQ(s.station("AuthenticationMode"), "0");
    EXPECT_EQ(s.station("WEPStatus"), "1");
    EXPECT_EQ(s.station("SSID"), "Home");  // without the blanks
    EXPECT_EQ(s.station("DesiredRate").substr(0, 5), "0B 00");
    EXPECT_EQ(s.wpa.starts, 0);
}

TEST(GeneralSettingsDialog, EncryptionItemsMeanWhatTheShownListSays) {
    struct Case {
        int wpaMode;
        int networkType;
        int item;
        const char* wepStatus;
    };
    const Case cases[] = {
        {1, kInfrastructure, 0, "1"}, {1, kInfrastructure, 1, "0"}, {1, kInfrastructure, 2, "4"},
        {1, kInfrastructure, 3, "6"}, {1, kAdHoc, 0, "0"},          {1, kAdHoc, 1, "1"},
        {1, kPseudoIbss, 0, "1"},     {0, kInfrastructure, 0, "0"}, {0, kInfrastructure, 1, "1"},
    };
    for (const Case& c : cases) {
        Configuration configuration = StationBed::productConfiguration();
        configuration.wpaMode = c.wpaMode;
        GeneralSettings s(testing::settingsWorld(), configuration);
        s.applyWith([&](GeneralSettingsDialog& d) {
            GeneralSettings::pickNetworkType(d, c.networkType);
            d.encryptionList.select(c.item);
        });
        EXPECT_EQ(s.station("WEPStatus"), c.wepStatus)
            << "WPAMode " << c.wpaMode << ", type " << c.networkType << ", item " << c.item;
    }
}

TEST(GeneralSettingsDialog, WithoutWpaModeTheAuthenticationListStopsAtAutoSwitch) {
    Configuration configuration = StationBed::productConfiguration();
    configuration.wpaMode = 0;
    GeneralSettings s(testing::settingsWorld(), configuration);
    s.store("AuthenticationMode", "4");
    s.open([](GeneralSettingsDialog& d) {
        EXPECT_EQ(d.authenticationList.count(), 3);
        EXPECT_EQ(d.authenticationList.selected(), -1);
        d.onStateButton();
        GeneralSettings::pickNetworkType(d, kInfrastructure);
        EXPECT_EQ(d.authenticationList.selected(), 2);
        EXPECT_FALSE(d.wpaEncryptionList());
    });
}

// WPA2 and WPA2-PSK follow the older items, whose positions stay; WPA-None has none.
TEST(GeneralSettingsDialog, AuthenticationListEndsWithWpa2AndKeepsTheOldPositions) {
    struct Case {
        const char* stored;
        int opened;   // the position selected on opening
        int rebuilt;  // after picking infrastructure while editing
    };
    const Case cases[] = {{"0", 0, 0}, {"3", 3, 3},  {"4", 4, 4},   {"5", -1, -1}, {"6", 5, 5},
                          {"7", 6, 6}, {"8", 2, -1}, {"-1", 2, -1}, {"", 2, -1}};
    for (const Case& c : cases) {
        GeneralSettings s;
        s.store("AuthenticationMode", c.stored);
        s.open([&](GeneralSettingsDialog& d) {
            EXPECT_EQ(d.authenticationList.items(),
                      (Items{"Open System", "Shared Key", "Auto Switch", "WPA", "WPA-PSK", "WPA2",
                             "WPA2-PSK"}));
            EXPECT_EQ(d.authenticationList.selected(), c.opened) << c.stored;
            d.onStateButton();
            GeneralSettings::pickNetworkType(d, kInfrastructure);
            EXPECT_EQ(d.authenticationList.selected(), c.rebuilt) << c.stored;
        });
    }
    // Picking ad hoc takes WPA2 back to auto switch, as it does WPA.
    GeneralSettings s;
    s.store("AuthenticationMode", "7");
    s.open([](GeneralSettingsDialog& d) {
        d.onStateButton();
        GeneralSettings::pickNetworkType(d, kAdHoc);
        EXPECT_EQ(d.authenticationList.count(), 3);
        EXPECT_EQ(d.authenticationList.selected(), 2);
    });
}

TEST(GeneralSettingsDialog, Wpa2ItemsApplyModes6And7AndStartTheWpaConnection) {
    const std::pair<int, const char*> cases[] = {{5, "6"}, {6, "7"}};
    for (const auto& [item, mode] : cases) {
        GeneralSettings s;
        const auto writes = s.applyWith([item = item](GeneralSettingsDialog& d) {
            GeneralSettings::pickNetworkType(d, kInfrastructure);
            d.authenticationList.select(item);
            d.encryptionList.select(3);
            GeneralSettings::typeSsid(d, "Psk");
        });
        EXPECT_EQ(s.station("AuthenticationMode"), mode) << item;
        EXPECT_EQ(writes.back(), "startWpaConnection") << item;
        EXPECT_EQ(s.wpa.starts, 1) << item;
    }
}

TEST(GeneralSettingsDialog, PseudoIbssSupportOffLeavesTwoNetworkTypes) {
    Configuration configuration = StationBed::productConfiguration();
    configuration.pseudoIbssSupport = 0;
    GeneralSettings s(testing::settingsWorld(), configuration);
    s.open([](GeneralSettingsDialog& d) { EXPECT_EQ(d.networkTypeList.count(), 2); });
}

TEST(GeneralSettingsDialog, StoredRateSetSelectsItsOneSupportedRateOrAuto) {
    const std::pair<const char*, const char*> cases[] = {
        {"16 00 00 00", "11 Mbps"}, {"02 04 0B 16", "Auto"}, {"", "Auto"},
        {"6C", "54 Mbps"},          {"07", "Auto"},          {"07 0B", "5.5 Mbps"},
    };
    for (const auto& c : cases) {
        const char* stored = c.first;
        const char* item = c.second;
        GeneralSettings s;
        s.store("DesiredRate", stored);
        s.open([&](GeneralSettingsDialog& d) {
            EXPECT_EQ(d.rateList.selectedItem(), item) << stored;
        });
    }
}

TEST(GeneralSettingsDialog, AutoRateAppliesTheSupportedSetButNothingWhenTheAdapterCannotTell) {
    GeneralSettings s;
    s.applyWith([](GeneralSettingsDialog& d) { d.rateList.select(0); });
    EXPECT_EQ(s.station("DesiredRate").substr(0, 11), "02 04 0B 16");

    GeneralSettings failing;
    failing.store("DesiredRate", "16");
    failing.library.forced["QueryWL_SupportedRate"] = -1;
    const auto writes = failing.applyWith([](GeneralSettingsDialog& d) {
        EXPECT_EQ(d.rateList.items(), Items{"Auto"});
        EXPECT_EQ(d.rateList.selected(), 0);
    });
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "SetWL_DesiredRate"), 0);
    EXPECT_EQ(failing.station("DesiredRate"), "16");
}

TEST(GeneralSettingsDialog, ChannelListFallsBackOrIsCut) {
    struct Case {
        std::optional<int> count;
        bool fails;
        int items;
        const char* last;
    };
    const Case cases[] = {
        {std::nullopt, false, 11, "11"},  // the adapter's region: 1-11
        {std::nullopt, true, 14, "14"},   // no answer
        {0, false, 14, "14"},             // success without a channel
        {150, false, 100, "100"},         // more than fit
    };
    for (const Case& c : cases) {
        GeneralSettings s;
        s.library.channelCount = c.count;
        if (c.fails) {
            s.library.forced["QueryWL_SupportChannel"] = -1;
        }
        s.open([&](GeneralSettingsDialog& d) {
            EXPECT_EQ(d.channelList.count(), c.items);
            EXPECT_EQ(d.channelList.items().back(), c.last);
        });
    }
}

TEST(GeneralSettingsDialog, InterimSsidIsNotRecordedSoARefusedSsidKeepsTheStoredOne) {
    GeneralSettings s;
    s.store("SSID", "Home");
    s.library.refuseSsid = [](std::string_view ssid) { return ssid == "Refused"; };
    const auto writes =
        s.applyWith([](GeneralSettingsDialog& d) { GeneralSettings::typeSsid(d, "Refused"); });
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "SetWL_SSID"), 2);
    EXPECT_EQ(s.station("SSID"), "Home");
}

TEST(GeneralSettingsDialog, AnySetsARandomSsidThenTheEmptyOne) {
    GeneralSettings s;
    s.store("SSID", "Home");
    std::vector<std::string> ssids;
    s.library.refuseSsid = [&](std::string_view ssid) {
        ssids.emplace_back(ssid);
        return false;
    };
    s.applyWith([](GeneralSettingsDialog& d) {
        d.anyCheck.setChecked(true);
        d.onAnyClicked();
    });
    ASSERT_EQ(ssids.size(), 2u);
    EXPECT_EQ(ssids[0].size(), 32u);
    EXPECT_EQ(ssids[1], "");
    EXPECT_EQ(s.station("SSID"), "");
}

TEST(GeneralSettingsDialog, WpaPskAcceptedStartsTheWpaConnectionAfterStoppingIt) {
    GeneralSettings s;
    const auto writes = s.applyWith([](GeneralSettingsDialog& d) {
        GeneralSettings::pickNetworkType(d, kInfrastructure);
        d.authenticationList.select(4);
        d.encryptionList.select(3);
        GeneralSettings::typeSsid(d, "Psk");
    });
    EXPECT_EQ(writes.front(), "stopWpaConnection");
    EXPECT_EQ(writes.back(), "startWpaConnection");
    EXPECT_EQ(s.station("AuthenticationMode"), "4");
    EXPECT_EQ(s.station("WEPStatus"), "6");
}

TEST(GeneralSettingsDialog, SsidsAreCutToWhatTheAdapterTakes) {
    struct Case {
        const char* codePage;
        std::string typed;
        std::string stored;
    };
    std::string kana;  // 20 double-byte characters under code page 932
    for (int i = 0; i < 20; ++i) {
        kana += "\xE3\x81\x82";
    }
    const Case cases[] = {
        {"WINDOWS-1252", std::string(40, 'x'), std::string(32, 'x')},
        {"WINDOWS-1252", "  spaced out  ", "spaced out"},
        {"CP932", kana, kana.substr(0, 16 * 3)},
    };
    for (const Case& c : cases) {
        GeneralSettings s(testing::settingsWorld(), StationBed::productConfiguration(), c.codePage);
        s.applyWith([&](GeneralSettingsDialog& d) { GeneralSettings::typeSsid(d, c.typed); });
        EXPECT_EQ(s.station("SSID"), c.stored) << c.codePage;
    }
}

TEST(GeneralSettingsDialog, ProfileSavedThenLoadedBackIntoTheChangedAdapter) {
    GeneralSettings s;
    s.applyWith([](GeneralSettingsDialog& d) {
        GeneralSettings::pickNetworkType(d, kInfrastructure);
        GeneralSettings::typeSsid(d, "Home");
    });
    s.open([&](GeneralSettingsDialog& d) {
        d.profileList.setEditText("Office");
        d.onSaveProfile();
        EXPECT_EQ(d.profileList.items(), Items{"Office"});
    });
    s.applyWith([](GeneralSettingsDialog& d) { GeneralSettings::typeSsid(d, "Wep"); });
    ASSERT_EQ(s.adapterSsid(), "Wep");

    s.open([&](GeneralSettingsDialog& d) {
        d.profileList.setEditText(" office ");
        d.onLoadProfile();
        // Loading shows the loaded values at once.
        EXPECT_EQ(d.ssidField.text(), "Home");
    });
    EXPECT_EQ(s.adapterSsid(), "Home");
    EXPECT_EQ(s.station("SSID"), "Home");
    s.settle();
    EXPECT_TRUE(s.connected());
    EXPECT_TRUE(s.host.messages().empty());
}

TEST(GeneralSettingsDialog, ProfileMistakesGetTheirMessages) {
    const std::string notFound = "Can't found the specified profile: \"Nowhere\".";
    const std::string empty = "Please specify or input a profile name!";
    struct Case {
        const char* typed;
        void (GeneralSettingsDialog::*action)();
        std::string message;
    };
    const Case cases[] = {
        {"   ", &GeneralSettingsDialog::onSaveProfile, empty},
        {"", &GeneralSettingsDialog::onDeleteProfile, empty},
        {"Nowhere", &GeneralSettingsDialog::onLoadProfile, notFound},
        {"Nowhere", &GeneralSettingsDialog::onDeleteProfile, notFound},
    };
    for (const Case& c : cases) {
        GeneralSettings s;
        s.open([&](GeneralSettingsDialog& d) {
            d.profileList.setEditText(c.typed);
            (d.*c.action)();
        });
        ASSERT_EQ(s.host.messages().size(), 1u) << c.typed;
        EXPECT_EQ(s.lastMessage(), c.message);
        EXPECT_EQ(s.host.messages().back().box.caption, "Profile");
        EXPECT_EQ(s.host.messages().back().box.icon, ui::MessageIcon::Exclamation);
    }
}

TEST(GeneralSettingsDialog, OddProfileNamesAreKeptAndLoseNothingStored) {
    const std::string longName(250, 'p');
    const std::pair<std::string, std::string> cases[] = {
        {longName, longName.substr(0, 200)},
        {"back\\slash", "back\\slash"},
        {"B\xC3\xBCro \xE6\x9D\xB1", "B\xC3\xBCro \xE6\x9D\xB1"},
    };
    for (const auto& c : cases) {
        const std::string& typed = c.first;
        const std::string& kept = c.second;
        GeneralSettings s;
        s.open([&](GeneralSettingsDialog& d) {
            d.profileList.setEditText("Home");
            d.onSaveProfile();
            d.profileList.setEditText(typed);
            d.onSaveProfile();
            EXPECT_EQ(d.profileList.items(), (Items{"Home", kept}));
            d.profileList.setEditText(typed);
            d.onLoadProfile();
            d.profileList.setEditText(typed);
            d.onDeleteProfile();
            EXPECT_EQ(d.profileList.items(), Items{"Home"});
        });
        EXPECT_TRUE(s.host.messages().empty()) << s.lastMessage();
    }
}

TEST(GeneralSettingsDialog, SubDialogsOpenAboveItAndHandTheTopBack) {
    GeneralSettings s;
    s.store("Channel", "6");
    s.host.script(DialogCode::WepKeys, testing::HeadlessHost::endWith(ui::DialogResult::Closed));
    s.host.script(DialogCode::AdvancedSettings,
                  testing::HeadlessHost::endWith(ui::DialogResult::Closed));
    s.host.script(DialogCode::Information, testing::HeadlessHost::endWith(ui::DialogResult::Ok));
    s.host.script(DialogCode::WpaSettings,
                  testing::HeadlessHost::endWith(ui::DialogResult::Closed));
    s.open([&](GeneralSettingsDialog& d) {
        d.onWpa();
        EXPECT_EQ(s.chain.top(), DialogCode::GeneralSettings);
        d.onWepKeys();
        EXPECT_EQ(s.chain.top(), DialogCode::GeneralSettings);
        EXPECT_EQ(d.channelList.selectedItem(), "6");
        d.onAdvanced();
        // The channel list is built afresh, without a selection.
        EXPECT_EQ(d.channelList.selected(), -1);
        d.onInformation();
        EXPECT_EQ(s.chain.top(), DialogCode::GeneralSettings);
    });
    std::vector<std::pair<DialogCode, DialogCode>> runs;
    for (const auto& run : s.host.runs()) {
        runs.emplace_back(run.code, run.parent);
    }
    EXPECT_EQ(runs, (std::vector<std::pair<DialogCode, DialogCode>>{
                        {DialogCode::GeneralSettings, DialogCode::Main},
                        {DialogCode::WpaSettings, DialogCode::GeneralSettings},
                        {DialogCode::WepKeys, DialogCode::GeneralSettings},
                        {DialogCode::AdvancedSettings, DialogCode::GeneralSettings},
                        {DialogCode::Information, DialogCode::GeneralSettings}}));
}

TEST(GeneralSettingsDialog, WpaButtonOnlyWithWpaMode) {
    for (const int wpaMode : {0, 1}) {
        Configuration configuration = StationBed::productConfiguration();
        configuration.wpaMode = wpaMode;
        GeneralSettings s(testing::settingsWorld(), configuration);
        s.open([&](GeneralSettingsDialog& d) { EXPECT_EQ(d.wpaButton.visible(), wpaMode != 0); });
    }
}

}  // namespace
}  // namespace rizorivu
