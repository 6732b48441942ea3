#pragma once

#include <functional>
#include <string>

namespace rizorivu {

struct ApplicationContext;

// The localized texts start-up hands to the tray icon it has the runner create.
struct StartupTexts {
    std::string tooltip;   // "MP_Small_Icon_Tip"
    std::string openText;  // "MP_Small_Icon_Item_1"
    std::string exitText;  // "MP_Small_Icon_Item_2"
};

// The last steps of start-up, which need a window system: create the main window and the tray
// icon (with status icon 0, the "Tray" menu and "Open Utility Window" as its default command,
// then taken out of the notification area until the main window puts it back), run the main
// window modally, and destroy both when it ends. The toolkit layer implements it; start-up
// itself stays testable without one.
class MainWindowRunner {
public:
    virtual ~MainWindowRunner() = default;
    // Answers the process's exit code. `windowFindable` is called once the main window's
    // caption can be found by a later start; start-up holds back other starts until then.
    virtual int run(ApplicationContext& context, const StartupTexts& trayTexts,
                    const std::function<void()>& windowFindable) = 0;
};

}  // namespace rizorivu
