#include "sim/ClassKeyInstaller.h"

namespace rizorivu::sim {

std::string ClassKeyInstaller::classKeyPath(OsFamily family, const std::string& classInstance) {
    if (family == OsFamily::Windows9x) {
        return "System\\CurrentControlSet\\Services\\Class\\Net\\" + classInstance;
    }
    return "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" +
           classInstance;
}

bool ClassKeyInstaller::install(const World& world) {
    bool ok = true;
    for (const WorldAdapter& adapter : world.adapters) {
        const std::string path = classKeyPath(world.machine.family, adapter.classInstance);
        // An unchanged value is not written again, so that re-reading an edited world costs
        // no registry transactions.
        if (registry_.readString(Hive::LocalMachine, path, "MatchingDeviceId") !=
            adapter.deviceId) {
            ok = registry_.writeString(Hive::LocalMachine, path, "MatchingDeviceId",
                                       adapter.deviceId) &&
                 ok;
        }
        if (registry_.readString(Hive::LocalMachine, path, "DriverDesc") != adapter.description) {
            ok = registry_.writeString(Hive::LocalMachine, path, "DriverDesc",
                                       adapter.description) &&
                 ok;
        }
    }
    return ok;
}

}  // namespace rizorivu::sim
