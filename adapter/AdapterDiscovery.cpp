#include "adapter/AdapterDiscovery.h"

#include <cstring>

#include "platform/MachineValue.h"

namespace rizorivu {

namespace {

constexpr std::string_view kClassKey9x = "System\\CurrentControlSet\\Services\\Class\\Net\\";
constexpr std::string_view kClassKeyNt =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
// Opening an adapter waits this long before the main window asks anything of it.
constexpr std::int64_t kSettleMs = 1000;

}  // namespace

AdapterDiscovery::AdapterDiscovery(AdapterLibrary& library, AdapterRecord& adapter,
                                   RegistryStore& registry, const CodePage& ansi, Clock& clock,
                                   std::vector<std::string> configuredDeviceIds)
    : library_(library), adapter_(adapter), registry_(registry), ansi_(ansi), clock_(clock) {
    for (const std::string& id : configuredDeviceIds) {
        if (id.empty()) {
            break;
        }
        configuredIds_.push_back(folder_.upper(id));
    }
}

std::string AdapterDiscovery::classKeyPath(bool windows9x, std::string_view classInstance) {
    std::string path(windows9x ? kClassKey9x : kClassKeyNt);
    path += classInstance;
    return path;
}

bool AdapterDiscovery::discoverAdapters() {
    rows_.clear();
    table_.clear();
    selectedRow_ = -1;

    std::vector<AdapterListEntry> entries(kListCapacity);
    const int found = library_.CreateAllNICAdapterList(entries.data(), kListCapacity);
    if (found <= 0) {
        adapter_.handle = AdapterRecord::kNoAdapter;
        adapterOpen_ = false;
        return false;
    }
    const bool windows9x = library_.QueryWL_IsWindows95() != 0;
    const int count = found < kListCapacity ? found : kListCapacity;
    for (int i = 0; i < count; ++i) {
        const AdapterListEntry& entry = entries[static_cast<std::size_t>(i)];
        std::string deviceId;
        if (readMachineValue(registry_, classKeyPath(windows9x, fieldText(entry.classInstance)),
                             "MatchingDeviceId", deviceId, kMachineValueBuffer) != 0) {
            continue;
        }
        deviceId = folder_.upper(deviceId);
        for (const std::string& configured : configuredIds_) {
            if (configured != deviceId) {
                continue;
            }
            adapter_.handle = AdapterRecord::kNoAdapter;
            std::memcpy(adapter_.name, entry.name, sizeof adapter_.name);
            if (library_.Query_FixWindisPnPBug() != 0 && deferState_ == kNone &&
                configured.find("PCMCIA") != std::string::npos) {
                deferState_ = kDeferring;
                deferTicks_ = kDeferTicks;
                rows_.clear();
                table_.clear();
                return false;
            }
            if (library_.QvOpenAdapter(&adapter_) != 0) {
                library_.QvCloseAdapter(&adapter_);
                if (table_.size() < kTableSize) {
                    table_.push_back(entry);
                    rows_.push_back(ansi_.fromAnsi(fieldText(entry.description)));
                }
            }
        }
    }
    if (table_.empty()) {
        return false;
    }
    deferState_ = kNone;
    selectedRow_ = 0;
    return openSelectedAdapter();
}

bool AdapterDiscovery::openSelectedAdapter() {
    library_.QvCloseAdapter(&adapter_);
    if (selectedRow_ < 0 || static_cast<std::size_t>(selectedRow_) >= table_.size()) {
        return false;
    }
    const AdapterListEntry& entry = table_[static_cast<std::size_t>(selectedRow_)];
    std::memcpy(adapter_.name, entry.name, sizeof adapter_.name);
    std::memcpy(adapter_.description, entry.description, sizeof adapter_.description);
    copyField(adapter_.classInstance, fieldText(entry.classInstance));
    if (library_.QvOpenAdapter(&adapter_) == 0) {
        return false;
    }
    adapterOpen_ = true;
    adapterClassKey_ =
        classKeyPath(library_.QueryWL_IsWindows95() != 0, fieldText(entry.classInstance));
    clock_.sleepMs(kSettleMs);
    return true;
}

AdapterDiscovery::TickResult AdapterDiscovery::tickWhileClosed() {
    if (library_.Query_FixWindisPnPBug() != 0 && deferState_ == kDeferring) {
        if (--deferTicks_ > 0) {
            return TickResult::Deferring;
        }
        deferState_ = kDeferralDone;
    }
    discoverAdapters();
    if (deferState_ == kDeferring) {
        return TickResult::Deferring;
    }
    if (adapter_.handle == AdapterRecord::kNoAdapter || !adapterOpen_) {
        return TickResult::NoAdapter;
    }
    return TickResult::Reopened;
}

}  // namespace rizorivu
