// Cost of one complete 4-way and group-key handshake between the 802.1X library's supplicant
// and a simulated access point's authenticator, the passphrase mapping left out (both ends
// are given the master key): what a station pays per association.

#include <benchmark/benchmark.h>

#include "adapter/WpaElement.h"
#include "crypto/RandomNonceSource.h"
#include "dot1x/KeyHandshake.h"
#include "platform/Clock.h"
#include "sim/PskAuthenticator.h"
#include "sim/StationEapolPort.h"

namespace {

using namespace rizorivu;

void BM_KeyHandshakeWithSimulatedAccessPoint(benchmark::State& state) {
    const int cipher = static_cast<int>(state.range(0));
    auto channel = std::make_shared<sim::EapolChannel>();
    sim::StationEapolPort port(channel);
    VirtualClock clock;
    crypto::RandomNonceSource nonces;
    crypto::Rc4Cipher rc4;
    KeyNegotiationContext context;
    context.ownMac = {0x02, 0, 0, 0, 0, 0x01};
    context.pairwiseMasterKey.fill(0x33);
    context.wpaElement = WpaElement::build(cipher, cipher, WpaElement::kKeyManagementPsk);
    context.pairwiseCipher = context.groupCipher = cipher;
    int installs = 0;
    context.installKey = [&](auto, auto, int, int) { ++installs; };
    const std::array<std::uint8_t, 6> bssid{0x02, 0x10, 0, 0, 0, 0x04};

    for (auto _ : state) {
        sim::PskAuthenticator::Setup setup;
        setup.masterKey = context.pairwiseMasterKey;
        setup.address = bssid;
        setup.station = context.ownMac;
        setup.pairwiseCipher = setup.groupCipher = cipher;
        setup.element = context.wpaElement;
        sim::PskAuthenticator authenticator(std::move(setup), *channel, nonces, rc4);
        dot1x::KeyHandshake supplicant(port, clock, nonces, rc4);
        supplicant.begin(context, bssid);
        authenticator.start(0);
        while (auto frame = port.receiveEapol()) {
            supplicant.handleFrame(*frame, context);
            while (auto answer = channel->receive(sim::EapolChannel::Side::AccessPoint)) {
                authenticator.receive(*answer, 0);
            }
        }
        if (!supplicant.negotiated() ||
            authenticator.state() != sim::PskAuthenticator::State::Established) {
            state.SkipWithError("the handshake did not complete");
            return;
        }
    }
    benchmark::DoNotOptimize(installs);
}
BENCHMARK(BM_KeyHandshakeWithSimulatedAccessPoint)
    ->Arg(ciphercode::kTkip)
    ->Arg(ciphercode::kCcmp)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
