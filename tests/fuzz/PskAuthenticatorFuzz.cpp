// A simulated access point's authenticator takes EAPOL frames from the station's side. It
// must survive any sequence of frames and clock ticks in any handshake state, send only
// frames the parser accepts, and never settle a pairwise key that no correctly signed
// message 2 and 4 earned.
//
// Input: byte 0 picks the ciphers, WPA or WPA2 (descriptor 2) and whether the harness signs the
// frames (with the keys the frame's own nonce gives, so that the checks after the MIC are
// reached); the rest is frames, each led by a 2-byte length whose top bit asks for a clock
// tick first.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "adapter/EapolKeyFrame.h"
#include "adapter/KeyNegotiationContext.h"
#include "adapter/RsnElement.h"
#include "adapter/WpaElement.h"
#include "crypto/KeyHierarchy.h"
#include "crypto/NonceSource.h"
#include "sim/PskAuthenticator.h"

using namespace rizorivu;

namespace {

struct FixedNonces final : crypto::NonceSource {
    bool fill(std::span<std::uint8_t> nonce) override {
        std::fill(nonce.begin(), nonce.end(), 0xA1);
        return true;
    }
};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    const int pairwise = (mode & 1) ? ciphercode::kCcmp : ciphercode::kTkip;
    const int groups[] = {ciphercode::kTkip, ciphercode::kCcmp, ciphercode::kWep40,
                          ciphercode::kWep104};
    const bool sign = (mode & 8) != 0;

    sim::EapolChannel channel;
    FixedNonces nonces;
    crypto::Rc4Cipher rc4;
    sim::PskAuthenticator::Setup setup;
    setup.masterKey.fill(0x33);
    setup.address = {0x02, 0x10, 0, 0, 0, 0x03};
    setup.station = {0x02, 0, 0, 0, 0x05, 0x40};
    setup.pairwiseCipher = pairwise;
    setup.groupCipher = groups[(mode >> 1) & 3];
    setup.rsn = (mode & 32) != 0;
    setup.element = setup.rsn ? RsnElement::build(setup.groupCipher, pairwise, 2, 0)
                              : WpaElement::build(setup.groupCipher, pairwise, 2);
    setup.rekeyMs = (mode & 16) ? 500 : 0;
    const auto masterKey = setup.masterKey;
    const auto address = setup.address;
    const auto station = setup.station;
    sim::PskAuthenticator authenticator(std::move(setup), channel, nonces, rc4);
    std::int64_t now = 0;
    authenticator.start(now);

    std::size_t at = 1;
    bool signedAny = false;
    while (at + 2 <= size) {
        const bool tick = (data[at] & 0x80) != 0;
        const std::size_t length = (data[at] & 0x7F) << 8 | data[at + 1];
        at += 2;
        const std::size_t take = std::min(length, size - at);
        std::vector<std::uint8_t> frame(data + at, data + at + take);
        at += take;
        if (tick) {
            now += 400;
            authenticator.tick(now);
        }
        if (sign) {
            if (const auto parsed = EapolKeyFrame::parse(frame)) {
                std::array<std::uint8_t, 32> anonce{};
                anonce.fill(0xA1);
                crypto::PairwiseKeys keys;
                crypto::derivePairwiseKeys(masterKey, address, station, anonce, parsed->nonce,
                                           pairwise == ciphercode::kTkip ? 32 : 16, keys);
                signedAny = signKeyFrame(frame, keys.confirmationKey()) || signedAny;
            }
        }
        authenticator.receive(frame, now);
        check(channel.pending(sim::EapolChannel::Side::Station) <= sim::EapolChannel::kQueueDepth);
        while (auto sent = channel.receive(sim::EapolChannel::Side::Station)) {
            check(EapolKeyFrame::parse(*sent).has_value());
        }
    }
    // Unsigned frames never earn a pairwise key.
    if (!signedAny) {
        check(authenticator.temporalKey().empty());
    }
    return 0;
}
