#include "crypto/KeyDataCipher.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <array>

#include "crypto/AesKeyWrap.h"

namespace rizorivu::crypto {

namespace {

constexpr std::size_t kRc4Skip = 256;
constexpr std::size_t kBlockBytes = 8;
constexpr std::size_t kMinWrapBytes = 2 * kBlockBytes;
constexpr std::uint8_t kPadFirst = 0xDD;

std::optional<std::vector<std::uint8_t>> rc4(std::span<const std::uint8_t, 16> kek,
                                             std::span<const std::uint8_t, 16> iv,
                                             std::span<const std::uint8_t> data,
                                             const Rc4Cipher& cipher) {
    std::array<std::uint8_t, 32> key{};
    std::copy(iv.begin(), iv.end(), key.begin());
    std::copy(kek.begin(), kek.end(), key.begin() + 16);
    std::vector<std::uint8_t> out(data.begin(), data.end());
    const bool ok = cipher.apply(key, kRc4Skip, out);
    OPENSSL_cleanse(key.data(), key.size());
    if (!ok) {
        OPENSSL_cleanse(out.data(), out.size());
        return std::nullopt;
    }
    return out;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> sealKeyData(KeyDataCipher cipher,
                                                     std::span<const std::uint8_t, 16> kek,
                                                     std::span<const std::uint8_t, 16> iv,
                                                     std::span<const std::uint8_t> plain,
                                                     const Rc4Cipher& rc4Cipher) {
    if (cipher == KeyDataCipher::Rc4) {
        return rc4(kek, iv, plain, rc4Cipher);
    }
    std::vector<std::uint8_t> padded(plain.begin(), plain.end());
    if (padded.size() % kBlockBytes != 0 || padded.size() < kMinWrapBytes) {
        padded.push_back(kPadFirst);
    }
    while (padded.size() % kBlockBytes != 0 || padded.size() < kMinWrapBytes) {
        padded.push_back(0);
    }
    auto wrapped = aesKeyWrap(kek, padded);
    OPENSSL_cleanse(padded.data(), padded.size());
    return wrapped;
}

std::optional<std::vector<std::uint8_t>> openKeyData(KeyDataCipher cipher,
                                                     std::span<const std::uint8_t, 16> kek,
                                                     std::span<const std::uint8_t, 16> iv,
                                                     std::span<const std::uint8_t> sealed,
                                                     const Rc4Cipher& rc4Cipher) {
    if (cipher == KeyDataCipher::Rc4) {
        return rc4(kek, iv, sealed, rc4Cipher);
    }
    return aesKeyUnwrap(kek, sealed);
}

}  // namespace rizorivu::crypto
