#include "crypto/PassphraseKey.h"

#include <openssl/evp.h>

#include <limits>

namespace rizorivu::crypto {

bool derivePassphraseKey(std::string_view passphrase, std::span<const std::uint8_t> ssid,
                         int iterations, std::span<std::uint8_t> output) {
    constexpr auto kIntMax = static_cast<std::size_t>(std::numeric_limits<int>::max());
    if (iterations <= 0 || output.empty() || output.size() > kIntMax ||
        passphrase.size() > kIntMax || ssid.size() > kIntMax) {
        return false;
    }
    return PKCS5_PBKDF2_HMAC_SHA1(passphrase.data(), static_cast<int>(passphrase.size()),
                                  ssid.data(), static_cast<int>(ssid.size()), iterations,
                                  static_cast<int>(output.size()), output.data()) == 1;
}

}  // namespace rizorivu::crypto
