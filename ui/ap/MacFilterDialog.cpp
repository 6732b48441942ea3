#include "ui/ap/MacFilterDialog.h"

#include <algorithm>
#include <span>

#include "platform/Unicode.h"
#include "settings/HexText.h"
#include "settings/LastSettings.h"
#include "settings/NumberText.h"
#include "settings/SettingNames.h"
#include "settings/SettingsContext.h"
#include "ui/ap/ChoiceTexts.h"
#include "ui/ap/MacAddressEntry.h"

namespace rizorivu::ui {

namespace {

// A stored address is hex text as well; an unreadable one shows as an empty slot.
std::string storedAddressText(const std::string& stored) {
    std::array<std::uint8_t, MacAddressEntry::kBytes> bytes{};
    HexTextToBytes(stored, bytes);
    if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; })) {
        return {};
    }
    return BytesToHexText(bytes);
}

std::string slotNumber(int slot) {
    return decimalText(slot, 2);
}

}  // namespace

MacFilterDialog::MacFilterDialog(SettingsContext& settings, const DialogEnvironment& environment)
    : Dialog(DialogCode::MacFilter, environment), settings_(settings) {
    setDefaultButton(applyButton, [this] { onApply(); });
}

void MacFilterDialog::recaption() {
    title().setText(text("AP_BS_Dialog_Title", "MAC Address Filter"));
    typeLabel.setText(text("AP_MAC_Filter_Type_Text", "Filter Type:"));
    addressGroup.setText(text("AP_MAC_Filter_Address_Text", "Filte MAC Address"));
    applyButton.setText(text("AP_MAC_Filter_Button_Apply", "Apply"));
    for (int slot = 0; slot < kSlots; ++slot) {
        slotLabels[static_cast<std::size_t>(slot)].setText(slotNumber(slot) + ".");
    }
    const int row = typeList.selected();
    typeList.setItems(numberedTexts(texts(), "AP_MAC_Filter_Type_", 0, kFilterModes));
    typeList.select(row);
}

void MacFilterDialog::onInitialise() {
    const std::string modeText =
        settings_.last.lastSettingText(OperatingMode::kAccessPoint, settingname::kMacFilterMode);
    int mode = modeText.empty() ? -1 : decimalTextToInt(modeText);
    if (mode < 0 || mode >= kFilterModes) {
        mode = 0;
        settings_.applier.applyMacFilterMode(0);
    }
    typeList.select(mode);

    for (int slot = 0; slot < kSlots; ++slot) {
        TextField& field = slotFields[static_cast<std::size_t>(slot)];
        field.setMaxLength(kFieldChars);
        field.setText(storedAddressText(settings_.last.lastSettingText(
            OperatingMode::kAccessPoint,
            settingname::macFilterAddress(static_cast<std::size_t>(slot)))));
    }
}

void MacFilterDialog::onTypeChosen() {
    if (typeList.selected() >= 0) {
        settings_.applier.applyMacFilterMode(typeList.selected());
    }
}

MacFilterDialog::Reading MacFilterDialog::readSlots() const {
    Reading reading;
    for (int slot = 0; slot < kSlots; ++slot) {
        const MacAddressEntry entry =
            MacAddressEntry::read(slotFields[static_cast<std::size_t>(slot)].text());
        if (entry.kind == MacAddressEntry::Kind::Malformed ||
            entry.kind == MacAddressEntry::Kind::Group) {
            reading.badSlot = slot;
            return reading;
        }
        std::uint8_t* out = reading.list.data() + slot * kEntryBytes;
        out[0] = entry.kind == MacAddressEntry::Kind::Address ? 1 : 0;
        std::copy(entry.bytes.begin(), entry.bytes.end(), out + 1);
    }
    return reading;
}

void MacFilterDialog::onApply() {
    const Reading reading = readSlots();
    if (reading.badSlot >= 0) {
        const std::string& typed = slotFields[static_cast<std::size_t>(reading.badSlot)].text();
        const bool group = MacAddressEntry::read(typed).kind == MacAddressEntry::Kind::Group;
        const std::string message =
            group ? text("AP_MAC_Filter_Group_Address",
                         "is a group address. A station's address has an even first byte.")
                  : text("AP_MAC_Filter_Bad_Address",
                         "is not a MAC address. Type six pairs of hex digits, such as "
                         "00 0A 95 9D 68 16.");
        ask(MessageBox{slotNumber(reading.badSlot) + ". \"" +
                           std::string(utf8Prefix(typed, kFieldChars)) + "\" " + message,
                       title().text(), MessageButtons::Ok, MessageIcon::Exclamation});
        return;
    }
    settings_.applier.applyMacFilterList(reading.list);
}

}  // namespace rizorivu::ui
