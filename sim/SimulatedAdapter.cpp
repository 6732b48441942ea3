#include "sim/SimulatedAdapter.h"

#include <algorithm>
#include <cstring>

#include <openssl/crypto.h>

#include "adapter/ConnectState.h"
#include "adapter/EapPacket.h"
#include "adapter/RegionTable.h"
#include "adapter/WepKeyLength.h"
#include "adapter/ZeroConfigStatus.h"
#include "crypto/PassphraseKey.h"
#include "sim/AddKeyRecord.h"
#include "sim/BeaconElements.h"
#include "sim/BssDescription.h"
#include "sim/NetworkCiphers.h"
#include "sim/SignalModel.h"
#include "sim/SurveyWriter.h"

namespace rizorivu::sim {

namespace {

constexpr std::size_t kFilterEntryBytes = 7;
constexpr int kPassphraseIterations = 4096;
constexpr std::size_t kWepKeyBytes[] = {5, 13, 29};

bool inRange(int value, int lo, int hi) {
    return value >= lo && value <= hi;
}

bool isWpa(const WorldNetwork& network) {
    return network.security == Security::WpaPsk || network.security == Security::WpaEap;
}

// Whether the keys of one network setting still hold for the other.
bool sameKeying(const WorldNetwork& a, const WorldNetwork& b) {
    return a.security == b.security && a.wpaVersions == b.wpaVersions &&
           a.passphrase == b.passphrase && a.ssid == b.ssid && a.cipher == b.cipher &&
           a.groupCipher == b.groupCipher && a.groupRekeySeconds == b.groupRekeySeconds &&
           a.radiusHost == b.radiusHost && a.radiusPort == b.radiusPort &&
           a.radiusSecret == b.radiusSecret;
}

// Region 0 ("none") is refused: an adapter left without a region could use no channel.
std::optional<std::uint16_t> settableRegionMask(int regionCode) {
    return regionCode == 0 ? std::nullopt : regionChannelMask(regionCode);
}

}  // namespace

SimulatedAdapter::SimulatedAdapter(const WorldAdapter& device, std::int64_t nowMs)
    : device_(device),
      mode_(fromDriver<OperationMode>(device.operationMode)),
      zeroConfigStatus_(device.zeroConfigStatus) {
    stationMode_.preambleMode = PreambleMode::Auto;  // as a station always uses
    station_.desiredRates = device.rates;
    radio_.regionCode = device.regionCode;
    radio_.channels = channelsOfMask(regionChannelMask(device.regionCode).value_or(0));
    radio_.multiDomain = device.multiDomain;
    link_.restart(AssociationOutcome{}, nowMs);
    cell_.restart(nowMs);
}

void SimulatedAdapter::followWorld(const WorldAdapter& device) {
    if (device.zeroConfigStatus != device_.zeroConfigStatus) {
        zeroConfigStatus_ = device.zeroConfigStatus;
    }
    device_ = device;
}

std::vector<std::uint8_t> SimulatedAdapter::usableChannels() const {
    if (!radio_.channels.empty() || radio_.multiDomain == 0) {
        return radio_.channels;
    }
    return channelsOfMask(0x3FFF);
}

AssociationOutcome SimulatedAdapter::choose(const Moment& m) const {
    if (mode_ != OperationMode::Station) {
        return AssociationOutcome{};
    }
    const std::vector<std::uint8_t> channels = usableChannels();
    const StationRequest request{
        stationMode_, station_.networkType, station_.bssid, station_.desiredRates, device_.rates,
        channels,     device_.mac};
    return chooseAssociation(m.world, request);
}

std::vector<MacAddress> SimulatedAdapter::admit(const Moment& m) const {
    if (mode_ != OperationMode::AccessPoint) {
        return {};
    }
    return AccessPointCell::admitted(m.world, accessPointMode_, ap_, usableChannels());
}

bool SimulatedAdapter::beaconing() const {
    const std::vector<std::uint8_t> channels = usableChannels();
    return mode_ == OperationMode::AccessPoint && !accessPointMode_.ssid.empty() &&
           std::find(channels.begin(), channels.end(), accessPointMode_.channel) != channels.end();
}

void SimulatedAdapter::update(const Moment& m) {
    link_.advance(m.nowMs, tally_);
    cell_.advance(m.nowMs, tally_);
    follow(m);
    serveKeys(m);
}

void SimulatedAdapter::serveKeys(const Moment& m) {
    const WorldNetwork* network = mode_ == OperationMode::Station ? linkedNetwork(m) : nullptr;
    if (network == nullptr || !isWpa(*network) ||
        (network->security == Security::WpaEap && network->type != BssType::Infrastructure)) {
        authenticator_.reset();
        eapAuthenticator_.reset();
        keyedAssociation_ = 0;
        return;
    }
    if (keyedAssociation_ == link_.association() && !sameKeying(keyedNetwork_, *network)) {
        // The access point was reconfigured under the station: it has to start again.
        link_.restart(link_.outcome(), m.nowMs);
        authenticator_.reset();
        eapAuthenticator_.reset();
        keyedAssociation_ = 0;
        return;
    }
    if (keyedAssociation_ != link_.association()) {
        keyedAssociation_ = link_.association();
        keyedNetwork_ = *network;
        // The association rules let a station in only with a version the network speaks.
        keyedWpa2_ = isWpa2(stationMode_.authenticationMode);
        startKeys(m, *network);
    }
    routeFrames(m);
    if (eapAuthenticator_) {
        eapAuthenticator_->tick(m.nowMs);
        if (auto masterKey = eapAuthenticator_->takeMasterKey()) {
            startHandshake(m, *network, *masterKey);
            OPENSSL_cleanse(masterKey->data(), masterKey->size());
        }
        if (eapAuthenticator_->state() != EapAuthenticator::State::Failed) {
            eapFailedAtMs_.reset();
        } else if (!eapFailedAtMs_) {
            eapFailedAtMs_ = m.nowMs;
        } else if (m.nowMs - *eapFailedAtMs_ >= kEapFailureDeauthMs) {
            // As a real access point does, the station refused by the server is deauthenticated
            // once the EAP-Failure had time to reach it, and may associate again only later;
            // staying associated would show it connected to a network it cannot use.
            eapAuthenticator_.reset();
            eapFailedAtMs_.reset();
            authenticator_.reset();
            keyedAssociation_ = 0;
            link_.restart(link_.outcome(), m.nowMs, StationLink::kRefusedHandshakeDelayMs);
            return;
        }
    }
    if (!authenticator_) {
        return;
    }
    authenticator_->tick(m.nowMs);
    if (authenticator_->failed()) {
        // Deauthenticated: the access point lets the station associate again only after a
        // while, and then meets it with a fresh handshake.
        authenticator_.reset();
        eapAuthenticator_.reset();
        link_.restart(link_.outcome(), m.nowMs, StationLink::kRefusedHandshakeDelayMs);
        return;
    }
    const auto pairwise = authenticator_->temporalKey();
    const auto group = authenticator_->groupKey();
    link_.expectKeys(StationLink::ExpectedKeys{{pairwise.begin(), pairwise.end()},
                                               {group.begin(), group.end()},
                                               authenticator_->groupIndex()});
}

void SimulatedAdapter::routeFrames(const Moment& m) {
    EapolChannel& channel = *link_.eapol();
    while (auto frame = channel.receive(EapolChannel::Side::AccessPoint)) {
        if (!eapAuthenticator_) {
            if (authenticator_) {
                authenticator_->receive(*frame, m.nowMs);
            }
            continue;
        }
        const auto view = EapolFrameView::parse(*frame);
        if (view && view->packetType == eap::kEapolKey) {
            if (authenticator_) {
                authenticator_->receive(*frame, m.nowMs);
            }
            continue;
        }
        if (view && view->packetType == eap::kEapolStart) {
            // A new authentication: the keys of the last one no longer count.
            authenticator_.reset();
            link_.expectKeys(StationLink::ExpectedKeys{});
        }
        eapAuthenticator_->receive(*frame, m.nowMs);
    }
}

void SimulatedAdapter::startKeys(const Moment& m, const WorldNetwork& network) {
    authenticator_.reset();
    eapAuthenticator_.reset();
    link_.expectKeys(StationLink::ExpectedKeys{});  // nothing matches until keys are known
    if (network.security == Security::WpaEap) {
        // The master key comes from the RADIUS server's Accept; no data flows before.
        EapAuthenticator::Setup setup;
        setup.server =
            RadiusClient::Server{network.radiusHost, network.radiusPort, network.radiusSecret};
        setup.address = network.bssid;
        setup.station = device_.mac;
        setup.ssid = network.ssid;
        eapAuthenticator_ =
            std::make_unique<EapAuthenticator>(std::move(setup), *link_.eapol(), nonces_);
        eapAuthenticator_->start(m.nowMs);
        return;
    }
    std::array<std::uint8_t, 32> masterKey{};
    const auto* ssid = reinterpret_cast<const std::uint8_t*>(network.ssid.data());
    if (!crypto::derivePassphraseKey(network.passphrase, std::span(ssid, network.ssid.size()),
                                     kPassphraseIterations, masterKey)) {
        return;  // no key can match: nothing flows
    }
    if (network.type == BssType::AdHoc) {
        const std::size_t bytes = ciphercode::keyBytes(pairwiseCipherCode(network));
        link_.expectKeys(StationLink::ExpectedKeys{
            {}, {masterKey.begin(), masterKey.begin() + static_cast<std::ptrdiff_t>(bytes)}, -1});
    } else {
        startHandshake(m, network, masterKey);
    }
    OPENSSL_cleanse(masterKey.data(), masterKey.size());
}

void SimulatedAdapter::startHandshake(const Moment& m, const WorldNetwork& network,
                                      const std::array<std::uint8_t, 32>& masterKey) {
    if (!rc4_) {
        rc4_.emplace();
    }
    PskAuthenticator::Setup setup;
    setup.masterKey = masterKey;
    setup.address = network.bssid;
    setup.station = device_.mac;
    setup.pairwiseCipher = pairwiseCipherCode(network);
    setup.groupCipher = groupCipherCode(network);
    setup.rsn = keyedWpa2_;
    setup.element = keyedWpa2_ ? rsnElement(network.security, network.cipher, network.groupCipher)
                               : wpaElement(network.security, network.type, network.cipher,
                                            network.groupCipher);
    setup.rekeyMs = static_cast<std::int64_t>(network.groupRekeySeconds) * 1000;
    authenticator_ =
        std::make_unique<PskAuthenticator>(std::move(setup), *link_.eapol(), nonces_, *rc4_);
    authenticator_->start(m.nowMs);
}

void SimulatedAdapter::follow(const Moment& m) {
    link_.follow(choose(m), m.nowMs);
    cell_.follow(admit(m));
}

void SimulatedAdapter::reconnect(const Moment& m) {
    if (mode_ == OperationMode::Station) {
        link_.restart(choose(m), m.nowMs);
    } else {
        cell_.restart(m.nowMs);
        cell_.follow(admit(m));
    }
}

const WorldNetwork* SimulatedAdapter::linkedNetwork(const Moment& m) const {
    const AssociationOutcome& o = link_.outcome();
    if ((o.kind != LinkKind::Infrastructure && o.kind != LinkKind::JoinedCell) ||
        !link_.up(m.nowMs) || o.network >= m.world.networks.size()) {
        return nullptr;
    }
    return &m.world.networks[o.network];
}

// --- Identity and link status ----------------------------------------------------------------

void SimulatedAdapter::mac(std::span<std::uint8_t, adapterbuf::kMacBytes> out) const {
    std::copy(device_.mac.begin(), device_.mac.end(), out.begin());
}

int SimulatedAdapter::supportedRates(std::span<std::uint8_t, adapterbuf::kRateBytes> out) const {
    std::copy(device_.rates.begin(), device_.rates.end(), out.begin());
    return 0;
}

int SimulatedAdapter::connectState(const Moment& m) const {
    if (mode_ == OperationMode::AccessPoint) {
        return toDriver(beaconing() && cell_.settled(m.nowMs) ? ConnectState::Connected
                                                              : ConnectState::NotConnected);
    }
    return toDriver(link_.up(m.nowMs) ? ConnectState::Connected : ConnectState::NotConnected);
}

int SimulatedAdapter::networkType(const Moment& m) const {
    if (station_.networkType == NetworkType::AutoUnknown && link_.up(m.nowMs)) {
        if (link_.outcome().kind == LinkKind::Infrastructure) {
            return toDriver(NetworkType::Infrastructure);
        }
        if (link_.outcome().kind == LinkKind::JoinedCell) {
            return toDriver(NetworkType::AdHoc);
        }
    }
    return toDriver(station_.networkType);
}

int SimulatedAdapter::channel(const Moment& m) const {
    if (mode_ == OperationMode::Station && (link_.up(m.nowMs) || link_.cellStarted(m.nowMs))) {
        return link_.outcome().channel;
    }
    return current().channel;
}

int SimulatedAdapter::rssi(const Moment& m) const {
    const WorldNetwork* network = linkedNetwork(m);
    if (network == nullptr) {
        return -1;
    }
    return SignalModel(m.world.machine.seed).rssiDbm(network->bssid, network->signalDbm, m.nowMs);
}

int SimulatedAdapter::quality(const Moment& m) const {
    const int level = rssi(m);
    return level == -1 ? -1 : SignalModel::qualityPercent(level);
}

int SimulatedAdapter::linkSpeed(const Moment& m) const {
    if (mode_ == OperationMode::AccessPoint) {
        return beaconing() ? bestCommonRate(device_.rates, station_.desiredRates) * 500 : -1;
    }
    return link_.up(m.nowMs) || link_.cellStarted(m.nowMs) ? link_.outcome().linkKbps : -1;
}

int SimulatedAdapter::ssid(const Moment& m,
                           std::span<std::uint8_t, adapterbuf::kSsidBytes> out) const {
    const WorldNetwork* network = mode_ == OperationMode::Station ? linkedNetwork(m) : nullptr;
    const std::string& ssid = network != nullptr ? network->ssid : current().ssid;
    std::fill(out.begin(), out.end(), 0);
    std::copy(ssid.begin(), ssid.end(), out.begin());
    return static_cast<int>(ssid.size());
}

int SimulatedAdapter::bssid(const Moment& m,
                            std::span<std::uint8_t, adapterbuf::kMacBytes> out) const {
    if (mode_ == OperationMode::AccessPoint) {
        if (!beaconing()) {
            return -1;
        }
        std::copy(device_.mac.begin(), device_.mac.end(), out.begin());
        return 0;
    }
    if (!link_.up(m.nowMs) && !link_.cellStarted(m.nowMs)) {
        return -1;
    }
    const MacAddress& bssid = link_.outcome().bssid;
    std::copy(bssid.begin(), bssid.end(), out.begin());
    return 0;
}

FrameCounts SimulatedAdapter::frameCounts() const {
    return FrameCounts{tally_.transmitted(), tally_.received()};
}

// --- Settings ------------------------------------------------------------------------------

int SimulatedAdapter::setSsid(const Moment& m, const std::uint8_t* ssid, int length) {
    if (!inRange(length, 0, static_cast<int>(adapterbuf::kSsidBytes)) ||
        (ssid == nullptr && length > 0)) {
        return -1;
    }
    std::string bytes(reinterpret_cast<const char*>(ssid), static_cast<std::size_t>(length));
    // A chosen access point stays chosen only for its own SSID: a different SSID (such as the
    // random one a replay sets first) means the station looks for another network.
    if (mode_ == OperationMode::Station && station_.bssid) {
        const auto& networks = m.world.networks;
        const bool sameNetwork = std::any_of(networks.begin(), networks.end(), [&](const auto& n) {
            return n.bssid == *station_.bssid && n.ssid == bytes;
        });
        if (!sameNetwork) {
            station_.bssid.reset();
        }
    }
    current().ssid = std::move(bytes);
    reconnect(m);  // even the same SSID again: that is how the utility asks to reassociate
    return 0;
}

int SimulatedAdapter::setChannel(const Moment& m, int channel) {
    const std::vector<std::uint8_t> channels = usableChannels();
    if (std::find(channels.begin(), channels.end(), channel) == channels.end()) {
        return -1;
    }
    if (current().channel != channel) {
        current().channel = channel;
        reconnect(m);
    }
    return 0;
}

int SimulatedAdapter::setNetworkType(const Moment& m, int value) {
    if (mode_ != OperationMode::Station ||
        !inRange(value, toDriver(NetworkType::AdHoc), toDriver(NetworkType::PseudoIbss))) {
        return -1;
    }
    const auto networkType = fromDriver<NetworkType>(value);
    if (station_.networkType != networkType) {
        station_.networkType = networkType;
        reconnect(m);
    }
    return 0;
}

int SimulatedAdapter::setBasicRate(int basicRate) {
    if (!inRange(basicRate, 0, 3)) {
        return -1;
    }
    ap_.basicRate = basicRate;
    return 0;
}

int SimulatedAdapter::setDesiredRates(std::span<const std::uint8_t, adapterbuf::kRateBytes> rates) {
    bool any = false;
    for (const std::uint8_t r : rates) {
        const int rate = r & 0x7F;
        if (rate == 0) {
            continue;
        }
        any = true;
        if (bestCommonRate(RateBytes{static_cast<std::uint8_t>(rate)}, device_.rates) != rate) {
            return -1;
        }
    }
    if (!any) {
        return -1;
    }
    std::copy(rates.begin(), rates.end(), station_.desiredRates.begin());
    return 0;
}

int SimulatedAdapter::setWepStatus(const Moment& m, int value) {
    const auto wepStatus = fromDriver<WepStatus>(value);
    const bool wep = wepStatus == WepStatus::WepEnabled || wepStatus == WepStatus::Disabled;
    const bool wpa = wepStatus == WepStatus::TkipEnabled || wepStatus == WepStatus::AesEnabled;
    if (!wep && !(wpa && mode_ == OperationMode::Station)) {
        return -1;
    }
    if (current().wepStatus != wepStatus) {
        current().wepStatus = wepStatus;
        reconnect(m);
    }
    return 0;
}

int SimulatedAdapter::setAuthenticationMode(const Moment& m, int value) {
    const AuthenticationMode highest = mode_ == OperationMode::Station
                                           ? AuthenticationMode::Wpa2Psk
                                           : AuthenticationMode::SharedKey;
    if (!inRange(value, toDriver(AuthenticationMode::Open), toDriver(highest))) {
        return -1;
    }
    const auto mode = fromDriver<AuthenticationMode>(value);
    if (current().authenticationMode != mode) {
        current().authenticationMode = mode;
        reconnect(m);
    }
    return 0;
}

int SimulatedAdapter::setPowerSaveMode(int mode) {
    if (mode_ != OperationMode::Station ||
        !inRange(mode, toDriver(PowerSaveMode::ContinuousAccess), toDriver(PowerSaveMode::Fast))) {
        return -1;
    }
    station_.powerSaveMode = fromDriver<PowerSaveMode>(mode);
    return 0;
}

int SimulatedAdapter::setFragmentationThreshold(int bytes) {
    if (!inRange(bytes, setting::kMinFragmentation, setting::kMaxFragmentation)) {
        return -1;
    }
    current().fragmentationThreshold = bytes;
    return 0;
}

int SimulatedAdapter::setRtsThreshold(int bytes) {
    if (!inRange(bytes, setting::kMinRts, setting::kMaxRts)) {
        return -1;
    }
    current().rtsThreshold = bytes;
    return 0;
}

int SimulatedAdapter::setPreambleMode(int mode) {
    if (!inRange(mode, toDriver(PreambleMode::Long), toDriver(PreambleMode::Auto))) {
        return -1;
    }
    current().preambleMode = fromDriver<PreambleMode>(mode);
    return 0;
}

int SimulatedAdapter::setBssid(const Moment& m,
                               std::span<const std::uint8_t, adapterbuf::kMacBytes> bssid) {
    if (mode_ != OperationMode::Station) {
        return -1;
    }
    MacAddress address{};
    std::copy(bssid.begin(), bssid.end(), address.begin());
    const bool broadcast =
        std::all_of(address.begin(), address.end(), [](auto b) { return b == 0xFF; });
    const bool zero = address == MacAddress{};
    if (broadcast || zero) {
        station_.bssid.reset();
    } else if ((address[0] & 0x01) != 0) {
        return -1;  // a group address names no access point
    } else {
        station_.bssid = address;
    }
    reconnect(m);
    return 0;
}

int SimulatedAdapter::setOperationMode(const Moment& m, int value) {
    const auto mode = fromDriver<OperationMode>(value);
    if (!inRange(value, toDriver(OperationMode::Station), toDriver(OperationMode::AccessPoint)) ||
        (mode == OperationMode::AccessPoint && !device_.accessPointCapable)) {
        return -1;
    }
    if (mode_ != mode) {
        mode_ = mode;
        link_.restart(choose(m), m.nowMs);
        cell_.restart(m.nowMs);
        cell_.follow(admit(m));
    }
    return 0;
}

int SimulatedAdapter::writeKey(const Moment& m, int index, int lengthCode, int isTransmitKey,
                               const std::uint8_t* keyBytes) {
    if (!inRange(index, 0, 3) ||
        !inRange(lengthCode, toDriver(WepKeyLength::Bits64), toDriver(WepKeyLength::Bits256)) ||
        keyBytes == nullptr) {
        return -1;
    }
    WepKey key;
    key.size = static_cast<std::uint8_t>(kWepKeyBytes[lengthCode]);
    std::copy_n(keyBytes, key.size, key.bytes.begin());
    ModeSettings& s = current();
    const int transmit = isTransmitKey != 0 ? index : s.transmitKey;
    if (s.keys[static_cast<std::size_t>(index)] != key || s.transmitKey != transmit) {
        s.keys[static_cast<std::size_t>(index)] = key;
        s.transmitKey = transmit;
        reconnect(m);
    }
    return 0;
}

// --- Radio and regulatory domain -----------------------------------------------------------

int SimulatedAdapter::supportChannels(std::uint8_t* channels, int* count) const {
    const std::vector<std::uint8_t> usable = usableChannels();
    if (count == nullptr || *count < 0 || (channels == nullptr && *count > 0) || usable.empty()) {
        return -1;
    }
    const int n = std::min(*count, static_cast<int>(usable.size()));
    std::copy_n(usable.begin(), n, channels);
    *count = n;
    return 0;
}

int SimulatedAdapter::setRegionCode(int regionCode) {
    if (!settableRegionMask(regionCode)) {
        return -1;
    }
    radio_.regionCode = regionCode;
    return 0;
}

int SimulatedAdapter::setMultiDomain(int enabled) {
    if (!inRange(enabled, 0, 1)) {
        return -1;
    }
    radio_.multiDomain = enabled;
    return 0;
}

int SimulatedAdapter::setRegionAndChannels(int regionCode) {
    const auto mask = settableRegionMask(regionCode);
    if (!mask) {
        return -1;
    }
    radio_.regionCode = regionCode;
    radio_.channels = channelsOfMask(*mask);
    return 0;
}

int SimulatedAdapter::setChannels(const std::uint8_t* channels, int count) {
    if (!inRange(count, 0, setting::kMaxChannel) || (channels == nullptr && count > 0)) {
        return -1;
    }
    std::vector<std::uint8_t> list(channels, channels + count);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!inRange(list[i], setting::kMinChannel, setting::kMaxChannel) ||
            std::find(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(i), list[i]) !=
                list.begin() + static_cast<std::ptrdiff_t>(i)) {
            return -1;
        }
    }
    radio_.channels = std::move(list);
    return 0;
}

// --- Access point --------------------------------------------------------------------------

int SimulatedAdapter::setHideSsid(const Moment& m, int hidden) {
    if (!inRange(hidden, 0, 1)) {
        return -1;
    }
    if (ap_.hideSsid != hidden) {
        ap_.hideSsid = hidden;
        if (mode_ == OperationMode::AccessPoint) {
            reconnect(m);
        }
    }
    return 0;
}

int SimulatedAdapter::setTxPowerLevel(int level) {
    if (!inRange(level, 0, 3)) {
        return -1;
    }
    ap_.txPowerLevel = level;
    return 0;
}

int SimulatedAdapter::setFilterMode(const Moment& m, int value) {
    if (!inRange(value, toDriver(MacFilterMode::Off), toDriver(MacFilterMode::RefuseListed))) {
        return -1;
    }
    const auto mode = fromDriver<MacFilterMode>(value);
    if (ap_.filterMode != mode) {
        ap_.filterMode = mode;
        if (mode_ == OperationMode::AccessPoint) {
            reconnect(m);
        }
    }
    return 0;
}

int SimulatedAdapter::setFilterList(const Moment& m, const std::uint8_t* list, int size) {
    if (list == nullptr || size != static_cast<int>(adapterbuf::kFilterListBytes)) {
        return -1;
    }
    std::array<FilterEntry, setting::kFilterEntries> filter{};
    for (std::size_t i = 0; i < filter.size(); ++i) {
        const std::uint8_t* entry = list + i * kFilterEntryBytes;
        if (entry[0] > 1) {
            return -1;
        }
        filter[i].inUse = entry[0] == 1;
        std::copy_n(entry + 1, filter[i].mac.size(), filter[i].mac.begin());
    }
    if (ap_.filter != filter) {
        ap_.filter = filter;
        if (mode_ == OperationMode::AccessPoint) {
            reconnect(m);
        }
    }
    return 0;
}

int SimulatedAdapter::stationList(const Moment& m, std::uint8_t* buffer, int size) const {
    if (mode_ != OperationMode::AccessPoint || buffer == nullptr ||
        size < static_cast<int>(adapterbuf::kStationListBytes)) {
        return -1;
    }
    std::memset(buffer, 0, adapterbuf::kStationListBytes);
    std::size_t slot = 0;
    for (const MacAddress& station : cell_.stations(m.nowMs)) {
        std::uint8_t* entry = buffer + slot++ * kFilterEntryBytes;
        entry[0] = 1;
        std::copy(station.begin(), station.end(), entry + 1);
    }
    return 0;
}

// --- Site survey ---------------------------------------------------------------------------

int SimulatedAdapter::startSurvey() const {
    return mode_ == OperationMode::Station ? 0 : -1;
}

int SimulatedAdapter::retrieveSurvey(const Moment& m, std::uint8_t* buffer, int size) const {
    if (mode_ != OperationMode::Station || buffer == nullptr || size < 4) {
        return -1;
    }
    const SignalModel signal(m.world.machine.seed);
    const std::vector<std::uint8_t> channels = usableChannels();
    std::vector<BssDescription> heard;
    for (std::size_t i = 0; i < m.world.networks.size(); ++i) {
        const WorldNetwork& n = m.world.networks[i];
        if (n.signalDbm < SignalModel::kSensitivityDbm ||
            std::find(channels.begin(), channels.end(), n.channel) == channels.end()) {
            continue;
        }
        BssDescription bss;
        bss.bssid = n.bssid;
        bss.ssid = n.hidden ? std::string() : n.ssid;
        bss.rssiDbm = signal.rssiDbm(n.bssid, n.signalDbm, m.nowMs);
        bss.channel = n.channel;
        bss.type = n.type;
        bss.security = n.security;
        bss.wpaVersions = n.wpaVersions;
        bss.cipher = n.cipher;
        bss.groupCipher = n.groupCipher;
        bss.rates = n.rates;
        // Each network's clock started at its own moment before the adapter's.
        bss.timestampUs =
            static_cast<std::uint64_t>(m.nowMs + 3'600'000 * static_cast<std::int64_t>(i + 1)) *
            1000u;
        heard.push_back(std::move(bss));
    }
    writeSurvey(heard, std::span<std::uint8_t>(buffer, static_cast<std::size_t>(size)));
    return 0;
}

// --- Zero Configuration and private OIDs ---------------------------------------------------

int SimulatedAdapter::setZeroConfigStatus(int status) {
    if (!inRange(status, toDriver(ZeroConfigStatus::UtilityControls),
                 toDriver(ZeroConfigStatus::ServiceControls))) {
        return -1;
    }
    zeroConfigStatus_ = status;
    return 0;
}

int SimulatedAdapter::setPrivateOidState(int state) {
    if (!inRange(state, 0, 1)) {
        return -1;
    }
    radio_.privateOidState = state;
    return 0;
}

int SimulatedAdapter::writeOid(const Moment& m, std::uint32_t oid, const std::uint8_t* data,
                               int length) {
    if (oid != adapterbuf::kOidAddKey || data == nullptr || length <= 0) {
        return -1;
    }
    const auto record =
        parseAddKeyRecord(std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)));
    const WorldNetwork* network = linkedNetwork(m);
    if (!record || network == nullptr || !isWpa(*network)) {
        return -1;
    }
    const int cipher = record->pairwise || network->type == BssType::AdHoc
                           ? pairwiseCipherCode(*network)
                           : groupCipherCode(*network);
    if (record->material.size() != ciphercode::keyBytes(cipher)) {
        return -1;
    }
    if (record->pairwise) {
        // WPA-None has group keys only; a pairwise key is bound to the access point.
        if (network->type == BssType::AdHoc || record->bssid != network->bssid) {
            return -1;
        }
        link_.installPairwiseKey(record->material);
    } else {
        link_.installGroupKey(record->keyIndex, record->material);
    }
    return 0;
}

}  // namespace rizorivu::sim
