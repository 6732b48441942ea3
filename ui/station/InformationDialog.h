#pragma once

#include <string>

#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace rizorivu {
struct SettingsContext;
}

namespace rizorivu::ui {

// Read-only facts about the adapter and the utility: the driver version, the utility's own
// version with the build's date and time, and the MAC address. They are read once when the
// dialog opens; a language change re-captions the labels only.
class InformationDialog final : public Dialog {
public:
    // The build stamp defaults to this build's own.
    InformationDialog(SettingsContext& settings, const DialogEnvironment& environment,
                      std::string buildDate = __DATE__, std::string buildTime = __TIME__);

    // --- controls
    Label heading;
    Label driverLabel;
    Label driverValue;
    Label utilityLabel;
    Label utilityValue;
    Label macLabel;
    Label macValue;
    Button okButton;

    // --- Dialog
    void recaption() override;

protected:
    void onInitialise() override;

private:
    SettingsContext& settings_;
    std::string buildDate_;
    std::string buildTime_;
};

}  // namespace rizorivu::ui
