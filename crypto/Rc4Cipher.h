#pragma once

#include <cstdint>
#include <span>

#include "crypto/LegacyContext.h"

struct evp_cipher_st;

namespace rizorivu::crypto {

// RC4 from OpenSSL's legacy provider, loaded into a library context of this object's own so
// that the rest of the process keeps the default provider set untouched. TKIP key data is
// RC4 keyed with EAPOL-Key IV | KEK with the first 256 bytes of key stream skipped.
// Not copyable; one object may be used from one thread at a time.
class Rc4Cipher {
public:
    Rc4Cipher();
    ~Rc4Cipher();
    Rc4Cipher(const Rc4Cipher&) = delete;
    Rc4Cipher& operator=(const Rc4Cipher&) = delete;

    // False when the legacy provider could not be loaded; apply() then always refuses.
    bool available() const { return cipher_ != nullptr; }

    // XORs `data` in place with the key stream after `skip` bytes. RC4 is its own inverse, so
    // this both encrypts and decrypts. False (data untouched) when RC4 is unavailable, the key
    // is empty or longer than 256 bytes.
    bool apply(std::span<const std::uint8_t> key, std::size_t skip,
               std::span<std::uint8_t> data) const;

private:
    // Declared first: the algorithms fetched from it are freed before it goes.
    LegacyContext context_;
    evp_cipher_st* cipher_ = nullptr;
};

}  // namespace rizorivu::crypto
