#include "adapter/WpaElement.h"

#include "adapter/KeyNegotiationContext.h"

namespace rizorivu {

namespace {

constexpr std::uint8_t kOui[] = {0x00, 0x50, 0xF2};

int cipherFromSuite(std::span<const std::uint8_t> suite) {
    if (suite[0] != kOui[0] || suite[1] != kOui[1] || suite[2] != kOui[2]) {
        return 0;
    }
    switch (suite[3]) {
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

std::uint8_t suiteFromCipher(int cipher) {
    switch (cipher) {
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

// Reads a suite count and that many 4-byte suites; false when they overrun the body.
template <typename Each>
bool readSuiteList(std::span<const std::uint8_t>& body, Each each) {
    if (body.size() < 2) {
        return false;
    }
    const std::size_t count = body[0] | body[1] << 8;
    body = body.subspan(2);
    if (count == 0 || count > body.size() / 4) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        each(body.subspan(4 * i, 4));
    }
    body = body.subspan(4 * count);
    return true;
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
        out.groupCipher = cipherFromSuite(body.first(4));
        body = body.subspan(4);
    } else if (!body.empty()) {
        return std::nullopt;
    }
    if (body.empty()) {
        out.pairwiseCiphers = {ciphercode::kTkip};
        out.keyManagement = {kKeyManagement8021X};
        return out;
    }
    if (!readSuiteList(
            body, [&](auto suite) { out.pairwiseCiphers.push_back(cipherFromSuite(suite)); })) {
        return std::nullopt;
    }
    if (body.empty()) {
        out.keyManagement = {kKeyManagement8021X};
        return out;
    }
    const bool known = readSuiteList(body, [&](auto suite) {
        const bool ours = suite[0] == kOui[0] && suite[1] == kOui[1] && suite[2] == kOui[2];
        out.keyManagement.push_back(ours ? suite[3] : 0xFF);
    });
    if (!known) {
        return std::nullopt;
    }
    return out;
}

std::vector<std::uint8_t> WpaElement::build(int groupCipher, int pairwiseCipher,
                                            std::uint8_t keyManagement) {
    return {221,  22,   0x00, 0x50, 0xF2, 0x01,
            0x01, 0x00, 0x00, 0x50, 0xF2, suiteFromCipher(groupCipher),
            0x01, 0x00, 0x00, 0x50, 0xF2, suiteFromCipher(pairwiseCipher),
            0x01, 0x00, 0x00, 0x50, 0xF2, keyManagement};
}

}  // namespace rizorivu
