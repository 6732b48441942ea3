#pragma once

#include <string_view>

#include "adapter/AdapterLibrary.h"
#include "adapter/AdapterRecord.h"
#include "adapter/Dot1xLibrary.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "settings/ApplicationKey.h"
#include "settings/LastSettings.h"
#include "settings/LastSettingsReplay.h"
#include "settings/OperatingMode.h"
#include "settings/ProfileStore.h"
#include "settings/SettingApplier.h"
#include "settings/WpaConnection.h"

namespace rizorivu {

// The open adapter and everything that reads, writes and records its settings: what the main
// window and every settings dialog work with, one instance for the life of the process.
//
// The registry, the adapter library, the clock, the code page, the WPA connection and the
// 802.1X library come from outside so that start-up and tests can choose them; the rest is
// built here in dependency order. Building it touches neither the registry nor the adapter.
struct SettingsContext {
    SettingsContext(RegistryStore& registry, std::string_view company,
                    std::string_view applicationName, AdapterLibrary& library, Clock& clock,
                    const CodePage& ansi, WpaConnection& wpa, Dot1xLibrary& dot1x)
        : registry(registry),
          appKey(registry, company, applicationName),
          last(appKey, mode, ansi),
          profiles(appKey),
          library(library),
          clock(clock),
          ansi(ansi),
          wpa(wpa),
          dot1x(dot1x),
          applier(library, adapter, last, clock, wpa),
          replay(library, adapter, last, applier, wpa) {}

    SettingsContext(const SettingsContext&) = delete;
    SettingsContext& operator=(const SettingsContext&) = delete;

    RegistryStore& registry;
    ApplicationKey appKey;
    OperatingMode mode;
    LastSettings last;
    ProfileStore profiles;
    AdapterLibrary& library;
    AdapterRecord adapter;
    Clock& clock;
    const CodePage& ansi;
    WpaConnection& wpa;
    // The 802.1X library: the WPA settings read the user's certificates through it.
    Dot1xLibrary& dot1x;
    SettingApplier applier;
    LastSettingsReplay replay;
    // The Zero Configuration status found when the adapter was opened; -1 before any adapter
    // was opened and after the adapter was lost.
    int savedWzcStatus = -1;
};

}  // namespace rizorivu
