#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "crypto/LegacyContext.h"

struct evp_md_st;
struct evp_cipher_st;

namespace rizorivu::crypto {

// MS-CHAPv2 (RFC 2759): the peer's NT-Response and the check of the authenticator's answer.
// MD4 and single DES exist only in OpenSSL's legacy provider, which is loaded into a library
// context of this object's own so that the rest of the process keeps the default providers.
// Not copyable; one object may be used from one thread at a time.
class MsChapV2 {
public:
    using Challenge = std::array<std::uint8_t, 16>;
    using NtResponse = std::array<std::uint8_t, 24>;
    using PasswordHash = std::array<std::uint8_t, 16>;

    MsChapV2();
    ~MsChapV2();
    MsChapV2(const MsChapV2&) = delete;
    MsChapV2& operator=(const MsChapV2&) = delete;

    // False when MD4 or DES could not be loaded; every operation then refuses.
    bool available() const { return md4_ != nullptr && des_ != nullptr && sha1_ != nullptr; }

    // MD4 of the password as UTF-16LE (the password is UTF-8; a byte that is not counts as
    // the character of its value).
    bool ntPasswordHash(std::string_view password, PasswordHash& hash) const;
    // The first 8 bytes of SHA-1(peer challenge | authenticator challenge | user name).
    bool challengeHash(const Challenge& peer, const Challenge& authenticator,
                       std::string_view userName, std::array<std::uint8_t, 8>& hash) const;
    // The 8-byte challenge encrypted with DES under the three 7-byte thirds of the hash.
    bool challengeResponse(std::span<const std::uint8_t, 8> challenge, const PasswordHash& hash,
                           NtResponse& response) const;
    bool generateNtResponse(const Challenge& authenticator, const Challenge& peer,
                            std::string_view userName, std::string_view password,
                            NtResponse& response) const;
    // "S=" and 40 upper-case hexadecimal digits.
    bool generateAuthenticatorResponse(std::string_view password, const NtResponse& ntResponse,
                                       const Challenge& peer, const Challenge& authenticator,
                                       std::string_view userName, std::string& response) const;
    // True when `received` starts with the authenticator response this exchange should give
    // (hexadecimal digits in either case); compared in constant time.
    bool checkAuthenticatorResponse(std::string_view password, const NtResponse& ntResponse,
                                    const Challenge& peer, const Challenge& authenticator,
                                    std::string_view userName, std::string_view received) const;

private:
    bool digest(const evp_md_st* md, std::span<const std::span<const std::uint8_t>> parts,
                std::span<std::uint8_t> out) const;

    // Declared first: the algorithms fetched from it are freed before it goes.
    LegacyContext context_;
    evp_md_st* md4_ = nullptr;
    evp_md_st* sha1_ = nullptr;
    evp_cipher_st* des_ = nullptr;
};

}  // namespace rizorivu::crypto
