#include "crypto/Rc4Cipher.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace rizorivu::crypto {

namespace {

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

}  // namespace

Rc4Cipher::Rc4Cipher() {
    if (context_.get() != nullptr) {
        cipher_ = EVP_CIPHER_fetch(context_.get(), "RC4", nullptr);
    }
}

Rc4Cipher::~Rc4Cipher() {
    EVP_CIPHER_free(cipher_);
}

bool Rc4Cipher::apply(std::span<const std::uint8_t> key, std::size_t skip,
                      std::span<std::uint8_t> data) const {
    if (cipher_ == nullptr || key.empty() || key.size() > 256 ||
        data.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> context(EVP_CIPHER_CTX_new());
    if (!context) {
        return false;
    }
    // The key length is a parameter of RC4 and must be set before the key itself.
    std::size_t keyLength = key.size();
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_size_t(OSSL_CIPHER_PARAM_KEYLEN, &keyLength),
                                 OSSL_PARAM_END};
    if (EVP_EncryptInit_ex2(context.get(), cipher_, nullptr, nullptr, params) != 1 ||
        EVP_EncryptInit_ex2(context.get(), nullptr, key.data(), nullptr, nullptr) != 1) {
        return false;
    }
    std::array<std::uint8_t, 256> discard{};
    int length = 0;
    for (std::size_t left = skip; left > 0;) {
        const std::size_t step = std::min(left, discard.size());
        if (EVP_EncryptUpdate(context.get(), discard.data(), &length, discard.data(),
                              static_cast<int>(step)) != 1) {
            return false;
        }
        left -= step;
    }
    OPENSSL_cleanse(discard.data(), discard.size());
    return data.empty() || EVP_EncryptUpdate(context.get(), data.data(), &length, data.data(),
                                             static_cast<int>(data.size())) == 1;
}

}  // namespace rizorivu::crypto
