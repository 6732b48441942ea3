#pragma once

#include <functional>

#include "app/StartupTexts.h"

namespace rizorivu {

struct Session;

// The last steps of start-up, which need a window system: build the session's windows
// (SessionWindows), run the main window modally, and destroy them when it ends. The toolkit layer
// implements it; start-up itself stays testable without one.
class MainWindowRunner {
public:
    virtual ~MainWindowRunner() = default;
    // Answers the process's exit code. `windowFindable` is called once the main window's
    // caption can be found by a later start; start-up holds back other starts until then.
    virtual int run(Session& session, const StartupTexts& trayTexts,
                    const std::function<void()>& windowFindable) = 0;
};

}  // namespace rizorivu
