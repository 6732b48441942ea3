#pragma once

#include <string>

#include "platform/RegistryStore.h"
#include "sim/World.h"

namespace rizorivu::sim {

// The simulator's driver installer: writes each adapter's instance key below the network
// adapter class key of the machine hive, with the plug-and-play identifier in
// "MatchingDeviceId" and the description in "DriverDesc", at the path the OS family uses.
class ClassKeyInstaller {
public:
    explicit ClassKeyInstaller(RegistryStore& registry) : registry_(registry) {}

    // The class-key path of an instance on an OS family.
    static std::string classKeyPath(OsFamily family, const std::string& classInstance);

    // False when a write failed (the registry store reports why).
    bool install(const World& world);

private:
    RegistryStore& registry_;
};

}  // namespace rizorivu::sim
