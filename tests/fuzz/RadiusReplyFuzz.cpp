// A RADIUS reply is whatever arrives on the access point's socket. The framing parser must
// stay within the stated length, and the full check must never believe a reply it did not
// sign itself; the key decryption must hold for any value.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sim/RadiusPacket.h"
#include "sim/RadiusReply.h"

using namespace rizorivu::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that reading past it is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const std::vector<std::uint8_t> secret{'f', 'u', 'z', 'z'};
    if (const auto packet = RadiusPacket::parse(bytes)) {
        std::size_t total = radius::kHeaderBytes;
        for (const RadiusAttribute& a : packet->attributes) {
            total += a.value.size() + 2;
        }
        if (total > bytes.size() || total > radius::kMaxPacketBytes) {
            std::abort();
        }
        RadiusPacket request;
        request.identifier = packet->identifier;
        // The fuzzer cannot forge an MD5 and an HMAC together; a believed reply is a fault.
        if (RadiusReply::read(bytes, request, secret)) {
            std::abort();
        }
    }
    RadiusAuthenticator authenticator{};
    if (const auto key = RadiusReply::decryptMppeKey(bytes, secret, authenticator)) {
        if (key->size() + 3 > bytes.size()) {
            std::abort();
        }
    }
    return 0;
}
