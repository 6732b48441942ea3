#pragma once

#include <string>

namespace rizorivu {

// The localized texts start-up hands to the tray icon it creates.
struct StartupTexts {
    std::string tooltip;   // "MP_Small_Icon_Tip"
    std::string openText;  // "MP_Small_Icon_Item_1"
    std::string exitText;  // "MP_Small_Icon_Item_2"
};

}  // namespace rizorivu
