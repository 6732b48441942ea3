#include "adapter/RsnElement.h"

#include <algorithm>

#include "adapter/KeyNegotiationContext.h"
#include "adapter/SuiteList.h"
#include "adapter/SurveyLayout.h"
#include "adapter/WpaElement.h"

namespace rizorivu {

namespace {

constexpr std::uint8_t kOui[] = {0x00, 0x0F, 0xAC};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kVersionBytes = 2;
constexpr std::size_t kSuiteBytes = 4;
constexpr std::size_t kCapabilityBytes = 2;
constexpr std::size_t kPmkidBytes = 16;

int cipherFromSuite(SuiteSelector suite) {
    return suiteHasOui(suite, kOui) ? WpaElement::cipherOfSuiteType(suite[3]) : 0;
}

std::uint16_t le16(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

}  // namespace

std::optional<RsnElement> RsnElement::parse(std::span<const std::uint8_t> element) {
    if (element.size() < 2 || element[0] != survey::kElementRsn ||
        element[1] + 2u > element.size()) {
        return std::nullopt;
    }
    std::span<const std::uint8_t> body = element.subspan(2, element[1]);
    if (body.size() < kVersionBytes || le16(body) != kVersion) {
        return std::nullopt;
    }
    body = body.subspan(kVersionBytes);
    RsnElement out;
    out.groupCipher = ciphercode::kCcmp;
    out.pairwiseCiphers = {ciphercode::kCcmp};
    out.keyManagement = {kKeyManagement8021X};
    if (body.empty()) {
        return out;
    }
    if (body.size() < kSuiteBytes) {
        return std::nullopt;
    }
    out.groupCipher = cipherFromSuite(body.first<kSuiteBytes>());
    body = body.subspan(kSuiteBytes);
    if (body.empty()) {
        return out;
    }
    const auto pairwise = takeSuiteList(body);
    if (!pairwise) {
        return std::nullopt;
    }
    out.pairwiseCiphers.clear();
    for (const SuiteSelector suite : *pairwise) {
        out.pairwiseCiphers.push_back(cipherFromSuite(suite));
    }
    if (body.empty()) {
        return out;
    }
    const auto keyManagement = takeSuiteList(body);
    if (!keyManagement) {
        return std::nullopt;
    }
    out.keyManagement.clear();
    for (const SuiteSelector suite : *keyManagement) {
        out.keyManagement.push_back(suiteHasOui(suite, kOui) ? suite[3] : kKeyManagementOther);
    }
    if (body.empty()) {
        return out;
    }
    if (body.size() < kCapabilityBytes) {
        return std::nullopt;
    }
    out.capabilities = le16(body);
    body = body.subspan(kCapabilityBytes);
    if (body.empty()) {
        return out;
    }
    if (body.size() < 2) {
        return std::nullopt;
    }
    const std::size_t pmkids = le16(body);
    if (pmkids > (body.size() - 2) / kPmkidBytes) {
        return std::nullopt;
    }
    out.pmkidCount = pmkids;
    return out;
}

std::vector<std::uint8_t> RsnElement::build(int groupCipher, int pairwiseCipher,
                                            std::uint8_t keyManagement,
                                            std::uint16_t capabilities) {
    return {survey::kElementRsn,
            20,
            0x01,
            0x00,
            kOui[0],
            kOui[1],
            kOui[2],
            WpaElement::suiteTypeOfCipher(groupCipher),
            0x01,
            0x00,
            kOui[0],
            kOui[1],
            kOui[2],
            WpaElement::suiteTypeOfCipher(pairwiseCipher),
            0x01,
            0x00,
            kOui[0],
            kOui[1],
            kOui[2],
            keyManagement,
            static_cast<std::uint8_t>(capabilities),
            static_cast<std::uint8_t>(capabilities >> 8)};
}

bool RsnElement::offersKeyManagement(std::uint8_t suite) const {
    return std::find(keyManagement.begin(), keyManagement.end(), suite) != keyManagement.end();
}

bool RsnElement::offersPairwise(int cipher) const {
    return std::find(pairwiseCiphers.begin(), pairwiseCiphers.end(), cipher) !=
           pairwiseCiphers.end();
}

int RsnElement::preferredPairwise() const {
    for (const int cipher : {ciphercode::kCcmp, ciphercode::kTkip}) {
        if (offersPairwise(cipher)) {
            return cipher;
        }
    }
    return 0;
}

}  // namespace rizorivu
