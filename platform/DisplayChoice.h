#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/DisplayProbe.h"
#include "platform/Environment.h"

namespace rizorivu {

// The window system the utility starts on, decided before the toolkit exists.
//
// A platform given on the command line ("-platform") is taken as it is. A platform list in
// QT_QPA_PLATFORM is usable when one of its entries is: an X11 ("xcb") or Wayland entry only
// when its display answers, any other (offscreen, vnc, ...) always. Otherwise the display the
// session names is probed: Wayland first in a Wayland session, else X11, else Wayland; the
// one that answers is named in `platform` so the toolkit does not pick one that cannot.
struct DisplayChoice {
    bool available = false;
    // The platform to start on when the choice was the utility's; empty to leave it to the
    // toolkit (an explicit request, or nothing available).
    std::string platform;

    static DisplayChoice decide(const Environment& environment,
                                std::span<const std::string> arguments, const DisplayProbe& probe);
};

// The one line printed when no display can be used, whether none is named or the named one
// does not answer.
constexpr std::string_view kNoDisplayMessage =
    "rizorivu: no display found; start it in a desktop session, or set "
    "QT_QPA_PLATFORM=offscreen to run without one";

}  // namespace rizorivu
