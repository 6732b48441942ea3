#pragma once

#include <atomic>

#include "adapter/AdapterLibrary.h"
#include "adapter/AdapterRecord.h"
#include "app/Configuration.h"
#include "app/LocalizedText.h"
#include "platform/ApplicationPaths.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryStore.h"
#include "settings/ApplicationKey.h"
#include "settings/LastSettings.h"
#include "settings/LastSettingsReplay.h"
#include "settings/OperatingMode.h"
#include "settings/ProfileStore.h"
#include "settings/SettingApplier.h"
#include "settings/WpaConnection.h"
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
          ansi(ansi),
          text(profile),
          registry(registry),
          appKey(registry, configuration.companyAbbrev, paths.applicationName),
          last(appKey, mode, ansi),
          profiles(appKey),
          library(library),
          clock(clock),
          wpa(wpa),
          applier(library, adapter, last, clock, wpa),
          replay(library, adapter, last, applier, wpa) {}

    ApplicationContext(const ApplicationContext&) = delete;
    ApplicationContext& operator=(const ApplicationContext&) = delete;

    const ApplicationPaths paths;
    const Configuration configuration;
    const CodePage& ansi;
    LocalizedText text;
    RegistryStore& registry;
    ApplicationKey appKey;
    OperatingMode mode;
    LastSettings last;
    ProfileStore profiles;
    AdapterLibrary& library;
    AdapterRecord adapter;
    Clock& clock;
    WpaConnection& wpa;
    SettingApplier applier;
    LastSettingsReplay replay;
    ui::OpenDialogChain chain;

    // 1 from start-up until the user first opens the main window from the tray: the main
    // window hides itself on every status tick until then.
    int startHidden = 1;
    // The Zero Configuration status found when the adapter was opened; -1 before any adapter
    // was opened and after the adapter was lost.
    int savedWzcStatus = -1;
};

}  // namespace rizorivu
