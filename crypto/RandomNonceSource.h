#pragma once

#include "crypto/NonceSource.h"

namespace rizorivu::crypto {

// Nonces from OpenSSL's cryptographically secure generator.
class RandomNonceSource final : public NonceSource {
public:
    bool fill(std::span<std::uint8_t> nonce) override;
};

}  // namespace rizorivu::crypto
