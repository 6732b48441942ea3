// The key derivations and ciphers against published vectors: IEEE 802.11i Annex H (passphrase
// mapping, PRF), RFC 2202 (HMAC), RFC 3394 (AES key wrap), RFC 6229 (RC4).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crypto/AesKeyWrap.h"
#include "crypto/KeyDataCipher.h"
#include "crypto/KeyHierarchy.h"
#include "crypto/MessageIntegrity.h"
#include "crypto/PassphraseKey.h"
#include "crypto/Rc4Cipher.h"
#include "tests/support/HexBytes.h"

namespace rizorivu::crypto {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::hexBytes;
using testing::textBytes;

struct PassphraseCase {
    std::string passphrase;
    std::string ssid;
    const char* key;
};

TEST(PassphraseKeyTest, MatchesAnnexH) {
    const PassphraseCase cases[] = {
        {"password", "IEEE", "f42c6fc52df0ebef9ebb4b90b38a5f902e83fe1b135a70e23aed762e9710a12e"},
        {"ThisIsAPassword", "ThisIsASSID",
         "0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af"},
        {std::string(32, 'a'), std::string(32, 'Z'),
         "becb93866bb8c3832cb777c2f559807c8c59afcb6eae734885001300a981cc62"},
    };
    for (const auto& c : cases) {
        Bytes key(32);
        ASSERT_TRUE(derivePassphraseKey(c.passphrase, textBytes(c.ssid), 4096, key)) << c.ssid;
        EXPECT_EQ(key, hexBytes(c.key)) << c.ssid;
    }
}

TEST(PassphraseKeyTest, RefusesWhatPbkdf2Cannot) {
    Bytes key(32);
    EXPECT_FALSE(derivePassphraseKey("password", textBytes("IEEE"), 0, key));
    Bytes none;
    EXPECT_FALSE(derivePassphraseKey("password", textBytes("IEEE"), 4096, none));
}

struct PrfCase {
    Bytes key;
    const char* label;
    Bytes data;
    const char* output;
};

TEST(KeyHierarchyTest, PrfMatchesAnnexH) {
    const PrfCase cases[] = {
        {Bytes(20, 0x0b), "prefix", textBytes("Hi There"),
         "bcd4c650b30b9684951829e0d75f9d54b862175ed9f00606e17d8da35402ffee"
         "75df78c3d31e0f889f012120c0862beb67753e7439ae242edb8373698356cf5a"},
        {textBytes("Jefe"), "prefix", textBytes("what do ya want for nothing?"),
         "51f4de5b33f249adf81aeb713a3c20f4fe631446fabdfa58244759ae58ef9009"
         "a99abf4eac2ca5fa87e692c440eb40023e7babb206d61de7b92f41529092b8fc"},
        {Bytes(20, 0xaa), "prefix", Bytes(50, 0xdd),
         "e1ac546ec4cb636f9976487be5c86be17a0252ca5d8d8df12cfb0473525249ce"
         "9dd8d177ead710bc9b590547239107aef7b4abd43d87f0a68f1cbd9e2b6f7607"},
    };
    for (const auto& c : cases) {
        const Bytes expected = hexBytes(c.output);
        Bytes out(expected.size());
        ASSERT_TRUE(prf(c.key, c.label, c.data, out));
        EXPECT_EQ(out, expected);
        // A shorter output is the prefix of the longer one: the rounds do not depend on it.
        Bytes shorter(23);
        ASSERT_TRUE(prf(c.key, c.label, c.data, shorter));
        EXPECT_EQ(shorter, Bytes(expected.begin(), expected.begin() + 23));
    }
}

TEST(KeyHierarchyTest, BothEndsDeriveTheSameKeysWhicheverAddressIsSmaller) {
    std::array<std::uint8_t, 32> pmk{};
    pmk.fill(0x42);
    const std::array<std::uint8_t, 6> low{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    const std::array<std::uint8_t, 6> high{0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::array<std::uint8_t, 32> n1{};
    std::array<std::uint8_t, 32> n2{};
    n1.fill(0x01);
    n2.fill(0x02);
    PairwiseKeys a;
    PairwiseKeys b;
    ASSERT_TRUE(derivePairwiseKeys(pmk, low, high, n1, n2, 32, a));
    ASSERT_TRUE(derivePairwiseKeys(pmk, high, low, n2, n1, 32, b));
    EXPECT_EQ(a.bytes, b.bytes);
    // The expansion is the PRF over min/max of addresses and nonces.
    Bytes data(low.begin(), low.end());
    data.insert(data.end(), high.begin(), high.end());
    data.insert(data.end(), n1.begin(), n1.end());
    data.insert(data.end(), n2.begin(), n2.end());
    Bytes expected(64);
    ASSERT_TRUE(prf(pmk, "Pairwise key expansion", data, expected));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), a.bytes.begin()));
    EXPECT_EQ(a.temporalKey().size(), 32u);
    PairwiseKeys ccmp;
    ASSERT_TRUE(derivePairwiseKeys(pmk, low, high, n1, n2, 16, ccmp));
    EXPECT_TRUE(std::equal(ccmp.bytes.begin(), ccmp.bytes.begin() + 48, a.bytes.begin()));
    EXPECT_FALSE(derivePairwiseKeys(pmk, low, high, n1, n2, 13, ccmp));
}

// IEEE 802.11i Annex H: pairwise key derivation from the PMK of "ThisIsAPassword" and
// "ThisIsASSID" (AA printed as a0 a1 a1 a3 a4 a5 in the standard and used so here).
TEST(KeyHierarchyTest, PairwiseKeysMatchAnnexH) {
    const Bytes pmkBytes =
        hexBytes("0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af");
    const Bytes aaBytes = hexBytes("a0a1a1a3a4a5");
    const Bytes spaBytes = hexBytes("b0b1b2b3b4b5");
    const Bytes snonceBytes =
        hexBytes("c0c1c2c3c4c5c6c7c8c9d0d1d2d3d4d5d6d7d8d9dadbdcdddedfe0e1e2e3e4e5");
    const Bytes anonceBytes =
        hexBytes("e0e1e2e3e4e5e6e7e8e9f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff000102030405");
    std::array<std::uint8_t, 32> pmk{};
    std::array<std::uint8_t, 6> aa{};
    std::array<std::uint8_t, 6> spa{};
    std::array<std::uint8_t, 32> anonce{};
    std::array<std::uint8_t, 32> snonce{};
    std::copy(pmkBytes.begin(), pmkBytes.end(), pmk.begin());
    std::copy(aaBytes.begin(), aaBytes.end(), aa.begin());
    std::copy(spaBytes.begin(), spaBytes.end(), spa.begin());
    std::copy(anonceBytes.begin(), anonceBytes.end(), anonce.begin());
    std::copy(snonceBytes.begin(), snonceBytes.end(), snonce.begin());
    const auto bytesOf = [](auto span) { return Bytes(span.begin(), span.end()); };

    PairwiseKeys ccmp;
    ASSERT_TRUE(derivePairwiseKeys(pmk, aa, spa, anonce, snonce, 16, ccmp));
    EXPECT_EQ(bytesOf(ccmp.confirmationKey()), hexBytes("379f9852d0199236b94e407ce4c00ec8"));
    EXPECT_EQ(bytesOf(ccmp.encryptionKey()), hexBytes("47c9edc01c2c6e5b4910caddfb3e51a7"));
    EXPECT_EQ(bytesOf(ccmp.temporalKey()), hexBytes("b2360c79e9710fdd58bea93deaf06599"));
    // TKIP: the same temporal key, then the authenticator's and supplicant's MIC keys.
    PairwiseKeys tkip;
    ASSERT_TRUE(derivePairwiseKeys(pmk, aa, spa, anonce, snonce, 32, tkip));
    EXPECT_EQ(bytesOf(tkip.temporalKey()),
              hexBytes("b2360c79e9710fdd58bea93deaf06599 db980afbc29c1528 55740a6ce5ae3827"));
}

TEST(MessageIntegrityTest, MatchesRfc2202) {
    Mic mic{};
    ASSERT_TRUE(hmacMd5(Bytes(16, 0x0b), textBytes("Hi There"), mic));
    EXPECT_EQ(Bytes(mic.begin(), mic.end()), hexBytes("9294727a3638bb1c13f48ef8158bfc9d"));
    ASSERT_TRUE(hmacSha1_128(textBytes("Jefe"), textBytes("what do ya want for nothing?"), mic));
    EXPECT_EQ(Bytes(mic.begin(), mic.end()), hexBytes("effcdf6ae5eb2fa2d27416d5f184df9c"));
    Mic other = mic;
    EXPECT_TRUE(micEqual(mic, other));
    other[15] ^= 1;
    EXPECT_FALSE(micEqual(mic, other));
}

struct WrapCase {
    const char* kek;
    const char* plain;
    const char* wrapped;
};

TEST(AesKeyWrapTest, MatchesRfc3394) {
    const WrapCase cases[] = {
        {"000102030405060708090A0B0C0D0E0F", "00112233445566778899AABBCCDDEEFF",
         "1FA68B0A8112B447AEF34BD8FB5A7B829D3E862371D2CFE5"},
        {"000102030405060708090A0B0C0D0E0F1011121314151617", "00112233445566778899AABBCCDDEEFF",
         "96778B25AE6CA435F92B5B97C050AED2468AB8A17AD84E5D"},
        {"000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F",
         "00112233445566778899AABBCCDDEEFF000102030405060708090A0B0C0D0E0F",
         "28C9F404C4B810F4CBCCB35CFB87F8263F5786E2D80ED326CBC7F0E71A99F43BFB988B9B7A02DD21"},
    };
    for (const auto& c : cases) {
        const auto wrapped = aesKeyWrap(hexBytes(c.kek), hexBytes(c.plain));
        ASSERT_TRUE(wrapped) << c.wrapped;
        EXPECT_EQ(*wrapped, hexBytes(c.wrapped));
        const auto plain = aesKeyUnwrap(hexBytes(c.kek), *wrapped);
        ASSERT_TRUE(plain);
        EXPECT_EQ(*plain, hexBytes(c.plain));
    }
}

TEST(AesKeyWrapTest, RefusesBadSizesAndFailedIntegrity) {
    const Bytes kek = hexBytes("000102030405060708090A0B0C0D0E0F");
    Bytes wrapped = hexBytes("1FA68B0A8112B447AEF34BD8FB5A7B829D3E862371D2CFE5");
    wrapped[3] ^= 0x80;
    EXPECT_FALSE(aesKeyUnwrap(kek, wrapped));
    EXPECT_FALSE(aesKeyWrap(kek, Bytes(8)));         // one block only
    EXPECT_FALSE(aesKeyWrap(kek, Bytes(20)));        // not whole blocks
    EXPECT_FALSE(aesKeyUnwrap(kek, Bytes(16)));      // no room for the check value
    EXPECT_FALSE(aesKeyWrap(Bytes(15), Bytes(16)));  // no such AES key
    EXPECT_FALSE(aesKeyUnwrap(kek, Bytes(8192)));    // larger than any key data
}

TEST(KeyDataCipherTest, WrapsAsRfc3394AndPadsWhatIsNoWholeBlocks) {
    const Bytes kekBytes = hexBytes("000102030405060708090A0B0C0D0E0F");
    std::array<std::uint8_t, 16> kek{};
    std::copy(kekBytes.begin(), kekBytes.end(), kek.begin());
    const std::array<std::uint8_t, 16> iv{};
    Rc4Cipher rc4;
    // Whole blocks are wrapped as they are: RFC 3394's 128-bit vector.
    const auto wrapped = sealKeyData(KeyDataCipher::AesKeyWrap, kek, iv,
                                     hexBytes("00112233445566778899AABBCCDDEEFF"), rc4);
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(*wrapped, hexBytes("1FA68B0A8112B447AEF34BD8FB5A7B829D3E862371D2CFE5"));
    // Anything else is padded with 0xDD and zeros to whole blocks, at least two.
    const struct {
        std::size_t plain;
        Bytes padding;
    } cases[] = {{5, {0xDD, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                 {22, {0xDD, 0}},
                 {8, {0xDD, 0, 0, 0, 0, 0, 0, 0}}};
    for (const auto& c : cases) {
        const Bytes plain(c.plain, 0x3C);
        const auto sealed = sealKeyData(KeyDataCipher::AesKeyWrap, kek, iv, plain, rc4);
        ASSERT_TRUE(sealed) << c.plain;
        const auto opened = openKeyData(KeyDataCipher::AesKeyWrap, kek, iv, *sealed, rc4);
        ASSERT_TRUE(opened) << c.plain;
        Bytes expected = plain;
        expected.insert(expected.end(), c.padding.begin(), c.padding.end());
        EXPECT_EQ(*opened, expected) << c.plain;
    }
    // A wrong key or a flipped bit fails the unwrap's integrity check; ragged data is refused.
    Bytes sealed = *wrapped;
    std::array<std::uint8_t, 16> otherKek = kek;
    otherKek[15] ^= 1;
    EXPECT_FALSE(openKeyData(KeyDataCipher::AesKeyWrap, otherKek, iv, sealed, rc4));
    sealed[9] ^= 0x10;
    EXPECT_FALSE(openKeyData(KeyDataCipher::AesKeyWrap, kek, iv, sealed, rc4));
    EXPECT_FALSE(openKeyData(KeyDataCipher::AesKeyWrap, kek, iv, Bytes(23, 1), rc4));
}

TEST(KeyDataCipherTest, Rc4IsKeyedWithIvAndKekAfter256Bytes) {
    std::array<std::uint8_t, 16> kek{};
    kek.fill(0x47);
    std::array<std::uint8_t, 16> iv{};
    iv.fill(0x09);
    Rc4Cipher rc4;
    const Bytes plain = textBytes("an RSN element and a group key");
    const auto sealed = sealKeyData(KeyDataCipher::Rc4, kek, iv, plain, rc4);
    ASSERT_TRUE(sealed);
    // The same key stream as RC4 under IV | KEK with 256 bytes skipped.
    Bytes key(iv.begin(), iv.end());
    key.insert(key.end(), kek.begin(), kek.end());
    Bytes direct = plain;
    ASSERT_TRUE(rc4.apply(key, 256, direct));
    EXPECT_EQ(*sealed, direct);
    EXPECT_EQ(openKeyData(KeyDataCipher::Rc4, kek, iv, *sealed, rc4), plain);
    std::array<std::uint8_t, 16> otherIv = iv;
    otherIv[0] ^= 1;
    EXPECT_NE(openKeyData(KeyDataCipher::Rc4, kek, otherIv, *sealed, rc4), plain);
}

struct Rc4Case {
    const char* key;
    std::size_t offset;
    const char* stream;
};

TEST(Rc4CipherTest, MatchesRfc6229) {
    const Rc4Case cases[] = {
        {"0102030405", 0, "b2396305f03dc027ccc3524a0a1118a8"},
        {"0102030405", 16, "6982944f18fc82d589c403a47a0d0919"},
        {"0102030405", 240, "28cb1132c96ce286421dcaadb8b69eae"},
        {"0102030405", 256, "1cfcf62b03eddb641d77dfcf7f8d8c93"},
        {"0102030405060708090a0b0c0d0e0f10", 0, "9ac7cc9a609d1ef7b2932899cde41b97"},
    };
    Rc4Cipher rc4;
    ASSERT_TRUE(rc4.available());
    for (const auto& c : cases) {
        Bytes data(16);
        ASSERT_TRUE(rc4.apply(hexBytes(c.key), c.offset, data));
        EXPECT_EQ(data, hexBytes(c.stream)) << c.key << " at " << c.offset;
    }
}

TEST(Rc4CipherTest, IsItsOwnInverseAndRefusesBadKeys) {
    Rc4Cipher rc4;
    const Bytes key = hexBytes("00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff");
    const Bytes plain = textBytes("group temporal key, 32 bytes...");
    Bytes data = plain;
    ASSERT_TRUE(rc4.apply(key, 256, data));
    EXPECT_NE(data, plain);
    ASSERT_TRUE(rc4.apply(key, 256, data));
    EXPECT_EQ(data, plain);
    EXPECT_FALSE(rc4.apply({}, 0, data));
    EXPECT_FALSE(rc4.apply(Bytes(257, 1), 0, data));
    EXPECT_EQ(data, plain);
}

}  // namespace
}  // namespace rizorivu::crypto
