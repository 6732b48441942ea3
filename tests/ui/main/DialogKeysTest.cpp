// Enter and Escape in the utility's dialogs, as a keyboard user presses them: Enter presses the
// dialog's default button ("Apply" while editing) and never throws away what was typed; Escape
// cancels.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/ui/ap/ApBed.h"
#include "ui/station/AdvancedSettingsDialog.h"
#include "ui/station/GeneralSettingsDialog.h"
#include "ui/station/WepKeysDialog.h"
#include "ui/wpa/WpaSettingsDialog.h"

namespace rizorivu {
namespace {

using testing::ApBed;
using testing::StationBed;
using ui::DialogResult;

// What the two keys did to a dialog's run.
struct Keys {
    bool endedByEnter = false;
    bool editingAfterEnter = false;
    DialogResult escape = DialogResult::Closed;
};

// Enter, then Escape when the dialog is still open.
template <class D>
void enterThenEscape(D& d, Keys& keys) {
    d.onOk();
    keys.endedByEnter = d.ended();
    keys.editingAfterEnter = d.editing();
    if (!d.ended()) {
        d.onCancel();
        keys.escape = d.result();
    }
}

// A dialog typed into while editing: Enter applies (the dialog goes back to viewing and stays
// open), and the typed value is stored.
TEST(DialogKeys, EnterWhileEditingAppliesWhatWasTyped) {
    struct Outcome {
        Keys keys;
        std::string stored;
    };
    struct Case {
        const char* dialog;
        std::function<Outcome()> typeThenPressKeys;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"WEP keys",
         [] {
             StationBed s;
             Outcome out;
             ui::WepKeysDialog dialog(s.settings, s.configuration, s.environment);
             s.run<ui::WepKeysDialog>(dialog, [&](ui::WepKeysDialog& d) {
                 d.onStateButton();
                 d.keyFields[0].setText("0A0B0C0D0E");
                 d.onKeyEdited(0);
                 enterThenEscape(d, out.keys);
             });
             out.stored = s.station("WEPKey64_0");
             return out;
         },
         "0A 0B 0C 0D 0E"},
        {"WPA settings",
         [] {
             StationBed s;
             Outcome out;
             ui::WpaSettingsDialog dialog(s.settings, s.environment);
             dialog.setParentCode(ui::DialogCode::Main);
             s.run<ui::WpaSettingsDialog>(dialog, [&](ui::WpaSettingsDialog& d) {
                 d.onStateButton();
                 d.passphraseField.setText("correct horse");
                 enterThenEscape(d, out.keys);
             });
             out.stored = s.station("Dot1xPassphrase");
             return out;
         },
         "correct horse"},
        {"general settings",
         [] {
             StationBed s;
             Outcome out;
             ui::GeneralSettingsDialog dialog(s.settings, s.configuration, s.environment,
                                              s.languages);
             dialog.setParentCode(ui::DialogCode::Main);
             s.run<ui::GeneralSettingsDialog>(dialog, [&](ui::GeneralSettingsDialog& d) {
                 d.onStateButton();
                 d.anyCheck.setChecked(false);
                 d.onAnyClicked();
                 d.ssidField.setText("Typed");
                 enterThenEscape(d, out.keys);
             });
             out.stored = s.station("SSID");
             return out;
         },
         "Typed"},
        {"access point settings",
         [] {
             ApBed s;
             Outcome out;
             s.openSettings([&](ui::AccessPointSettingsDialog& d) {
                 d.onStateButton();
                 d.ssidField.setText("Typed");
                 enterThenEscape(d, out.keys);
             });
             out.stored = s.ap("SSID");
             return out;
         },
         "Typed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        const Outcome out = c.typeThenPressKeys();
        EXPECT_FALSE(out.keys.endedByEnter);
        EXPECT_FALSE(out.keys.editingAfterEnter) << "Enter pressed Apply";
        EXPECT_EQ(out.keys.escape, DialogResult::Cancel);
        EXPECT_EQ(out.stored, c.expected);
    }
}

// The advanced settings act at once and have no default button; the MAC filter's Apply is
// always on offer, and a malformed address it refuses stays typed.
TEST(DialogKeys, DialogsWithoutAStateButton) {
    StationBed s;
    ui::AdvancedSettingsDialog advanced(s.settings, s.configuration, s.environment, s.languages);
    s.run<ui::AdvancedSettingsDialog>(advanced, [](ui::AdvancedSettingsDialog& d) {
        d.onOk();
        EXPECT_FALSE(d.ended());
        d.onCancel();
    });
    EXPECT_EQ(advanced.result(), DialogResult::Cancel);

    ApBed ap;
    ap.openFilter([](ui::MacFilterDialog& d) {
        d.slotFields[2].setText("02:C0:00:00:00:0B");
        d.onOk();
        d.slotFields[4].setText("not an address");
        d.onOk();
        EXPECT_EQ(d.slotFields[4].text(), "not an address");
        EXPECT_FALSE(d.ended());
    });
    EXPECT_EQ(ap.count("SetWLAP_FilterList"), 1);
    EXPECT_EQ(ap.host.messages().size(), 1u) << "the second Enter named the malformed slot";
}

// A passphrase the key mapping cannot take: Enter says so and keeps the dialog editing with the
// typed text, so that the user can correct it.
TEST(DialogKeys, EnterOnARefusedPassphraseKeepsItForCorrecting) {
    StationBed s;
    s.store("Dot1xPassphrase", "stored passphrase");
    ui::WpaSettingsDialog dialog(s.settings, s.environment);
    dialog.setParentCode(ui::DialogCode::Main);
    s.run<ui::WpaSettingsDialog>(dialog, [](ui::WpaSettingsDialog& d) {
        d.onStateButton();
        d.passphraseField.setText("short");
        d.onOk();
        EXPECT_FALSE(d.ended());
        EXPECT_TRUE(d.editing());
        EXPECT_EQ(d.passphraseField.text(), "short");
    });
    ASSERT_EQ(s.host.messages().size(), 1u);
    EXPECT_NE(s.host.messages()[0].box.text.find("8 to 63"), std::string::npos);
    EXPECT_EQ(s.station("Dot1xPassphrase"), "stored passphrase");
}

}  // namespace
}  // namespace rizorivu
