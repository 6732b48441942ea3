#pragma once

#include <atomic>

#include "settings/Configuration.h"
#include "settings/LocalizedText.h"
#include "platform/ApplicationPaths.h"
#include "platform/PrivateProfile.h"
#include "settings/SettingsContext.h"
#include "ui/OpenDialogChain.h"

namespace rizorivu {

// Everything the utility keeps for the life of the process, built once by start-up and
// passed by reference: there are no globals. A test builds its own with a temporary
// registry, the simulated adapter and a virtual clock.
//
// The registry, the adapter library, the clock and the WPA connection come from outside so
// that start-up and tests can choose them; the rest is built here in dependency order.
struct ApplicationContext {
    ApplicationContext(const ApplicationPaths& paths, const Configuration& configuration,
                       const CodePage& ansi, PrivateProfile& profile, RegistryStore& registry,
                       AdapterLibrary& library, Clock& clock, WpaConnection& wpa)
        : paths(paths),
          configuration(configuration),
          text(profile),
          settings(registry, configuration.companyAbbrev, paths.applicationName, library, clock,
                   ansi, wpa) {}

    ApplicationContext(const ApplicationContext&) = delete;
    ApplicationContext& operator=(const ApplicationContext&) = delete;

    const ApplicationPaths paths;
    const Configuration configuration;
    LocalizedText text;
    SettingsContext settings;
    ui::OpenDialogChain chain;
};

}  // namespace rizorivu
