#pragma once

#include <memory>
#include <string>

#include "adapter/CertificateList.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/DropDownList.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/TextField.h"

namespace rizorivu {
struct SettingsContext;
}

namespace rizorivu::ui {

// The credentials of a WPA connection: the 802.1X method (TLS or PEAP), a certificate from
// the user's store (TLS: a client certificate; PEAP: a CA certificate), the PEAP user name and
// password, and the pre-shared passphrase. Viewing shows what is stored; "Change" starts
// editing, and "Apply" stores the values in the station's last settings, where the WPA
// connection reads them. Stored secrets are never shown: an empty password or passphrase
// field keeps the stored one, and a passphrase that breaks the rule is refused rather than
// stored. Opened from the general settings, a press of the state button also restarts the
// WPA connection.
class WpaSettingsDialog final : public Dialog {
public:
    static constexpr int kTls = 0;
    static constexpr int kPeap = 1;
    static constexpr int kShortestPassphrase = 8;
    static constexpr int kLongestPassphrase = 63;
    // Nothing a user can type reaches the store longer than this.
    static constexpr std::size_t kFieldLimit = 200;

    WpaSettingsDialog(SettingsContext& settings, const DialogEnvironment& environment);
    ~WpaSettingsDialog() override;

    // --- controls
    GroupBox connectionFrame;
    Label methodLabel;
    DropDownList methodList;
    Label userNameLabel;
    TextField userNameField;
    Label passwordLabel;
    TextField passwordField;  // shows mask characters
    GroupBox presharedFrame;
    Label passphraseLabel;
    TextField passphraseField;  // shows mask characters
    Label passphraseHint;
    GroupBox certificateFrame;
    DropDownList certificateList;
    GroupBox wepFrame;
    Button wepKeyButton;  // always disabled
    Button stateButton;

    // --- Dialog
    void recaption() override;

    // --- user actions, called by the view after the control models took the user's change
    void onMethodChosen();
    void onStateButton();

    // --- state, for views and tests
    bool editing() const { return editing_; }
    // Whether a passphrase is one the WPA key mapping takes: 8 to 63 printable ASCII
    // characters.
    static bool acceptablePassphrase(std::string_view passphrase);

protected:
    void onInitialise() override;

private:
    void refresh();
    void showEditing(int method);
    void showViewing(int method);
    void fillCertificates(int method);
    // Stores the edited values; false, storing nothing, when the passphrase is refused.
    bool apply();
    std::string tlsIdentity(int entry) const;
    int storedMethod() const;
    std::string stored(std::string_view name) const;
    void store(std::string_view name, std::string_view value) const;

    SettingsContext& settings_;
    // Half a megabyte: kept off the stack of the modal run.
    std::unique_ptr<CertificateList> certificates_;
    int certificateCount_ = 0;
    bool editing_ = false;
};

}  // namespace rizorivu::ui
