// Cost of the WPA keys: the passphrase mapping as the library computes it against a direct
// call of OpenSSL's PBKDF2 (the wrapper must add nothing measurable), and one complete 4-way
// plus group-key handshake between the supplicant and an authenticator, without the mapping.

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <array>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "adapter/RsnElement.h"
#include "adapter/WpaElement.h"
#include "dot1x/KeyHandshake.h"
#include "dot1x/SoftwareDot1xLibrary.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "sim/SimulatedAdapterLibrary.h"
#include "sim/WorldSource.h"
#include "tests/support/KeyAuthenticator.h"
#include "tests/support/LoopbackEapol.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::string_view kPassphrase = "correct horse battery";
constexpr std::string_view kSsid = "Psk network";

void BM_PassphraseMappingLibrary(benchmark::State& state) {
    rizorivu::testing::TempDir dir;
    rizorivu::VirtualClock clock;
    std::ostringstream diagnostics;
    rizorivu::RegistryStore registry(rizorivu::HiveLocations::inDirectory(dir.path()), diagnostics);
    auto loaded = rizorivu::sim::WorldSource::fromFile(
        dir.write("world.ini", "[Machine]\nSeed=1\n"), rizorivu::CodePage(), clock.nowMs());
    if (!loaded.ok()) {
        state.SkipWithError(loaded.error().c_str());
        return;
    }
    rizorivu::sim::SimulatedAdapterLibrary adapters(std::move(loaded).value(), clock, registry,
                                                    diagnostics);
    rizorivu::dot1x::SoftwareDot1xLibrary library(
        adapters, clock,
        {dir.path() / "certificates", dir.path() / "system", dir.path() / "private"});
    std::array<std::uint8_t, 32> key{};
    for (auto _ : state) {
        library.Get_PSK_Key_32byte(kPassphrase, reinterpret_cast<const std::uint8_t*>(kSsid.data()),
                                   static_cast<int>(kSsid.size()), 4096, key.data(), 32);
        benchmark::DoNotOptimize(key.data());
    }
}
BENCHMARK(BM_PassphraseMappingLibrary)->Unit(benchmark::kMillisecond);

void BM_PassphraseMappingDirectPbkdf2(benchmark::State& state) {
    std::array<std::uint8_t, 32> key{};
    for (auto _ : state) {
        PKCS5_PBKDF2_HMAC_SHA1(kPassphrase.data(), static_cast<int>(kPassphrase.size()),
                               reinterpret_cast<const unsigned char*>(kSsid.data()),
                               static_cast<int>(kSsid.size()), 4096, 32, key.data());
        benchmark::DoNotOptimize(key.data());
    }
}
BENCHMARK(BM_PassphraseMappingDirectPbkdf2)->Unit(benchmark::kMillisecond);

// One whole negotiation per iteration: WPA's 4-way and group-key handshakes, argument 0 TKIP,
// 1 CCMP; WPA2's 4-way handshake, which carries the group key in message 3, 2 TKIP, 3 CCMP.
void BM_FourWayAndGroupHandshake(benchmark::State& state) {
    using namespace rizorivu;
    const int cipher = state.range(0) % 2 == 0 ? ciphercode::kTkip : ciphercode::kCcmp;
    const bool wpa2 = state.range(0) >= 2;
    testing::LoopbackEapol link;
    VirtualClock clock;
    crypto::Rc4Cipher rc4;
    struct CountingNonces final : crypto::NonceSource {
        std::uint8_t next = 0;
        bool fill(std::span<std::uint8_t> nonce) override {
            std::fill(nonce.begin(), nonce.end(), ++next);
            return true;
        }
    } nonces;
    KeyNegotiationContext context;
    context.ownMac = {0x02, 0x00, 0x00, 0x00, 0x05, 0x40};
    context.pairwiseMasterKey.fill(0x33);
    context.wpaElement = wpa2 ? RsnElement::build(cipher, cipher, RsnElement::kKeyManagementPsk, 0)
                              : WpaElement::build(cipher, cipher, WpaElement::kKeyManagementPsk);
    context.pairwiseCipher = context.groupCipher = cipher;
    context.authenticationMode =
        toDriver(wpa2 ? AuthenticationMode::Wpa2Psk : AuthenticationMode::WpaPsk);
    int installs = 0;
    context.installKey = [&](auto, auto, int, int) { ++installs; };
    testing::KeyAuthenticator::Config config;
    config.masterKey = context.pairwiseMasterKey;
    config.pairwiseCipher = config.groupCipher = cipher;
    config.element = context.wpaElement;
    config.rsn = wpa2;
    config.groupKey = Bytes(cipher == ciphercode::kTkip ? 32 : 16, 0x42);
    auto toAp = [&]() -> std::optional<Bytes> {
        if (link.toAccessPoint.empty())
            return std::nullopt;
        Bytes f = std::move(link.toAccessPoint.front());
        link.toAccessPoint.pop_front();
        return f;
    };
    // The authenticator (and its RC4 provider) lives across iterations, as an access point does.
    testing::KeyAuthenticator auth(
        config, [&](Bytes f) { link.toStation.push_back(std::move(f)); }, toAp);
    int done = 0;
    for (auto _ : state) {
        dot1x::KeyHandshake handshake(link, clock, nonces, rc4);
        handshake.begin(context, config.address);
        auth.sendMessage1();
        while (!link.toStation.empty()) {
            handshake.step(context);
            while (auth.handle()) {
            }
        }
        if (!handshake.negotiated() || (!wpa2 && auth.groupAnswers != ++done)) {
            state.SkipWithError("the handshake did not complete");
            break;
        }
    }
    benchmark::DoNotOptimize(installs);
}
BENCHMARK(BM_FourWayAndGroupHandshake)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
