#include "adapter/WpaElement.h"

#include "adapter/KeyNegotiationContext.h"
#include "adapter/SuiteList.h"

namespace rizorivu {

namespace {

constexpr std::uint8_t kOui[] = {0x00, 0x50, 0xF2};

int cipherFromSuite(SuiteSelector suite) {
    return suiteHasOui(suite, kOui) ? WpaElement::cipherOfSuiteType(suite[3]) : 0;
}

}  // namespace

std::optional<WpaElement> WpaElement::parse(std::span<const std::uint8_t> element) {
    if (element.size() < 2 || element[0] != 221 || element[1] + 2u > element.size()) {
        return std::nullopt;
    }
    std::span<const std::uint8_t> body = element.subspan(2, element[1]);
    if (body.size() < 6 || body[0] != kOui[0] || body[1] != kOui[1] || body[2] != kOui[2] ||
        body[3] != 1 || body[4] != 1 || body[5] != 0) {
        return std::nullopt;
    }
    body = body.subspan(6);
    WpaElement out;
    out.groupCipher = ciphercode::kTkip;
    if (body.size() >= 4) {
        out.groupCipher = cipherFromSuite(body.first<4>());
        body = body.subspan(4);
    } else if (!body.empty()) {
        return std::nullopt;
    }
    if (body.empty()) {
        out.pairwiseCiphers = {ciphercode::kTkip};
        out.keyManagement = {kKeyManagement8021X};
        return out;
    }
    const auto pairwise = takeSuiteList(body);
    if (!pairwise) {
        return std::nullopt;
    }
    for (const SuiteSelector suite : *pairwise) {
        out.pairwiseCiphers.push_back(cipherFromSuite(suite));
    }
    if (body.empty()) {
        out.keyManagement = {kKeyManagement8021X};
        return out;
    }
    const auto keyManagement = takeSuiteList(body);
    if (!keyManagement) {
        return std::nullopt;
    }
    for (const SuiteSelector suite : *keyManagement) {
        out.keyManagement.push_back(suiteHasOui(suite, kOui) ? suite[3] : 0xFF);
    }
    return out;
}

int WpaElement::cipherOfSuiteType(std::uint8_t type) {
    switch (type) {
        case 1:
            return ciphercode::kWep40;
        case 2:
            return ciphercode::kTkip;
        case 4:
            return ciphercode::kCcmp;
        case 5:
            return ciphercode::kWep104;
        default:
            return 0;
    }
}

std::uint8_t WpaElement::suiteTypeOfCipher(int cipherCode) {
    switch (cipherCode) {
        case ciphercode::kWep40:
            return 1;
        case ciphercode::kTkip:
            return 2;
        case ciphercode::kCcmp:
            return 4;
        case ciphercode::kWep104:
            return 5;
        default:
            return 0;
    }
}

std::vector<std::uint8_t> WpaElement::build(int groupCipher, int pairwiseCipher,
                                            std::uint8_t keyManagement) {
    return {221,  22,   0x00, 0x50, 0xF2, 0x01,
            0x01, 0x00, 0x00, 0x50, 0xF2, suiteTypeOfCipher(groupCipher),
            0x01, 0x00, 0x00, 0x50, 0xF2, suiteTypeOfCipher(pairwiseCipher),
            0x01, 0x00, 0x00, 0x50, 0xF2, keyManagement};
}

}  // namespace rizorivu
