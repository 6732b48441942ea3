#pragma once

#include <sstream>

#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "settings/ApplicationKey.h"
#include "settings/LastSettings.h"
#include "settings/OperatingMode.h"
#include "settings/ProfileStore.h"
#include "tests/support/TempDir.h"

namespace rizorivu::testing {

// A registry in a temporary folder with the application key of an executable named
// "rizorivu" of the default company, and the settings objects built on it.
struct TestRegistry {
    TempDir dir;
    std::ostringstream diagnostics;
    RegistryStore store{HiveLocations::inDirectory(dir.path()), diagnostics};
    ApplicationKey appKey{store, "Halvo", "rizorivu"};
    CodePage ansi{CodePage::kDefaultName};
    OperatingMode mode;
    LastSettings lastSettings{appKey, mode, ansi};
    ProfileStore profiles{appKey};

    std::optional<std::string> userString(std::string_view subKey, std::string_view name) {
        return store.readString(Hive::CurrentUser, appKey.pathOf(subKey), name);
    }
};

}  // namespace rizorivu::testing
