// The small pieces of the WPA worker: the cipher and method tables, the add-key record, the
// key dump's format, the survey's WPA element, and the bounds of the texts handed on.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "adapter/KeyNegotiationContext.h"
#include "platform/CodePage.h"
#include "sim/AddKeyRecord.h"
#include "wpa/AddKeyRecordBuilder.h"
#include "wpa/AnsiText.h"
#include "wpa/CipherTables.h"
#include "wpa/EapolConfigs.h"
#include "wpa/HexDump.h"
#include "wpa/SurveyWpaElement.h"

namespace rizorivu::wpa {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WpaCipherTable, StoredEncryptionGivesTheCipherCode) {
    struct Case {
        int wepStatus;
        int keyLength;
        std::optional<int> code;
    };
    const Case cases[] = {
        {0, 64, ciphercode::kWep40}, {0, 128, ciphercode::kWep104}, {0, 40, ciphercode::kWep40},
        {0, -1, ciphercode::kWep40}, {0, 256, std::nullopt},        {4, 64, ciphercode::kTkip},
        {4, -1, ciphercode::kTkip},  {6, 256, ciphercode::kCcmp},   {1, 64, std::nullopt},
        {2, 128, std::nullopt},      {-1, 64, std::nullopt},        {5, 64, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cipherCodeOf(c.wepStatus, c.keyLength), c.code)
            << "WEPStatus " << c.wepStatus << ", WEPKeyLength " << c.keyLength;
    }
}

TEST(WpaCipherTable, StoredAuthenticationGivesTheMethod) {
    struct Case {
        int authenticationMode;
        int protocol;
        std::optional<SupplicantMethod> method;
    };
    const Case cases[] = {
        {3, 0, SupplicantMethod::Tls},
        {3, 1, SupplicantMethod::Peap},
        {3, 2, std::nullopt},
        {3, -1, std::nullopt},
        {4, 7, SupplicantMethod::PreSharedKey},
        {5, -1, SupplicantMethod::PreSharedKey},
        {2, 0, std::nullopt},
        {0, 1, std::nullopt},
        {6, 0, SupplicantMethod::Tls},
        {6, 1, SupplicantMethod::Peap},
        {6, 2, std::nullopt},
        {7, -1, SupplicantMethod::PreSharedKey},
        {8, 0, std::nullopt},
        {-1, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(methodOf(c.authenticationMode, c.protocol), c.method)
            << "AuthenticationMode " << c.authenticationMode << ", protocol " << c.protocol;
    }
}

std::uint32_t le32(const Bytes& bytes, std::size_t offset) {
    return bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
           static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24;
}

TEST(WpaAddKeyRecord, PairwiseAndGroupKeysAreLaidOutByteForByte) {
    const std::array<std::uint8_t, 6> bssid{0x02, 0x10, 0, 0, 0, 0x03};
    const std::array<std::uint8_t, 8> rsc{1, 2, 3, 4, 5, 6, 7, 8};
    struct Case {
        std::size_t keyBytes;
        int keyIndex;
        int keyType;
        std::size_t length;
        std::uint32_t indexWord;
    };
    const Case cases[] = {
        {16, 0, 0, 55, 0xE0000000u},  // pairwise: transmit, pairwise, sequence present
        {16, 3, 0, 55, 0xE0000000u},  // a pairwise key is index 0 whatever it is called
        {32, 1, 1, 71, 0x20000001u},  // group key 1
        {5, 2, 1, 44, 0x20000002u},   // WEP-40 group key of its own length
        {13, 3, 1, 52, 0x20000003u},  // WEP-104 group key
    };
    for (const Case& c : cases) {
        Bytes key(c.keyBytes);
        for (std::size_t i = 0; i < key.size(); ++i) {
            key[i] = static_cast<std::uint8_t>(0x40 + i);
        }
        const auto record = AddKeyRecordBuilder::build(bssid, rsc, key, c.keyIndex, c.keyType);
        ASSERT_TRUE(record) << c.keyBytes;
        Bytes expected(c.length, 0);
        expected[0] = static_cast<std::uint8_t>(c.length);
        for (int i = 0; i < 4; ++i) {
            expected[4 + i] = static_cast<std::uint8_t>(c.indexWord >> (8 * i));
        }
        expected[8] = static_cast<std::uint8_t>(c.keyBytes);
        std::copy(bssid.begin(), bssid.end(), expected.begin() + 12);
        std::copy(rsc.begin(), rsc.end(), expected.begin() + 24);
        std::copy(key.begin(), key.end(), expected.begin() + 32);
        EXPECT_EQ(*record, expected) << c.keyBytes << " bytes, index " << c.keyIndex;
        EXPECT_EQ(le32(*record, 0), c.length);

        // The simulated driver reads it back as the key it is.
        const auto parsed = sim::parseAddKeyRecord(*record);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->pairwise, c.keyType == 0);
        EXPECT_EQ(parsed->material, key);
    }
}

TEST(WpaAddKeyRecord, KeysTheRecordCannotCarryAreRefused) {
    const std::array<std::uint8_t, 6> bssid{};
    const std::array<std::uint8_t, 8> rsc{};
    const Bytes key16(16, 1);
    const Bytes key33(33, 1);
    EXPECT_FALSE(AddKeyRecordBuilder::build(bssid, rsc, {}, 0, 0));
    EXPECT_FALSE(AddKeyRecordBuilder::build(bssid, rsc, key33, 0, 0));
    EXPECT_FALSE(AddKeyRecordBuilder::build(bssid, rsc, key16, 4, 1));
    EXPECT_FALSE(AddKeyRecordBuilder::build(bssid, rsc, key16, -1, 1));
    EXPECT_FALSE(AddKeyRecordBuilder::build(bssid, rsc, key16, 0, 2));
}

std::string repeated(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

TEST(WpaHexDump, KeepsTheDiagnosticFormat) {
    struct Case {
        Bytes bytes;
        std::string text;
    };
    const Case cases[] = {
        {{0x0A, 0xFF}, "\n a ff \n"},
        {{}, "\n\n"},
        {Bytes(16, 0x01), "\n" + repeated(" 1 ", 16) + "\n\n"},
        {Bytes(17, 0xAB), "\n" + repeated("ab ", 16) + "\nab \n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dumpHex(c.bytes), c.text) << c.bytes.size() << " bytes";
    }
}

// Survey records laid out by hand: count, then records of 128 fixed bytes and their elements.
void put32(Bytes& buffer, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        buffer.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

Bytes survey(const std::vector<std::pair<std::uint8_t, Bytes>>& records) {
    Bytes buffer(12004, 0);
    put32(buffer, 0, static_cast<std::uint32_t>(records.size()));
    std::size_t offset = 4;
    for (const auto& [last, elements] : records) {
        put32(buffer, offset, static_cast<std::uint32_t>(128 + elements.size()));
        buffer.at(offset + 4) = 0x02;
        buffer.at(offset + 9) = last;
        put32(buffer, offset + 112, static_cast<std::uint32_t>(12 + elements.size()));
        std::copy(elements.begin(), elements.end(), buffer.begin() + offset + 128);
        offset += 128 + elements.size();
    }
    return buffer;
}

const Bytes kWpa = {0xDD, 0x08, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0xAA, 0xBB};
const Bytes kWpaLater = {0xDD, 0x06, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00};
const Bytes kWmm = {0xDD, 0x07, 0x00, 0x50, 0xF2, 0x02, 0x00, 0x01, 0x00};
const Bytes kSsidElement = {0x00, 0x03, 'P', 's', 'k'};

Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

TEST(WpaSurveyElement, TheBssidsRecordGivesItsWpaElement) {
    const std::array<std::uint8_t, 6> bssid{0x02, 0, 0, 0, 0, 0x03};
    struct Case {
        const char* what;
        Bytes buffer;
        std::optional<Bytes> element;
    };
    Bytes lying = survey({{0x03, joined({kSsidElement, kWpa})}});
    lying.at(4 + 128 + 5 + 1) = 0xFF;  // the WPA element claims more than the record holds
    const Case cases[] = {
        {"WPA then WMM", survey({{0x03, joined({kSsidElement, kWpa, kWmm})}}), kWpa},
        {"WMM then WPA", survey({{0x03, joined({kWmm, kWpa})}}), kWpa},
        {"two WPA elements", survey({{0x03, joined({kWpa, kWpaLater})}}), kWpaLater},
        {"the BSSID's record", survey({{0x01, kWpaLater}, {0x03, kWpa}}), kWpa},
        {"the first of two", survey({{0x03, kWpa}, {0x03, kWpaLater}}), kWpa},
        {"no WPA element", survey({{0x03, joined({kSsidElement, kWmm})}}), std::nullopt},
        {"another BSSID", survey({{0x04, kWpa}}), std::nullopt},
        {"empty survey", survey({}), std::nullopt},
        {"element past the end", lying, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(surveyWpaElement(c.buffer, bssid), c.element) << c.what;
    }
}

TEST(WpaTexts, SsidIsTheAdaptersBytesCutWithoutSplittingACharacter) {
    const CodePage western("WINDOWS-1252");
    const CodePage japanese("CP932");
    EXPECT_EQ(boundedAnsi(western, "Caf\xC3\xA9", 32), "Caf\xE9");
    // 17 kanji are 34 bytes in CP932: 16 fit into 32.
    std::string kanji;
    for (int i = 0; i < 17; ++i) {
        kanji += "\xE6\x97\xA5";  // U+65E5
    }
    const std::string bytes = boundedAnsi(japanese, kanji, 32);
    EXPECT_EQ(bytes.size(), 32u);
    EXPECT_EQ(bytes.substr(0, 2), "\x93\xFA");
    EXPECT_EQ(boundedAnsi(western, std::string(40, 'a'), 32), std::string(32, 'a'));
}

TEST(WpaTexts, EapRecordsHoldFullPathsAndBoundedTexts) {
    const std::filesystem::path folder = "/home/user/.local/share/rizorivu";
    const EapolConfig tls = tlsEapolConfig(std::string(300, 'i'), folder);
    EXPECT_EQ(tls.identity.size(), 255u);
    EXPECT_EQ(tls.method, "TLS");
    EXPECT_EQ(tls.eapType, "EAP");
    EXPECT_EQ(tls.fragmentSize, 1398);
    EXPECT_EQ(tls.caCertificateFile, (folder / "caroot.pem").string());
    EXPECT_EQ(tls.clientCertificateFile, (folder / "client.pem").string());
    EXPECT_EQ(tls.privateKeyFile, (folder / "client_key.pem").string());
    EXPECT_EQ(tls.randomSeedFile, (folder / ".rand").string());
    EXPECT_TRUE(tls.innerMethod.empty());

    const EapolConfig peap = peapEapolConfig("alice", std::string(300, 'p'), folder);
    EXPECT_EQ(peap.password.size(), 254u);
    EXPECT_EQ(peap.method, "PEAP");
    EXPECT_EQ(peap.innerMethod, "MS-CHAPv2");
    EXPECT_EQ(peap.innerIdentity, "alice");
    EXPECT_TRUE(peap.clientCertificateFile.empty());
    EXPECT_EQ(peap.caCertificateFile, (folder / "caroot.pem").string());
}

}  // namespace
}  // namespace rizorivu::wpa
