#pragma once

#include <array>
#include <string>

#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
}  // namespace rizorivu

namespace rizorivu::ui {

// The four WEP keys of the current operating mode, their length, entry format and transmit
// key. Viewing shows the keys as asterisks and lets nothing be changed; "Change" starts
// editing, and "Apply" installs all four keys at once. A key the user did not retype keeps its
// stored value, so stored keys are never shown. Opened from the general settings, the
// access-point settings and the connect flow; only the general settings' opening makes Apply
// re-associate.
class WepKeysDialog final : public Dialog {
public:
    static constexpr int kKeys = 4;
    static constexpr int kLengths = 3;
    static constexpr int kFormats = 2;

    WepKeysDialog(SettingsContext& settings, const Configuration& configuration,
                  const DialogEnvironment& environment);

    // --- controls
    GroupBox frame;
    Label lengthLabel;
    RadioGroup lengthRadios{kLengths};  // 64, 128, 256 bits
    Label transmitKeyLabel;
    DropDownList transmitKeyList;
    Label formatLabel;
    RadioGroup formatRadios{kFormats};  // hexadecimal, ASCII
    Label valueLabel;
    std::array<Label, kKeys> keyLabels;
    std::array<TextField, kKeys> keyFields;
    Button stateButton;

    // --- Dialog
    void recaption() override;

    // --- user actions, called by the view after the control models took the user's change
    void onLengthChosen();
    void onFormatChosen();
    void onKeyEdited(int index);
    void onStateButton();

    // --- state, for views and tests
    bool editing() const { return editing_; }
    int keyLengthIndex() const { return keyLengthIndex_; }
    int keyFormat() const { return keyFormat_; }
    bool modified(int index) const { return modified_.at(static_cast<std::size_t>(index)); }

protected:
    void onInitialise() override;

private:
    void load();
    void mask();
    void showEnabling();
    void apply();

    SettingsContext& settings_;
    const Configuration& configuration_;
    bool editing_ = false;
    int keyLengthIndex_ = 0;
    int keyFormat_ = 0;
    std::array<bool, kKeys> modified_{};
};

}  // namespace rizorivu::ui
