#pragma once

#include <string>
#include <vector>

#include "app/StartupTexts.h"
#include "platform/ApplicationPaths.h"
#include "platform/PrivateProfile.h"
#include "settings/Configuration.h"
#include "settings/LocalizedText.h"
#include "settings/SettingsContext.h"
#include "ui/OpenDialogChain.h"

namespace rizorivu {

// Everything the utility keeps for the life of the process, built once by start-up and
// passed by reference: there are no globals. The windows that run on it come from
// SessionWindows, once a window system is there. A test builds its own with a temporary
// registry, the simulated adapter and a virtual clock.
//
// The registry, the adapter library, the clock and the WPA connection come from outside so
// that start-up and tests can choose them; the rest is built here in dependency order.
struct Session {
    Session(const ApplicationPaths& paths, const Configuration& configuration, const CodePage& ansi,
            PrivateProfile& profile, RegistryStore& registry, AdapterLibrary& library, Clock& clock,
            WpaConnection& wpa, Dot1xLibrary& dot1x)
        : paths(paths),
          configuration(configuration),
          text(profile),
          settings(registry, configuration.companyAbbrev, paths.applicationName, library, clock,
                   ansi, wpa, dot1x) {}

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The tray icon's tooltip and menu in the current language.
    StartupTexts trayTexts() const;

    const ApplicationPaths paths;
    const Configuration configuration;
    LocalizedText text;
    SettingsContext settings;
    ui::OpenDialogChain chain;
    // The damaged hives start-up found moved aside (their new paths); the user is told once,
    // when the main window first shows.
    std::vector<std::string> damagedHives;
};

}  // namespace rizorivu
