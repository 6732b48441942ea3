#include "ui/wpa/WpaSettingsDialog.h"

#include <gtest/gtest.h>

#include "tests/support/ChosenCertificates.h"
#include "tests/ui/station/StationBed.h"

namespace rizorivu {
namespace {

using testing::ChosenCertificates;
using testing::StationBed;
using ui::DialogCode;
using ui::WpaSettingsDialog;

// The station's world with a certificate store of the test's choosing.
struct WpaBed : StationBed {
    WpaBed() {
        certificates.client = {{u"CN=Ana", u"CN=Lab CA", u"ana@lab"},
                               {u"CN=Bo\u00e9 \u6771\u4eac", u"CN=Other CA", u"bo@lab"}};
        certificates.authorities = {{u"Lab Root", u"", u""}, {u"Other Root", u"x", u""}};
    }
    void open(const std::function<void(WpaSettingsDialog&)>& user,
              DialogCode parent = DialogCode::Main) {
        WpaSettingsDialog dialog(wpaSettings, environment);
        dialog.setParentCode(parent);
        run<WpaSettingsDialog>(dialog, user);
    }

    ChosenCertificates certificates;
    SettingsContext wpaSettings{bed.registry, "Halvo", "rizorivu", library,
                                bed.clock,    ansi,    wpa,        certificates};
};

TEST(WpaSettingsDialog, ViewingShowsTheStoredValuesWithNothingEditable) {
    struct Case {
        const char* protocol;
        const char* subject;
        std::string shown;
    };
    const Case cases[] = {{"0", "CN=Ana", "CN=Ana -issued by CN=Lab CA"},
                          {"1", "Lab Root", "Lab Root"},
                          {"1", "", " "},
                          {"7", "CN=Ana", "CN=Ana -issued by CN=Lab CA"}};
    for (const Case& c : cases) {
        WpaBed s;
        s.store("Dot1xProtocol", c.protocol);
        s.store("Dot1xCertSubject", c.subject);
        s.store("Dot1xCertIssuer", "CN=Lab CA");
        s.store("Dot1xUsername", "ana");
        s.store("Dot1xPassword", "secret-password");
        s.open([&](WpaSettingsDialog& d) {
            EXPECT_EQ(d.title().text(), "WPA Setting...  ");
            EXPECT_FALSE(d.editing());
            EXPECT_EQ(d.stateButton.text(), "Change");
            EXPECT_EQ(d.certificateList.selectedItem(), c.shown) << c.protocol;
            EXPECT_EQ(d.methodList.selectedItem(), std::string(c.protocol) == "1" ? "PEAP" : "TLS");
            EXPECT_EQ(d.userNameField.text(), "ana");
            EXPECT_EQ(d.passwordField.text(), "");  // stored secrets are never shown
            const std::array<const ui::Control*, 6> controls = {
                &d.methodList,      &d.userNameField,   &d.passwordField,
                &d.passphraseField, &d.certificateList, &d.wepKeyButton};
            for (const ui::Control* control : controls) {
                EXPECT_FALSE(control->enabled());
            }
        });
    }
}

TEST(WpaSettingsDialog, EditingEnablesByOpenerAuthenticationAndMethod) {
    struct Case {
        DialogCode parent;
        const char* authentication;
        const char* protocol;
        // method, user name, password, passphrase, certificate
        std::array<bool, 5> enabled;
    };
    const Case cases[] = {
        {DialogCode::GeneralSettings, "0", "0", {true, false, false, true, true}},
        {DialogCode::GeneralSettings, "4", "1", {true, true, true, true, true}},
        {DialogCode::Main, "3", "0", {true, false, false, false, true}},
        {DialogCode::Main, "3", "1", {true, true, true, false, true}},
        {DialogCode::Main, "4", "1", {false, false, false, true, false}},
        {DialogCode::Main, "5", "0", {false, false, false, true, false}},
        // WPA2 as WPA, WPA2-PSK as WPA-PSK.
        {DialogCode::Main, "6", "0", {true, false, false, false, true}},
        {DialogCode::Main, "6", "1", {true, true, true, false, true}},
        {DialogCode::Main, "7", "1", {false, false, false, true, false}},
        // Any other stored mode leaves the enabling of the viewing state.
        {DialogCode::Main, "2", "0", {false, false, false, false, false}},
        {DialogCode::Main, "8", "1", {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        WpaBed s;
        s.store("AuthenticationMode", c.authentication);
        s.store("Dot1xProtocol", c.protocol);
        s.open(
            [&](WpaSettingsDialog& d) {
                d.onStateButton();
                EXPECT_TRUE(d.editing());
                EXPECT_EQ(d.stateButton.text(), "Apply");
                const std::array<bool, 5> enabled = {
                    d.methodList.enabled(), d.userNameField.enabled(), d.passwordField.enabled(),
                    d.passphraseField.enabled(), d.certificateList.enabled()};
                EXPECT_EQ(enabled, c.enabled) << c.authentication << "/" << c.protocol;
                EXPECT_FALSE(d.wepKeyButton.enabled());
            },
            c.parent);
    }
}

TEST(WpaSettingsDialog, CertificateItemsFollowTheMethod) {
    WpaBed s;
    s.store("Dot1xProtocol", "0");
    s.open(
        [&](WpaSettingsDialog& d) {
            d.onStateButton();
            EXPECT_EQ(
                d.certificateList.items(),
                (std::vector<std::string>{"CN=Ana -issued by CN=Lab CA",
                                          "CN=Bo\u00e9 \u6771\u4eac -issued by CN=Other CA"}));
            EXPECT_EQ(d.certificateList.selected(), 0);
            d.methodList.select(WpaSettingsDialog::kPeap);
            d.onMethodChosen();
            EXPECT_EQ(d.certificateList.items(),
                      (std::vector<std::string>{"Lab Root", "Other Root"}));
            EXPECT_EQ(d.certificateList.selected(), 0);
            EXPECT_TRUE(d.userNameField.enabled());
            d.methodList.select(WpaSettingsDialog::kTls);
            d.onMethodChosen();
            EXPECT_FALSE(d.passwordField.enabled());
            EXPECT_EQ(d.certificateList.count(), 2);
        },
        DialogCode::GeneralSettings);
    EXPECT_EQ(s.certificates.clientFills, 2);
    EXPECT_EQ(s.certificates.authorityFills, 1);
}

TEST(WpaSettingsDialog, ListCountsTheLibraryGetsWrongStayInsideTheList) {
    for (const int answer : {-3, 0, 600}) {
        WpaBed s;
        s.certificates.answer = answer;
        s.open(
            [&](WpaSettingsDialog& d) {
                d.onStateButton();
                EXPECT_EQ(d.certificateList.count(), answer < 0 ? 0 : std::min(answer, 500));
                d.onStateButton();
            },
            DialogCode::GeneralSettings);
        EXPECT_EQ(s.station("Dot1xCertSubject"), answer > 0 ? "CN=Ana" : "Not Found");
    }
}

TEST(WpaSettingsDialog, ApplyStoresTheChosenCredentials) {
    struct Case {
        const char* name;
        int method;
        int certificate;  // -1: an empty store
        const char* userName;
        const char* password;
        std::map<std::string, std::string> stored;
    };
    const Case cases[] = {
        {"TLS takes the identity from the certificate",
         0,
         1,
         "typed",
         "",
         {{"Dot1xProtocol", "0"},
          {"Dot1xCertSubject", "CN=Bo\u00e9 \u6771\u4eac"},
          {"Dot1xCertIssuer", "CN=Other CA"},
          {"Dot1xUsername", "bo@lab"},
          {"Dot1xPassword", "kept-password"}}},
        {"TLS without certificates",
         0,
         -1,
         "",
         "",
         {{"Dot1xCertSubject", "Not Found"},
          {"Dot1xCertIssuer", "Not Found"},
          {"Dot1xUsername", " "}}},
        {"PEAP with a new password",
         1,
         0,
         "ana",
         "n3w",
         {{"Dot1xProtocol", "1"},
          {"Dot1xCertSubject", "Lab Root"},
          {"Dot1xUsername", "ana"},
          {"Dot1xPassword", "n3w"}}},
        {"PEAP keeps the stored password",
         1,
         1,
         "",
         "",
         {{"Dot1xUsername", " "}, {"Dot1xPassword", "kept-password"}}},
    };
    for (const Case& c : cases) {
        WpaBed s;
        s.store("Dot1xPassword", "kept-password");
        if (c.certificate < 0) {
            s.certificates.client.clear();
        }
        s.open(
            [&](WpaSettingsDialog& d) {
                d.onStateButton();
                d.methodList.select(c.method);
                d.onMethodChosen();
                d.certificateList.select(c.certificate);
                d.userNameField.setText(c.userName);
                d.passwordField.setText(c.password);
                d.onStateButton();
                EXPECT_FALSE(d.editing());
            },
            DialogCode::GeneralSettings);
        for (const auto& [name, value] : c.stored) {
            EXPECT_EQ(s.station(name), value) << c.name << ": " << name;
        }
    }
}

TEST(WpaSettingsDialog, PeapWithNoPasswordEverStoredGetsTheFallback) {
    WpaBed s;
    s.store("Dot1xProtocol", "1");
    s.open(
        [](WpaSettingsDialog& d) {
            d.onStateButton();
            d.onStateButton();
        },
        DialogCode::GeneralSettings);
    EXPECT_EQ(s.station("Dot1xPassword"), "Vodid");
}

TEST(WpaSettingsDialog, PassphraseOutsideTheRuleIsRefusedAndNothingStored) {
    struct Case {
        std::string typed;
        bool accepted;
    };
    const Case cases[] = {
        {std::string(8, 'a'), true},  {std::string(63, 'b'), true},  {"", true},
        {std::string(7, 'c'), false}, {std::string(64, 'd'), false}, {std::string(200, 'e'), false},
        {"caf\u00e9 au lait", false}, {"tab\there!", false}};
    for (const Case& c : cases) {
        WpaBed s;
        s.store("AuthenticationMode", "4");
        s.store("Dot1xPassphrase", "stored passphrase");
        s.store("Dot1xProtocol", "7");
        s.open([&](WpaSettingsDialog& d) {
            d.onStateButton();
            d.passphraseField.setText(c.typed);
            d.onStateButton();
            EXPECT_EQ(d.editing(), !c.accepted);
        });
        const std::string expected =
            c.accepted && !c.typed.empty() ? c.typed : std::string("stored passphrase");
        EXPECT_EQ(s.station("Dot1xPassphrase"), expected) << c.typed.size();
        EXPECT_EQ(s.station("Dot1xProtocol"), c.accepted ? "0" : "7");
        ASSERT_EQ(s.host.messages().size(), c.accepted ? 0u : 1u);
        if (!c.accepted) {
            const auto& box = s.host.messages().front().box;
            EXPECT_NE(box.text.find("8 to 63"), std::string::npos);
            if (!c.typed.empty()) {
                EXPECT_EQ(box.text.find(c.typed), std::string::npos);  // no secret in the box
            }
        }
    }
}

TEST(WpaSettingsDialog, OpenedFromGeneralSettingsEveryPressRestartsWpa) {
    struct Case {
        DialogCode parent;
        const char* authentication;
        int stops;
        int starts;
    };
    const Case cases[] = {{DialogCode::GeneralSettings, "3", 2, 2},
                          {DialogCode::GeneralSettings, "4", 2, 2},
                          {DialogCode::GeneralSettings, "5", 2, 0},
                          {DialogCode::GeneralSettings, "6", 2, 2},
                          {DialogCode::GeneralSettings, "7", 2, 2},
                          {DialogCode::GeneralSettings, "2", 2, 0},
                          {DialogCode::Main, "4", 0, 0}};
    for (const Case& c : cases) {
        WpaBed s;
        s.store("AuthenticationMode", c.authentication);
        s.open(
            [](WpaSettingsDialog& d) {
                d.onStateButton();
                d.onStateButton();
            },
            c.parent);
        EXPECT_EQ(s.wpa.stops, c.stops) << c.authentication;
        EXPECT_EQ(s.wpa.starts, c.starts) << c.authentication;
    }
}

}  // namespace
}  // namespace rizorivu
