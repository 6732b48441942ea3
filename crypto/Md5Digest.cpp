#include "crypto/Md5Digest.h"

#include <memory>

#include <openssl/evp.h>

namespace rizorivu::crypto {

bool md5Digest(std::initializer_list<std::span<const std::uint8_t>> parts, Md5& digest) {
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(),
                                                                      &EVP_MD_CTX_free);
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_md5(), nullptr) != 1) {
        return false;
    }
    for (const auto part : parts) {
        if (!part.empty() && EVP_DigestUpdate(ctx.get(), part.data(), part.size()) != 1) {
            return false;
        }
    }
    unsigned int size = 0;
    return EVP_DigestFinal_ex(ctx.get(), digest.data(), &size) == 1 && size == digest.size();
}

}  // namespace rizorivu::crypto
