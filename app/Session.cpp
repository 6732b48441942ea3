#include "app/Session.h"

namespace rizorivu {

StartupTexts Session::trayTexts() const {
    return StartupTexts{
        text.text("MP_Small_Icon_Tip", "RIZorivu --- Wireless LAN Configuration Tool"),
        text.text("MP_Small_Icon_Item_1", "Open Utility Window"),
        text.text("MP_Small_Icon_Item_2", "Exit RIZorivu"),
    };
}

}  // namespace rizorivu
