// EAP packets come from the air. The supplicant must survive any sequence of frames in any
// state of the exchange, answer only with frames the port carries, and never count itself
// authenticated on frames that did not run a method to its end.
//
// Input: byte 0 picks the method (bit 0: PEAP) and the fragment size; the rest is frames,
// each led by a 2-byte length.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "adapter/EapPacket.h"
#include "crypto/MsChapV2.h"
#include "crypto/NonceSource.h"
#include "dot1x/EapSupplicant.h"
#include "platform/Clock.h"
#include "tests/support/LoopbackEapol.h"

using namespace rizorivu;

namespace {

// Any CA will do: no frame of the fuzzer carries a certificate chained to it.
constexpr char kCaFile[] = "EapSupplicantFuzz-ca.pem";
constexpr char kCaPem[] = R"(-----BEGIN CERTIFICATE-----
MIIBfjCCASWgAwIBAgIUaJGYZ9936cHMWKeABa76VUzZdbkwCgYIKoZIzj0EAwIw
FDESMBAGA1UEAwwJRnV6eiBSb290MCAXDTI2MTIxMTAwMDcwMVoYDzIxMjYxMTE3
MDAwNzAxWjAUMRIwEAYDVQQDDAlGdXp6IFJvb3QwWTATBgcqhkjOPQIBBggqhkjO
PQMBBwNCAAQcWxTjvEkUn+vPWjD5CnGXiVKdjhzcdXHZjcU/WC4loVTFsfMBqFfc
tsz8nXVp9uVbBZvoDq/egrKildO5/XaPo1MwUTAdBgNVHQ4EFgQURNJpOKtpP6sZ
2N19W8weQmIs1WwwHwYDVR0jBBgwFoAURNJpOKtpP6sZ2N19W8weQmIs1WwwDwYD
VR0TAQH/BAUwAwEB/zAKBggqhkjOPQQDAgNHADBEAiAhB28cMGM61nrJFzG4Kf3B
RmMvok+w4/AXqYl3beut6gIgSltifS/54cQXgyhXv8yNNbgsFfBsD4EqrH5CZBll
0Pw=
-----END CERTIFICATE-----
)";

struct FixedNonces final : crypto::NonceSource {
    bool fill(std::span<std::uint8_t> nonce) override {
        std::fill(nonce.begin(), nonce.end(), 0x5C);
        return true;
    }
};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::ofstream(kCaFile, std::ios::binary | std::ios::trunc) << kCaPem;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    EapolConfig config;
    config.identity = "student";
    config.method = (data[0] & 1) ? "PEAP" : "TLS";
    config.fragmentSize = 16 + (data[0] >> 1) * 12;
    config.password = "library-card";
    config.caCertificateFile = kCaFile;
    config.innerIdentity = config.identity;

    testing::LoopbackEapol link;
    VirtualClock clock;
    FixedNonces nonces;
    crypto::MsChapV2 msChapV2;
    dot1x::EapSupplicant supplicant(link, clock, config, nonces, &msChapV2);
    supplicant.start();

    std::size_t at = 1;
    while (at + 2 <= size) {
        const std::size_t length = data[at] << 8 | data[at + 1];
        at += 2;
        const std::size_t take = std::min(length, size - at);
        supplicant.handleFrame(std::span(data + at, take));
        at += take;
        check(supplicant.state() != dot1x::EapSupplicant::State::Authenticated);
        for (const auto& reply : link.toAccessPoint) {
            check(reply.size() <= EapolPort::kMaxFrameBytes);
            check(EapolFrameView::parse(reply).has_value());
        }
        link.toAccessPoint.clear();
    }
    check(!supplicant.step());
    return 0;
}
