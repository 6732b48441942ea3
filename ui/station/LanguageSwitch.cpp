#include "ui/station/LanguageSwitch.h"

#include <string>

#include "settings/ApplicationKey.h"
#include "settings/LocalizedText.h"
#include "ui/OpenDialogChain.h"

namespace rizorivu::ui {

namespace {

// Values of the application key itself that the next start reads.
constexpr std::string_view kApplicationKeyItself = "";
constexpr std::string_view kLanguageIdValue = "LanguageId";
constexpr std::string_view kProgramTitleValue = "RIZorivuProgramTitle";

}  // namespace

LanguageSwitch::LanguageSwitch(LocalizedText& texts, OpenDialogChain& chain,
                               const ApplicationKey& appKey, TrayTexts tray)
    : texts_(texts), chain_(chain), appKey_(appKey), tray_(std::move(tray)) {}

void LanguageSwitch::apply(int row, DialogCode start) {
    if (row < 0 || !texts_.select(row + 1)) {
        return;
    }
    chain_.recaptionFrom(start);
    appKey_.writeDword(kApplicationKeyItself, kLanguageIdValue, row + 1);
    appKey_.writeString(kApplicationKeyItself, kProgramTitleValue,
                        texts_.text("MP_Dialog_Title", "Nimbo K-540 Utility"));
    if (tray_.setTooltip) {
        tray_.setTooltip(texts_.text("MP_Small_Icon_Tip", "Nimbo K-540 Utility"));
    }
    if (tray_.setMenuTexts) {
        tray_.setMenuTexts(texts_.text("MP_Small_Icon_Item_1", "Open Utility Window"),
                           texts_.text("MP_Small_Icon_Item_2", "Exit RIZorivu"));
    }
}

}  // namespace rizorivu::ui
