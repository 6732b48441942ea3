#include "ui/station/InformationDialog.h"

#include <array>

#include "settings/SettingsContext.h"
#include "ui/station/VersionText.h"

namespace rizorivu::ui {

namespace {

constexpr int kNoVersion = -1;
// The caption carries two trailing blanks.
constexpr std::string_view kCaptionSuffix = "  ";

}  // namespace

InformationDialog::InformationDialog(SettingsContext& settings,
                                     const DialogEnvironment& environment, std::string buildDate,
                                     std::string buildTime)
    : Dialog(DialogCode::Information, environment),
      settings_(settings),
      buildDate_(std::move(buildDate)),
      buildTime_(std::move(buildTime)) {
    setDefaultButton(okButton, [this] { end(DialogResult::Ok); });
}

void InformationDialog::recaption() {
    title().setText(text("IS_Dialog_Title", "Information...") + std::string(kCaptionSuffix));
    heading.setText(text("IS_Sub_Title", "S Y S T E M   I N F O R M A T I O N"));
    driverLabel.setText(text("IS_Item_Driver_Version", "Driver Version:"));
    utilityLabel.setText(text("IS_Item_Utility_Version", "Utility Version:"));
    macLabel.setText(text("IS_Item_MAC_Address", "MAC Address:"));
    okButton.setText("OK");
}

void InformationDialog::onInitialise() {
    const int version = settings_.library.QueryWL_DriverVersion(&settings_.adapter);
    driverValue.setText(version == kNoVersion
                            ? text("IS_Item_Version_Unknown", "N/A")
                            : driverVersionText(static_cast<std::uint32_t>(version)));
    utilityValue.setText(utilityVersionText(buildDate_, buildTime_));
    // An address the adapter cannot give shows as an empty line.
    std::array<std::uint8_t, adapterbuf::kMacBytes> mac{};
    const bool known = settings_.library.GetNICAdapterMAC(&settings_.adapter, mac) == 0;
    macValue.setText(known ? macAddressText(mac) : std::string());
}

}  // namespace rizorivu::ui
