#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "crypto/Rc4Cipher.h"

namespace rizorivu::crypto {

// How the key data of an EAPOL-Key frame travels under the key encryption key (KEK): RC4 keyed
// with the frame's IV and the KEK, the first 256 bytes of key stream skipped (descriptor
// version 1), or AES key wrap (version 2), whose plain text is padded with 0xDD and zeros to
// whole 8-byte blocks, at least two.
enum class KeyDataCipher { Rc4, AesKeyWrap };

// Empty when the cipher refuses: RC4 not available, or key data AES key wrap cannot take.
std::optional<std::vector<std::uint8_t>> sealKeyData(KeyDataCipher cipher,
                                                     std::span<const std::uint8_t, 16> kek,
                                                     std::span<const std::uint8_t, 16> iv,
                                                     std::span<const std::uint8_t> plain,
                                                     const Rc4Cipher& rc4);
// The plain key data, padding included. Empty when the cipher refuses or, for AES key wrap,
// when the sealed bytes are not whole blocks or fail the unwrap's integrity check.
std::optional<std::vector<std::uint8_t>> openKeyData(KeyDataCipher cipher,
                                                     std::span<const std::uint8_t, 16> kek,
                                                     std::span<const std::uint8_t, 16> iv,
                                                     std::span<const std::uint8_t> sealed,
                                                     const Rc4Cipher& rc4);

}  // namespace rizorivu::crypto
