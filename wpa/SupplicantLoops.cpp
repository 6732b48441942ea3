#include "wpa/SupplicantLoops.h"

#include <array>
#include <utility>

#include "wpa/AddKeyRecordBuilder.h"
#include "wpa/HexDump.h"
#include "wpa/KeyWipe.h"

namespace rizorivu::wpa {

SupplicantLoops::SupplicantLoops(AdapterLibrary& library, AdapterRecord& adapter,
                                 Dot1xLibrary& dot1x, Clock& clock, const RunFlag& run,
                                 KeyDump keyDump)
    : library_(library),
      adapter_(adapter),
      dot1x_(dot1x),
      clock_(clock),
      run_(run),
      keyDump_(std::move(keyDump)) {}

void SupplicantLoops::runWpaTls(const EapolConfig& config, const SupplicantTarget& target) {
    runEap(config, target);
}

void SupplicantLoops::runWpaPeap(const EapolConfig& config, const SupplicantTarget& target) {
    runEap(config, target);
}

void SupplicantLoops::runEap(const EapolConfig& config, const SupplicantTarget& target) {
    while (run_.isSet()) {
        waitForLink();
        if (!run_.isSet()) {
            break;
        }
        dot1x_.do_eapol_init(&adapter_, 0, target.ownMac, target.bssid, config);
        const bool authenticated = authenticate();
        dot1x_.do_eapol_halt();
        if (!authenticated || !run_.isSet()) {
            continue;
        }
        KeyNegotiationContext context = freshContext(target);
        dot1x_.Get_EAP_Derived_Key_32byte(context.pairwiseMasterKey);
        if (keyDump_) {
            keyDump_(dumpHex(context.pairwiseMasterKey));
        }
        dot1x_.do_key_negotiation_init(&adapter_, context);
        negotiate(context);
        wipeKey(context.pairwiseMasterKey);
    }
    dot1x_.Shutdown_Dot1x_Module();
}

void SupplicantLoops::runWpaPsk(std::string_view ssid, std::string_view passphrase,
                                const SupplicantTarget& target) {
    while (run_.isSet()) {
        waitForLink();
        if (!run_.isSet()) {
            break;
        }
        // Computed again on every attempt: the previous link may have been lost to a changed
        // passphrase on the access point's side.
        KeyNegotiationContext context = freshContext(target);
        dot1x_.Get_PSK_Key_32byte(passphrase, reinterpret_cast<const std::uint8_t*>(ssid.data()),
                                  static_cast<int>(ssid.size()), kPskIterations,
                                  context.pairwiseMasterKey.data(),
                                  static_cast<int>(context.pairwiseMasterKey.size()));
        dot1x_.do_key_negotiation_init(&adapter_, context);
        dot1x_.do_eapol_start(target.bssid, target.ownMac);
        negotiate(context);
        wipeKey(context.pairwiseMasterKey);
    }
    dot1x_.Shutdown_Dot1x_Module();
}

bool SupplicantLoops::waitForLink() {
    int waited = 0;
    bool up = library_.QueryWL_ConnectState(&adapter_) == 0;
    while (run_.isSet() && !up) {
        if (++waited > kLinkWaitSteps) {
            break;
        }
        if (!run_.sleepWhileSet(clock_, kLinkWaitMs)) {
            break;
        }
        up = library_.QueryWL_ConnectState(&adapter_) == 0;
    }
    return up;
}

bool SupplicantLoops::negotiate(KeyNegotiationContext& context) {
    int steps = 0;
    while (run_.isSet()) {
        const std::int64_t started = clock_.nowMs();
        dot1x_.do_key_negotiation_run(context);
        if (++steps > kLinkCheckEverySteps) {
            steps = 0;
            if (library_.QueryWL_ConnectState(&adapter_) != 0) {
                return false;
            }
        }
        paceStep(started);
    }
    return true;
}

bool SupplicantLoops::authenticate() {
    int steps = 0;
    while (run_.isSet()) {
        const std::int64_t started = clock_.nowMs();
        if (dot1x_.do_eapol_run() != 0) {
            return true;
        }
        if (steps > kEapGiveUpSteps) {
            reassociate();
            return false;
        }
        ++steps;
        paceStep(started);
    }
    return false;
}

void SupplicantLoops::reassociate() {
    // Setting the SSID the adapter holds makes it associate afresh; an answer the buffer
    // cannot hold re-sets nothing.
    std::array<std::uint8_t, adapterbuf::kSsidBytes> ssid{};
    const int length = library_.QueryWL_SSID(&adapter_, ssid);
    if (length < 0 || length > static_cast<int>(ssid.size())) {
        return;
    }
    library_.SetWL_SSID(&adapter_, ssid.data(), length);
}

KeyNegotiationContext SupplicantLoops::freshContext(const SupplicantTarget& target) {
    KeyNegotiationContext context;
    context.ownMac = target.ownMac;
    context.wpaElement = target.wpaElement;
    context.pairwiseCipher = target.cipherCode;
    context.groupCipher = target.cipherCode;
    context.authenticationMode = target.authenticationMode;
    context.installKey = [this](std::span<const std::uint8_t, 8> receiveSequence,
                                std::span<const std::uint8_t> key, int keyIndex, int keyType) {
        installKey(receiveSequence, key, keyIndex, keyType);
    };
    return context;
}

void SupplicantLoops::installKey(std::span<const std::uint8_t, 8> receiveSequence,
                                 std::span<const std::uint8_t> key, int keyIndex, int keyType) {
    std::array<std::uint8_t, adapterbuf::kMacBytes> bssid{};
    // A key bound to no access point would be refused by the driver anyway.
    if (library_.QueryWL_BSSID(&adapter_, bssid) != 0) {
        return;
    }
    auto record = AddKeyRecordBuilder::build(bssid, receiveSequence, key, keyIndex, keyType);
    if (!record) {
        return;
    }
    library_.WriteOid(&adapter_, adapterbuf::kOidAddKey, record->data(),
                      static_cast<int>(record->size()));
    wipeKey(*record);
}

void SupplicantLoops::paceStep(std::int64_t startedMs) {
    const std::int64_t spent = clock_.nowMs() - startedMs;
    if (spent < kMinStepMs) {
        run_.sleepWhileSet(clock_, kMinStepMs - spent);
    }
}

}  // namespace rizorivu::wpa
