#pragma once

#include <functional>
#include <string_view>

#include "ui/DialogCode.h"

namespace rizorivu {
class ApplicationKey;
class LocalizedText;
}  // namespace rizorivu

namespace rizorivu::ui {

class OpenDialogChain;

// Makes another language current everywhere at once: every open window is re-captioned along
// the open-dialog chain, the choice and the new main-window title are stored for the next
// start (which finds the running instance by that title), and the tray icon gets its texts in
// the new language. The tray is reached through `TrayTexts`, so this stays free of any
// window system.
class LanguageSwitch {
public:
    struct TrayTexts {
        std::function<void(std::string_view tooltip)> setTooltip;
        std::function<void(std::string_view openText, std::string_view exitText)> setMenuTexts;
    };

    LanguageSwitch(LocalizedText& texts, OpenDialogChain& chain, const ApplicationKey& appKey,
                   TrayTexts tray);

    // Language row `row` (0-based) of the language list, re-captioning from the dialog open
    // under `start`. A negative row, or one the language list does not have, changes nothing.
    void apply(int row, DialogCode start);

private:
    LocalizedText& texts_;
    OpenDialogChain& chain_;
    const ApplicationKey& appKey_;
    TrayTexts tray_;
};

}  // namespace rizorivu::ui
