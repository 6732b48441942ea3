#include "crypto/RandomNonceSource.h"

#include <openssl/rand.h>

#include <limits>

namespace rizorivu::crypto {

bool RandomNonceSource::fill(std::span<std::uint8_t> nonce) {
    if (nonce.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    return RAND_bytes(nonce.data(), static_cast<int>(nonce.size())) == 1;
}

}  // namespace rizorivu::crypto
