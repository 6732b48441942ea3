#include "crypto/MessageIntegrity.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <limits>

namespace rizorivu::crypto {

namespace {

bool hmac(const EVP_MD* md, std::span<const std::uint8_t> key, std::span<const std::uint8_t> data,
          std::span<std::uint8_t> output) {
    if (key.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    std::array<std::uint8_t, EVP_MAX_MD_SIZE> full{};
    unsigned int length = 0;
    if (HMAC(md, key.data(), static_cast<int>(key.size()), data.data(), data.size(), full.data(),
             &length) == nullptr ||
        length < output.size()) {
        return false;
    }
    std::copy_n(full.begin(), output.size(), output.begin());
    OPENSSL_cleanse(full.data(), full.size());
    return true;
}

}  // namespace

bool hmacMd5(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data, Mic& mic) {
    return hmac(EVP_md5(), key, data, mic);
}

bool hmacSha1_128(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data, Mic& mic) {
    return hmac(EVP_sha1(), key, data, mic);
}

bool hmacSha1(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data,
              std::span<std::uint8_t, 20> output) {
    return hmac(EVP_sha1(), key, data, output);
}

bool micEqual(std::span<const std::uint8_t, 16> a, std::span<const std::uint8_t, 16> b) {
    return CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace rizorivu::crypto
