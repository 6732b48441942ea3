#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/Environment.h"

namespace rizorivu::qt {

// Whether Qt has a window system to talk to: a platform chosen explicitly (QT_QPA_PLATFORM or
// the -platform argument) or an X11 or Wayland display. Asked before QApplication exists,
// because Qt aborts when it cannot connect.
bool displayAvailable(const Environment& environment, std::span<const std::string> arguments);

// The one line printed when there is none.
constexpr std::string_view kNoDisplayMessage =
    "rizorivu: no display found; start it in a desktop session, or set "
    "QT_QPA_PLATFORM=offscreen to run without one";

}  // namespace rizorivu::qt
