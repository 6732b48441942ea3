#include "crypto/MsChapV2.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace rizorivu::crypto {

namespace {

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
struct DigestContextFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// UTF-8 to UTF-16LE; bytes that do not form a character stand for themselves, so that a
// password in another 8-bit encoding still hashes to something stable.
std::vector<std::uint8_t> utf16le(std::string_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    const auto put = [&out](std::uint32_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const std::size_t extra = lead >= 0xF0 && lead < 0xF5   ? 3
                                  : lead >= 0xE0 && lead < 0xF0 ? 2
                                  : lead >= 0xC2 && lead < 0xE0 ? 1
                                                                : 0;
        std::uint32_t code = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : lead & 0x1Fu;
        bool valid = extra > 0 && i + extra < text.size();
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3Fu);
        }
        valid = valid && !(extra == 2 && (code < 0x800 || (code >= 0xD800 && code < 0xE000))) &&
                !(extra == 3 && (code < 0x10000 || code > 0x10FFFF));
        if (!valid) {
            put(lead);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            put(0xD800 | (code >> 10));
            put(0xDC00 | (code & 0x3FF));
        } else {
            put(code);
        }
        i += extra + 1;
    }
    return out;
}

// Spreads 7 key bytes over 8, leaving each byte's low bit for the parity DES ignores.
std::array<std::uint8_t, 8> desKey(std::span<const std::uint8_t> seven) {
    std::array<std::uint8_t, 8> key{};
    key[0] = seven[0];
    for (int i = 1; i < 7; ++i) {
        key[i] = static_cast<std::uint8_t>(seven[i - 1] << (8 - i) | seven[i] >> i);
    }
    key[7] = static_cast<std::uint8_t>(seven[6] << 1);
    return key;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr std::array<std::uint8_t, 39> kMagic1 = {
    0x4D, 0x61, 0x67, 0x69, 0x63, 0x20, 0x73, 0x65, 0x72, 0x76, 0x65, 0x72, 0x20,
    0x74, 0x6F, 0x20, 0x63, 0x6C, 0x69, 0x65, 0x6E, 0x74, 0x20, 0x73, 0x69, 0x67,
    0x6E, 0x69, 0x6E, 0x67, 0x20, 0x63, 0x6F, 0x6E, 0x73, 0x74, 0x61, 0x6E, 0x74};
constexpr std::array<std::uint8_t, 41> kMagic2 = {
    0x50, 0x61, 0x64, 0x20, 0x74, 0x6F, 0x20, 0x6D, 0x61, 0x6B, 0x65, 0x20, 0x69, 0x74,
    0x20, 0x64, 0x6F, 0x20, 0x6D, 0x6F, 0x72, 0x65, 0x20, 0x74, 0x68, 0x61, 0x6E, 0x20,
    0x6F, 0x6E, 0x65, 0x20, 0x69, 0x74, 0x65, 0x72, 0x61, 0x74, 0x69, 0x6F, 0x6E};

}  // namespace

MsChapV2::MsChapV2() {
    if (context_.get() != nullptr) {
        md4_ = EVP_MD_fetch(context_.get(), "MD4", nullptr);
        sha1_ = EVP_MD_fetch(context_.get(), "SHA1", nullptr);
        des_ = EVP_CIPHER_fetch(context_.get(), "DES-ECB", nullptr);
    }
}

MsChapV2::~MsChapV2() {
    EVP_MD_free(md4_);
    EVP_MD_free(sha1_);
    EVP_CIPHER_free(des_);
}

bool MsChapV2::digest(const evp_md_st* md, std::span<const std::span<const std::uint8_t>> parts,
                      std::span<std::uint8_t> out) const {
    if (md == nullptr || out.size() < static_cast<std::size_t>(EVP_MD_get_size(md))) {
        return false;
    }
    std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex2(context.get(), md, nullptr) != 1) {
        return false;
    }
    for (const auto& part : parts) {
        if (EVP_DigestUpdate(context.get(), part.data(), part.size()) != 1) {
            return false;
        }
    }
    unsigned int length = 0;
    return EVP_DigestFinal_ex(context.get(), out.data(), &length) == 1;
}

bool MsChapV2::ntPasswordHash(std::string_view password, PasswordHash& hash) const {
    std::vector<std::uint8_t> unicode = utf16le(password);
    const std::span<const std::uint8_t> parts[] = {unicode};
    const bool done = digest(md4_, parts, hash);
    OPENSSL_cleanse(unicode.data(), unicode.size());
    return done;
}

bool MsChapV2::challengeHash(const Challenge& peer, const Challenge& authenticator,
                             std::string_view userName, std::array<std::uint8_t, 8>& hash) const {
    std::array<std::uint8_t, 20> full{};
    const std::span<const std::uint8_t> parts[] = {peer, authenticator, bytesOf(userName)};
    if (!digest(sha1_, parts, full)) {
        return false;
    }
    std::copy_n(full.begin(), hash.size(), hash.begin());
    return true;
}

bool MsChapV2::challengeResponse(std::span<const std::uint8_t, 8> challenge,
                                 const PasswordHash& hash, NtResponse& response) const {
    if (des_ == nullptr) {
        return false;
    }
    std::array<std::uint8_t, 21> padded{};
    std::copy(hash.begin(), hash.end(), padded.begin());
    bool done = true;
    for (std::size_t third = 0; third < 3 && done; ++third) {
        std::array<std::uint8_t, 8> key = desKey(std::span(padded).subspan(third * 7, 7));
        std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> context(EVP_CIPHER_CTX_new());
        int length = 0;
        done = context &&
               EVP_EncryptInit_ex2(context.get(), des_, key.data(), nullptr, nullptr) == 1 &&
               EVP_CIPHER_CTX_set_padding(context.get(), 0) == 1 &&
               EVP_EncryptUpdate(context.get(), response.data() + third * 8, &length,
                                 challenge.data(), 8) == 1 &&
               length == 8;
        OPENSSL_cleanse(key.data(), key.size());
    }
    OPENSSL_cleanse(padded.data(), padded.size());
    return done;
}

bool MsChapV2::generateNtResponse(const Challenge& authenticator, const Challenge& peer,
                                  std::string_view userName, std::string_view password,
                                  NtResponse& response) const {
    std::array<std::uint8_t, 8> challenge{};
    PasswordHash hash{};
    const bool done = challengeHash(peer, authenticator, userName, challenge) &&
                      ntPasswordHash(password, hash) &&
                      challengeResponse(challenge, hash, response);
    OPENSSL_cleanse(hash.data(), hash.size());
    return done;
}

bool MsChapV2::generateAuthenticatorResponse(std::string_view password,
                                             const NtResponse& ntResponse, const Challenge& peer,
                                             const Challenge& authenticator,
                                             std::string_view userName,
                                             std::string& response) const {
    PasswordHash hash{};
    PasswordHash hashHash{};
    std::array<std::uint8_t, 20> digestBytes{};
    std::array<std::uint8_t, 8> challenge{};
    const std::span<const std::uint8_t> hashParts[] = {hash};
    bool done = ntPasswordHash(password, hash) && digest(md4_, hashParts, hashHash);
    if (done) {
        const std::span<const std::uint8_t> first[] = {hashHash, ntResponse, kMagic1};
        done = digest(sha1_, first, digestBytes) &&
               challengeHash(peer, authenticator, userName, challenge);
    }
    if (done) {
        const std::span<const std::uint8_t> second[] = {digestBytes, challenge, kMagic2};
        done = digest(sha1_, second, digestBytes);
    }
    if (done) {
        constexpr char kDigits[] = "0123456789ABCDEF";
        response = "S=";
        for (const std::uint8_t byte : digestBytes) {
            response.push_back(kDigits[byte >> 4]);
            response.push_back(kDigits[byte & 0x0F]);
        }
    }
    OPENSSL_cleanse(hash.data(), hash.size());
    OPENSSL_cleanse(hashHash.data(), hashHash.size());
    OPENSSL_cleanse(digestBytes.data(), digestBytes.size());
    return done;
}

bool MsChapV2::checkAuthenticatorResponse(std::string_view password, const NtResponse& ntResponse,
                                          const Challenge& peer, const Challenge& authenticator,
                                          std::string_view userName,
                                          std::string_view received) const {
    std::string expected;
    if (received.size() < 42 || received.substr(0, 2) != "S=" ||
        !generateAuthenticatorResponse(password, ntResponse, peer, authenticator, userName,
                                       expected)) {
        return false;
    }
    std::array<std::uint8_t, 20> want{};
    std::array<std::uint8_t, 20> got{};
    bool wellFormed = true;
    for (std::size_t i = 0; i < 20; ++i) {
        const int high = hexValue(received[2 + 2 * i]);
        const int low = hexValue(received[3 + 2 * i]);
        wellFormed = wellFormed && high >= 0 && low >= 0;
        got[i] = static_cast<std::uint8_t>((high & 0x0F) << 4 | (low & 0x0F));
        want[i] = static_cast<std::uint8_t>(hexValue(expected[2 + 2 * i]) << 4 |
                                            hexValue(expected[3 + 2 * i]));
    }
    return wellFormed && CRYPTO_memcmp(want.data(), got.data(), want.size()) == 0;
}

}  // namespace rizorivu::crypto
