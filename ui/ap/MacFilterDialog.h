#pragma once

#include <array>
#include <cstdint>

#include "adapter/AdapterLibrary.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace rizorivu {
struct SettingsContext;
}

namespace rizorivu::ui {

// The access point's MAC address filter: the filter type, sent at once when it changes, and
// sixteen address slots, handed to the adapter together on "Apply". A slot whose text is not
// an address stops the Apply with a message naming the slot, so nothing the user typed is
// lost and nothing half-read reaches the adapter.
class MacFilterDialog final : public Dialog {
public:
    static constexpr int kSlots = 16;
    static constexpr int kEntryBytes = 7;  // in-use byte, then the six address bytes
    static constexpr int kFilterModes = 3;
    static constexpr int kFieldChars = 29;  // "00 0A 95 9D 68 16" with room for tabs
    using FilterList = std::array<std::uint8_t, adapterbuf::kFilterListBytes>;

    MacFilterDialog(SettingsContext& settings, const DialogEnvironment& environment);

    // --- controls
    Label typeLabel;
    DropDownList typeList;
    GroupBox addressGroup;
    std::array<Label, kSlots> slotLabels;
    std::array<TextField, kSlots> slotFields;
    Button applyButton;

    // --- Dialog
    void recaption() override;

    // --- user actions, called by the view after the control models took the user's change
    void onTypeChosen();
    void onApply();

    // The list the slots' texts make, or the first slot (0-15) that holds no address.
    struct Reading {
        FilterList list{};
        int badSlot = -1;
    };
    Reading readSlots() const;

protected:
    void onInitialise() override;

private:
    SettingsContext& settings_;
};

}  // namespace rizorivu::ui
