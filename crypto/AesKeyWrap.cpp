#include "crypto/AesKeyWrap.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <memory>

namespace rizorivu::crypto {

namespace {

constexpr std::size_t kMaxBytes = 4096;

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

const EVP_CIPHER* wrapCipher(std::size_t kekBytes) {
    switch (kekBytes) {
        case 16:
            return EVP_aes_128_wrap();
        case 24:
            return EVP_aes_192_wrap();
        case 32:
            return EVP_aes_256_wrap();
        default:
            return nullptr;
    }
}

std::optional<std::vector<std::uint8_t>> run(bool wrap, std::span<const std::uint8_t> kek,
                                             std::span<const std::uint8_t> input) {
    const EVP_CIPHER* cipher = wrapCipher(kek.size());
    const std::size_t minimum = wrap ? 16 : 24;
    if (cipher == nullptr || input.size() < minimum || input.size() % 8 != 0 ||
        input.size() > kMaxBytes) {
        return std::nullopt;
    }
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> context(EVP_CIPHER_CTX_new());
    if (!context) {
        return std::nullopt;
    }
    EVP_CIPHER_CTX_set_flags(context.get(), EVP_CIPHER_CTX_FLAG_WRAP_ALLOW);
    std::vector<std::uint8_t> output(input.size() + 8);
    int length = 0;
    int last = 0;
    if (EVP_CipherInit_ex(context.get(), cipher, nullptr, kek.data(), nullptr, wrap ? 1 : 0) != 1 ||
        EVP_CipherUpdate(context.get(), output.data(), &length, input.data(),
                         static_cast<int>(input.size())) != 1 ||
        length <= 0 || EVP_CipherFinal_ex(context.get(), output.data() + length, &last) != 1) {
        OPENSSL_cleanse(output.data(), output.size());
        return std::nullopt;
    }
    output.resize(static_cast<std::size_t>(length + last));
    return output;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> aesKeyWrap(std::span<const std::uint8_t> kek,
                                                    std::span<const std::uint8_t> plain) {
    return run(true, kek, plain);
}

std::optional<std::vector<std::uint8_t>> aesKeyUnwrap(std::span<const std::uint8_t> kek,
                                                      std::span<const std::uint8_t> wrapped) {
    return run(false, kek, wrapped);
}

}  // namespace rizorivu::crypto
