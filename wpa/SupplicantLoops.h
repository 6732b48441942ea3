#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "adapter/AdapterLibrary.h"
#include "adapter/AdapterRecord.h"
#include "adapter/Dot1xLibrary.h"
#include "adapter/EapolConfig.h"
#include "adapter/KeyNegotiationContext.h"
#include "platform/Clock.h"
#include "wpa/RunFlag.h"
#include "wpa/SupplicantTarget.h"

namespace rizorivu::wpa {

// The supplicant loops of the WPA worker's thread: each drives the 802.1X library through
// authentication and the key handshake, lets it install the keys it derives, and starts over
// when the link is lost, until the run flag is cleared; then it releases the library.
class SupplicantLoops {
public:
    // Receives the hex dump of a derived master key. Key material: the utility passes none,
    // so the dump goes nowhere; a receiver must keep it from other users and processes.
    using KeyDump = std::function<void(std::string_view)>;

    static constexpr int kLinkWaitSteps = 30;
    static constexpr std::int64_t kLinkWaitMs = 1000;
    static constexpr int kLinkCheckEverySteps = 30;
    static constexpr int kEapGiveUpSteps = 60;
    static constexpr int kPskIterations = 4096;
    // A library step that comes back sooner is followed by a pause to this length, so that a
    // library that answers at once cannot spin a core for the life of the connection.
    static constexpr std::int64_t kMinStepMs = 5;

    SupplicantLoops(AdapterLibrary& library, AdapterRecord& adapter, Dot1xLibrary& dot1x,
                    Clock& clock, const RunFlag& run, KeyDump keyDump = {});

    void runWpaTls(const EapolConfig& config, const SupplicantTarget& target);
    void runWpaPeap(const EapolConfig& config, const SupplicantTarget& target);
    // `ssid` is the adapter's bytes, `passphrase` the passphrase's.
    void runWpaPsk(std::string_view ssid, std::string_view passphrase,
                   const SupplicantTarget& target);

    // Step W: waits up to 30 s for the association. Answers whether the link is up.
    bool waitForLink();
    // Step N: runs the handshake until the flag is cleared (true) or the link is lost (false).
    bool negotiate(KeyNegotiationContext& context);
    // Writes one key the handshake produced into the adapter, for the BSSID the adapter is
    // associated with now. A key the adapter's record cannot carry is dropped.
    void installKey(std::span<const std::uint8_t, 8> receiveSequence,
                    std::span<const std::uint8_t> key, int keyIndex, int keyType);

private:
    void runEap(const EapolConfig& config, const SupplicantTarget& target);
    bool authenticate();
    void reassociate();
    KeyNegotiationContext freshContext(const SupplicantTarget& target);
    void paceStep(std::int64_t startedMs);

    AdapterLibrary& library_;
    AdapterRecord& adapter_;
    Dot1xLibrary& dot1x_;
    Clock& clock_;
    const RunFlag& run_;
    KeyDump keyDump_;
};

}  // namespace rizorivu::wpa
