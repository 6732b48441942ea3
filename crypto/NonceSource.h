#pragma once

#include <cstdint>
#include <span>

namespace rizorivu::crypto {

// Where a handshake's nonces come from: random on a live network, fixed in tests that replay
// a recorded or published handshake frame by frame.
class NonceSource {
public:
    virtual ~NonceSource() = default;
    // Fills `nonce`; false when no nonce could be produced (the handshake then does not answer).
    virtual bool fill(std::span<std::uint8_t> nonce) = 0;
};

}  // namespace rizorivu::crypto
