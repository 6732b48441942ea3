#include "sim/SimulatedAdapterLibrary.h"

#include <algorithm>
#include <ostream>

#include "sim/SurveyFilter.h"

namespace rizorivu::sim {

namespace {

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiUpper(x) == asciiUpper(y);
           });
}

}  // namespace

SimulatedAdapterLibrary::SimulatedAdapterLibrary(std::unique_ptr<WorldSource> source, Clock& clock,
                                                 RegistryStore& registry, std::ostream& diagnostics)
    : source_(std::move(source)), clock_(clock), installer_(registry), diagnostics_(diagnostics) {
    zeroConfigRunning_ = source_->world()->machine.zeroConfigRunning;
    adopt(clock_.nowMs());
}

void SimulatedAdapterLibrary::refresh(std::int64_t nowMs) {
    if (source_->refresh(nowMs, diagnostics_)) {
        adopt(nowMs);
    }
}

void SimulatedAdapterLibrary::adopt(std::int64_t nowMs) {
    const std::shared_ptr<const World> previous = world_;
    world_ = source_->world();
    installer_.install(*world_);
    if (previous && previous->machine.zeroConfigRunning != world_->machine.zeroConfigRunning) {
        zeroConfigRunning_ = world_->machine.zeroConfigRunning;
    }
    // Adapters are known by name. One that stays present keeps its state; one that is gone
    // takes its handle with it; one that appears is freshly plugged in.
    std::vector<std::unique_ptr<SimulatedAdapter>> present;
    for (const WorldAdapter& device : world_->adapters) {
        if (!device.present) {
            continue;
        }
        const auto kept = std::find_if(adapters_.begin(), adapters_.end(), [&](const auto& a) {
            return a != nullptr && sameName(a->device().name, device.name);
        });
        if (kept != adapters_.end()) {
            (*kept)->followWorld(device);
            present.push_back(std::move(*kept));
        } else {
            auto plugged = std::make_unique<SimulatedAdapter>(device, nowMs);
            plugged->eapolPort()->onSent([this, a = plugged.get()] { deliverEapol(a); });
            plugged->eapolPort()->onPolled([this, a = plugged.get()] { deliverEapol(a); });
            present.push_back(std::move(plugged));
        }
    }
    adapters_ = std::move(present);
}

void SimulatedAdapterLibrary::deliverEapol(const SimulatedAdapter* sender) {
    std::lock_guard lock(mutex_);
    const std::int64_t now = clock_.nowMs();
    refresh(now);
    // The adapter may have been unplugged since; only a present one answers.
    for (const auto& a : adapters_) {
        if (a.get() == sender) {
            a->update(Moment{*world_, now});
            return;
        }
    }
}

SimulatedAdapter* SimulatedAdapterLibrary::present(const AdapterRecord* adapter) {
    if (adapter == nullptr || adapter->handle == AdapterRecord::kNoAdapter) {
        return nullptr;
    }
    for (const auto& a : adapters_) {
        if (a->handle() != 0 && a->handle() == adapter->handle) {
            return a.get();
        }
    }
    return nullptr;
}

template <typename Op>
int SimulatedAdapterLibrary::withAdapter(const AdapterRecord* adapter, Op&& op) {
    std::lock_guard lock(mutex_);
    const std::int64_t now = clock_.nowMs();
    refresh(now);
    SimulatedAdapter* a = present(adapter);
    if (a == nullptr) {
        return -1;
    }
    const Moment moment{*world_, now};
    a->update(moment);
    const int result = op(*a, moment);
    // A setting may change which network the rules choose (a channel list, for one).
    a->follow(moment);
    return result;
}

template <typename Op>
int SimulatedAdapterLibrary::withMachine(Op&& op) {
    std::lock_guard lock(mutex_);
    refresh(clock_.nowMs());
    return op(world_->machine);
}

// --- Environment ---------------------------------------------------------------------------

int SimulatedAdapterLibrary::CheckOSWinNT() {
    return withMachine(
        [](const WorldMachine& m) { return m.family == OsFamily::WindowsNt ? 1 : 0; });
}

int SimulatedAdapterLibrary::QueryWL_IsWindows95() {
    return withMachine(
        [](const WorldMachine& m) { return m.family == OsFamily::Windows9x ? 1 : 0; });
}

int SimulatedAdapterLibrary::QV_GetOSVersion() {
    return withMachine([](const WorldMachine& m) { return m.osCode; });
}

int SimulatedAdapterLibrary::Query_FixWindisPnPBug() {
    return withMachine([this](const WorldMachine&) {
        return std::any_of(adapters_.begin(), adapters_.end(),
                           [](const auto& a) { return a->device().pnpWorkaround; })
                   ? 1
                   : 0;
    });
}

// --- Adapter list, open and close ----------------------------------------------------------

int SimulatedAdapterLibrary::CreateAllNICAdapterList(AdapterListEntry* entries, int capacity) {
    if (entries == nullptr || capacity <= 0) {
        return 0;
    }
    std::lock_guard lock(mutex_);
    refresh(clock_.nowMs());
    const CodePage& ansi = source_->codePage();
    int count = 0;
    for (const auto& a : adapters_) {
        if (count == capacity) {
            break;
        }
        AdapterListEntry& entry = entries[count++];
        copyField(entry.name, ansi.toAnsi(a->device().name));
        copyField(entry.description, ansi.toAnsi(a->device().description));
        copyField(entry.classInstance, a->device().classInstance);
    }
    return count;
}

int SimulatedAdapterLibrary::QvOpenAdapter(AdapterRecord* adapter) {
    if (adapter == nullptr) {
        return 0;
    }
    std::lock_guard lock(mutex_);
    const std::int64_t now = clock_.nowMs();
    refresh(now);
    const std::string name = source_->codePage().fromAnsi(fieldText(adapter->name));
    for (const auto& a : adapters_) {
        if (!sameName(a->device().name, name)) {
            continue;
        }
        if (!a->device().openable || a->device().kind != AdapterKind::Wireless) {
            break;
        }
        // Opening an open adapter again (the utility re-opens before a region change)
        // keeps its handle and its state.
        if (a->handle() == 0) {
            a->setHandle(nextHandle_++);
        }
        adapter->handle = a->handle();
        a->update(Moment{*world_, now});
        return 1;
    }
    adapter->handle = AdapterRecord::kNoAdapter;
    return 0;
}

int SimulatedAdapterLibrary::QvCloseAdapter(AdapterRecord* adapter) {
    std::lock_guard lock(mutex_);
    refresh(clock_.nowMs());
    SimulatedAdapter* a = present(adapter);
    if (adapter != nullptr) {
        adapter->handle = AdapterRecord::kNoAdapter;
    }
    if (a == nullptr) {
        return -1;
    }
    a->setHandle(0);
    return 0;
}

// --- Identity ------------------------------------------------------------------------------

int SimulatedAdapterLibrary::GetNICAdapterMAC(AdapterRecord* adapter,
                                              std::span<std::uint8_t, adapterbuf::kMacBytes> mac) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment&) {
        a.mac(mac);
        return 0;
    });
}

int SimulatedAdapterLibrary::QueryWL_DriverVersion(AdapterRecord* adapter) {
    return withAdapter(adapter, [](SimulatedAdapter& a, const Moment&) {
        return static_cast<int>(a.device().driverVersion);
    });
}

int SimulatedAdapterLibrary::QueryWL_USBType(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment&) { return a.device().usbType; });
}

// --- Link status ---------------------------------------------------------------------------

int SimulatedAdapterLibrary::QueryWL_ConnectState(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment& m) { return a.connectState(m); });
}

int SimulatedAdapterLibrary::QueryWL_NetworkType(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment& m) { return a.networkType(m); });
}

int SimulatedAdapterLibrary::QueryWL_Channel(AdapterRecord* adapter) {
    return withAdapter(adapter, [](SimulatedAdapter& a, const Moment& m) { return a.channel(m); });
}

int SimulatedAdapterLibrary::QueryWL_RSSI(AdapterRecord* adapter) {
    return withAdapter(adapter, [](SimulatedAdapter& a, const Moment& m) { return a.rssi(m); });
}

int SimulatedAdapterLibrary::QueryWL_CommQuality(AdapterRecord* adapter) {
    return withAdapter(adapter, [](SimulatedAdapter& a, const Moment& m) { return a.quality(m); });
}

int SimulatedAdapterLibrary::QueryWL_CurrentLinkSpeed(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment& m) { return a.linkSpeed(m); });
}

int SimulatedAdapterLibrary::QueryWL_WEPStatus(AdapterRecord* adapter) {
    return withAdapter(adapter, [](SimulatedAdapter& a, const Moment&) { return a.wepStatus(); });
}

int SimulatedAdapterLibrary::QueryWL_AuthenticationMode(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment&) { return a.authenticationMode(); });
}

int SimulatedAdapterLibrary::QueryWL_OperationMode_STA_AP(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment&) { return a.operationMode(); });
}

int SimulatedAdapterLibrary::QueryWL_SSID(AdapterRecord* adapter,
                                          std::span<std::uint8_t, adapterbuf::kSsidBytes> ssid) {
    return withAdapter(adapter,
                       [&](SimulatedAdapter& a, const Moment& m) { return a.ssid(m, ssid); });
}

int SimulatedAdapterLibrary::QueryWL_BSSID(AdapterRecord* adapter,
                                           std::span<std::uint8_t, adapterbuf::kMacBytes> bssid) {
    return withAdapter(adapter,
                       [&](SimulatedAdapter& a, const Moment& m) { return a.bssid(m, bssid); });
}

int SimulatedAdapterLibrary::GetTxRxFrameCount(AdapterRecord* adapter, FrameCounts* counts) {
    if (counts == nullptr) {
        return -1;
    }
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment&) {
        *counts = a.frameCounts();
        return 0;
    });
}

// --- Station settings ----------------------------------------------------------------------

int SimulatedAdapterLibrary::SetWL_SSID(AdapterRecord* adapter, const std::uint8_t* ssid,
                                        int length) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment& m) { return a.setSsid(m, ssid, length); });
}

int SimulatedAdapterLibrary::SetWL_Channel(AdapterRecord* adapter, int channel) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment& m) { return a.setChannel(m, channel); });
}

int SimulatedAdapterLibrary::SetWL_NetworkType(AdapterRecord* adapter, int networkType) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment& m) {
        return a.setNetworkType(m, networkType);
    });
}

int SimulatedAdapterLibrary::SetWL_BasicRate(AdapterRecord* adapter, int basicRate) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setBasicRate(basicRate); });
}

int SimulatedAdapterLibrary::SetWL_DesiredRate(
    AdapterRecord* adapter, std::span<const std::uint8_t, adapterbuf::kRateBytes> rates) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setDesiredRates(rates); });
}

int SimulatedAdapterLibrary::SetWL_WEPStatus(AdapterRecord* adapter, int wepStatus) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment& m) {
        return a.setWepStatus(m, wepStatus);
    });
}

int SimulatedAdapterLibrary::SetWL_AuthenticationMode(AdapterRecord* adapter, int mode) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment& m) {
        return a.setAuthenticationMode(m, mode);
    });
}

int SimulatedAdapterLibrary::SetWL_PSMode(AdapterRecord* adapter, int mode) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setPowerSaveMode(mode); });
}

int SimulatedAdapterLibrary::SetWL_FragmentationThreshold(AdapterRecord* adapter, int bytes) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment&) {
        return a.setFragmentationThreshold(bytes);
    });
}

int SimulatedAdapterLibrary::SetWL_RTS_CTS_Threshold(AdapterRecord* adapter, int bytes) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setRtsThreshold(bytes); });
}

int SimulatedAdapterLibrary::SetWL_PreambleMode(AdapterRecord* adapter, int mode) {
    return withAdapter(adapter,
                       [&](SimulatedAdapter& a, const Moment&) { return a.setPreambleMode(mode); });
}

int SimulatedAdapterLibrary::SetWL_BSSID(
    AdapterRecord* adapter, std::span<const std::uint8_t, adapterbuf::kMacBytes> bssid) {
    return withAdapter(adapter,
                       [&](SimulatedAdapter& a, const Moment& m) { return a.setBssid(m, bssid); });
}

int SimulatedAdapterLibrary::SetWL_OperationMode_STA_AP(AdapterRecord* adapter, int mode) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment& m) { return a.setOperationMode(m, mode); });
}

int SimulatedAdapterLibrary::SetWL_WriteKey(AdapterRecord* adapter, int index, int lengthCode,
                                            int isTransmitKey, const std::uint8_t* keyBytes) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment& m) {
        return a.writeKey(m, index, lengthCode, isTransmitKey, keyBytes);
    });
}

// --- Radio and regulatory domain -----------------------------------------------------------

int SimulatedAdapterLibrary::QueryWL_OperationRegionCode(AdapterRecord* adapter) {
    return withAdapter(adapter, [](SimulatedAdapter& a, const Moment&) { return a.regionCode(); });
}

int SimulatedAdapterLibrary::QueryWL_MultiDomainCapability(AdapterRecord* adapter) {
    return withAdapter(adapter, [](SimulatedAdapter& a, const Moment&) { return a.multiDomain(); });
}

int SimulatedAdapterLibrary::QueryWL_PSMode(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment&) { return a.powerSaveMode(); });
}

int SimulatedAdapterLibrary::QueryWL_FragmentationThreshold(AdapterRecord* adapter) {
    return withAdapter(
        adapter, [](SimulatedAdapter& a, const Moment&) { return a.fragmentationThreshold(); });
}

int SimulatedAdapterLibrary::QueryWL_RTS_CTS_Threshold(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment&) { return a.rtsThreshold(); });
}

int SimulatedAdapterLibrary::QueryWL_SupportedRate(
    AdapterRecord* adapter, std::span<std::uint8_t, adapterbuf::kRateBytes> rates) {
    return withAdapter(adapter,
                       [&](SimulatedAdapter& a, const Moment&) { return a.supportedRates(rates); });
}

int SimulatedAdapterLibrary::QueryWL_SupportChannel(AdapterRecord* adapter, std::uint8_t* channels,
                                                    int* count) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment&) {
        return a.supportChannels(channels, count);
    });
}

int SimulatedAdapterLibrary::SetWL_OperationRegionCode(AdapterRecord* adapter, int regionCode) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setRegionCode(regionCode); });
}

int SimulatedAdapterLibrary::SetWL_MultiDomainCapability(AdapterRecord* adapter, int enabled) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setMultiDomain(enabled); });
}

int SimulatedAdapterLibrary::SetWL_RegionAndSupportChannel(AdapterRecord* adapter, int regionCode) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment&) {
        return a.setRegionAndChannels(regionCode);
    });
}

int SimulatedAdapterLibrary::SetWL_SupportChannel(AdapterRecord* adapter,
                                                  const std::uint8_t* channels, int count) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment&) {
        return a.setChannels(channels, count);
    });
}

// --- Access point --------------------------------------------------------------------------

int SimulatedAdapterLibrary::SetWLAP_HideSSIDState(AdapterRecord* adapter, int hidden) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment& m) { return a.setHideSsid(m, hidden); });
}

int SimulatedAdapterLibrary::SetWLAP_TxPowerLevel(AdapterRecord* adapter, int level) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setTxPowerLevel(level); });
}

int SimulatedAdapterLibrary::SetWLAP_FilterMode(AdapterRecord* adapter, int mode) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment& m) { return a.setFilterMode(m, mode); });
}

int SimulatedAdapterLibrary::SetWLAP_FilterList(AdapterRecord* adapter, const std::uint8_t* list,
                                                int size) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment& m) {
        return a.setFilterList(m, list, size);
    });
}

int SimulatedAdapterLibrary::WL_RetrieveStationList(AdapterRecord* adapter, std::uint8_t* buffer,
                                                    int size) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment& m) {
        return a.stationList(m, buffer, size);
    });
}

// --- Site survey ---------------------------------------------------------------------------

int SimulatedAdapterLibrary::WL_SiteSurveyStart(AdapterRecord* adapter) {
    return withAdapter(adapter, [](SimulatedAdapter& a, const Moment&) { return a.startSurvey(); });
}

int SimulatedAdapterLibrary::WL_RetrieveSiteSurveyData(AdapterRecord* adapter, std::uint8_t* buffer,
                                                       int size) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment& m) {
        return a.retrieveSurvey(m, buffer, size);
    });
}

int SimulatedAdapterLibrary::WL_FilteSiteSurveyData(
    AdapterRecord* adapter, std::span<std::uint8_t, adapterbuf::kSurveyBytes> buffer) {
    return withAdapter(adapter, [&](SimulatedAdapter&, const Moment&) {
        filterSurvey(buffer);
        return 0;
    });
}

// --- Zero Configuration and private OIDs ---------------------------------------------------

int SimulatedAdapterLibrary::QueryWL_CheckWZCStatus(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment&) { return a.zeroConfigStatus(); });
}

int SimulatedAdapterLibrary::SetWL_WZCStatus(AdapterRecord* adapter, int status) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setZeroConfigStatus(status); });
}

int SimulatedAdapterLibrary::QVStartWZCService() {
    return withMachine([this](const WorldMachine&) {
        zeroConfigRunning_ = true;
        return 0;
    });
}

int SimulatedAdapterLibrary::QVStopWZCService() {
    return withMachine([this](const WorldMachine&) {
        zeroConfigRunning_ = false;
        return 0;
    });
}

int SimulatedAdapterLibrary::SetWL_QVUseQVXOidState(AdapterRecord* adapter, int state) {
    return withAdapter(
        adapter, [&](SimulatedAdapter& a, const Moment&) { return a.setPrivateOidState(state); });
}

int SimulatedAdapterLibrary::QueryWL_QVUseQVXOidState(AdapterRecord* adapter) {
    return withAdapter(adapter,
                       [](SimulatedAdapter& a, const Moment&) { return a.privateOidState(); });
}

int SimulatedAdapterLibrary::WriteOid(AdapterRecord* adapter, std::uint32_t oid,
                                      const std::uint8_t* data, int length) {
    return withAdapter(adapter, [&](SimulatedAdapter& a, const Moment& m) {
        return a.writeOid(m, oid, data, length);
    });
}

// --- Beyond the driver's operations --------------------------------------------------------

std::shared_ptr<EapolChannel> SimulatedAdapterLibrary::eapolChannel(const AdapterRecord* adapter) {
    std::lock_guard lock(mutex_);
    refresh(clock_.nowMs());
    const SimulatedAdapter* a = present(adapter);
    return a != nullptr ? a->eapolChannel() : nullptr;
}

std::shared_ptr<EapolPort> SimulatedAdapterLibrary::eapolPort(AdapterRecord* adapter) {
    std::lock_guard lock(mutex_);
    refresh(clock_.nowMs());
    SimulatedAdapter* a = present(adapter);
    return a != nullptr ? a->eapolPort() : nullptr;
}

bool SimulatedAdapterLibrary::zeroConfigServiceRunning() {
    std::lock_guard lock(mutex_);
    return zeroConfigRunning_;
}

}  // namespace rizorivu::sim
