#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <openssl/evp.h>

#include "platform/UdpSocket.h"
#include "sim/RadiusPacket.h"

namespace rizorivu::testing {

// MS-MPPE key hiding as RFC 2548 2.4.2 writes it, on OpenSSL's MD5 directly, so that tests
// check the relay's decryption against an implementation of their own.
inline std::vector<std::uint8_t> hideMppeKey(const std::vector<std::uint8_t>& key,
                                             const std::string& secret,
                                             const sim::RadiusAuthenticator& requestAuthenticator,
                                             std::array<std::uint8_t, 2> salt) {
    std::vector<std::uint8_t> plain{static_cast<std::uint8_t>(key.size())};
    plain.insert(plain.end(), key.begin(), key.end());
    plain.resize((plain.size() + 15) / 16 * 16, 0);
    std::vector<std::uint8_t> out(salt.begin(), salt.end());
    std::vector<std::uint8_t> chain(requestAuthenticator.begin(), requestAuthenticator.end());
    chain.insert(chain.end(), salt.begin(), salt.end());
    for (std::size_t at = 0; at < plain.size(); at += 16) {
        std::vector<std::uint8_t> input(secret.begin(), secret.end());
        input.insert(input.end(), chain.begin(), chain.end());
        std::array<std::uint8_t, 16> b{};
        unsigned int size = 0;
        EVP_Digest(input.data(), input.size(), b.data(), &size, EVP_md5(), nullptr);
        chain.clear();
        for (std::size_t i = 0; i < 16; ++i) {
            out.push_back(plain[at + i] ^ b[i]);
            chain.push_back(out.back());
        }
    }
    return out;
}

// The Vendor-Specific attribute of one Microsoft attribute.
inline std::vector<std::uint8_t> microsoftAttribute(std::uint8_t type,
                                                    const std::vector<std::uint8_t>& value) {
    std::vector<std::uint8_t> vsa{0,    0,    0x01,
                                  0x37, type, static_cast<std::uint8_t>(value.size() + 2)};
    vsa.insert(vsa.end(), value.begin(), value.end());
    return vsa;
}

// A RADIUS server a test scripts: it hands over each request and sends the answer it is told.
class RadiusTestServer {
public:
    RadiusTestServer() { socket_.bindLocal(0); }
    std::uint16_t port() const { return socket_.localPort(); }

    // The next request within `wait` of real time.
    std::optional<sim::RadiusPacket> request(
        std::chrono::milliseconds wait = std::chrono::milliseconds(2000)) {
        const auto until = std::chrono::steady_clock::now() + wait;
        while (std::chrono::steady_clock::now() < until) {
            if (auto d = socket_.receive()) {
                from_ = d->from;
                raw_ = d->bytes;
                return sim::RadiusPacket::parse(d->bytes);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return std::nullopt;
    }
    const std::vector<std::uint8_t>& raw() const { return raw_; }
    void answer(const std::vector<std::uint8_t>& bytes) { socket_.sendTo(from_, bytes); }

private:
    UdpSocket socket_;
    UdpSocket::Peer from_;
    std::vector<std::uint8_t> raw_;
};

}  // namespace rizorivu::testing
