#include "sim/BeaconElements.h"

#include "adapter/SurveyLayout.h"

namespace rizorivu::sim {

namespace {

constexpr std::uint8_t kWpaOui[] = {0x00, 0x50, 0xF2};
constexpr std::uint8_t kWpaOuiType = 1;
constexpr std::uint8_t kRsnOui[] = {0x00, 0x0F, 0xAC};

void appendElement(std::vector<std::uint8_t>& out, std::uint8_t id, const std::uint8_t* data,
                   std::size_t size) {
    out.push_back(id);
    out.push_back(static_cast<std::uint8_t>(size));
    out.insert(out.end(), data, data + size);
}

void appendSuite(std::vector<std::uint8_t>& out, std::uint8_t type,
                 const std::uint8_t (&oui)[3] = kWpaOui) {
    out.insert(out.end(), std::begin(oui), std::end(oui));
    out.push_back(type);
}

std::uint8_t groupSuite(Cipher cipher, GroupCipher groupCipher) {
    switch (groupCipher) {
        case GroupCipher::Wep40:
            return kSuiteWep40;
        case GroupCipher::Wep104:
            return kSuiteWep104;
        case GroupCipher::Tkip:
            return kSuiteTkip;
        default:
            return cipher == Cipher::Aes ? kSuiteCcmp : kSuiteTkip;
    }
}

}  // namespace

std::vector<std::uint8_t> wpaElement(Security security, BssType type, Cipher cipher,
                                     GroupCipher groupCipher) {
    if (security != Security::WpaPsk && security != Security::WpaEap) {
        return {};
    }
    const std::uint8_t suite = cipher == Cipher::Aes ? kSuiteCcmp : kSuiteTkip;
    const std::uint8_t akm = security == Security::WpaEap ? kAkm8021x
                             : type == BssType::AdHoc     ? kAkmNone
                                                          : kAkmPsk;
    std::vector<std::uint8_t> body;
    body.insert(body.end(), std::begin(kWpaOui), std::end(kWpaOui));
    body.push_back(kWpaOuiType);
    body.insert(body.end(), {0x01, 0x00});  // version 1
    appendSuite(body, groupSuite(cipher, groupCipher));
    body.insert(body.end(), {0x01, 0x00});  // one pairwise cipher
    appendSuite(body, suite);
    body.insert(body.end(), {0x01, 0x00});  // one key management suite
    appendSuite(body, akm);

    std::vector<std::uint8_t> element;
    appendElement(element, survey::kElementVendor, body.data(), body.size());
    return element;
}

std::vector<std::uint8_t> rsnElement(Security security, Cipher cipher, GroupCipher groupCipher) {
    if (security != Security::WpaPsk && security != Security::WpaEap) {
        return {};
    }
    std::vector<std::uint8_t> body{0x01, 0x00};  // version 1
    appendSuite(body, groupSuite(cipher, groupCipher), kRsnOui);
    body.insert(body.end(), {0x01, 0x00});
    appendSuite(body, cipher == Cipher::Aes ? kSuiteCcmp : kSuiteTkip, kRsnOui);
    body.insert(body.end(), {0x01, 0x00});
    appendSuite(body, security == Security::WpaEap ? kAkm8021x : kAkmPsk, kRsnOui);
    body.insert(body.end(), {0x00, 0x00});  // capabilities: no management frame protection

    std::vector<std::uint8_t> element;
    appendElement(element, survey::kElementRsn, body.data(), body.size());
    return element;
}

std::vector<std::uint8_t> beaconElements(const BssDescription& bss) {
    std::vector<std::uint8_t> out;
    appendElement(out, survey::kElementSsid, reinterpret_cast<const std::uint8_t*>(bss.ssid.data()),
                  bss.ssid.size());

    std::size_t rateCount = 0;
    while (rateCount < bss.rates.size() && bss.rates[rateCount] != 0) {
        ++rateCount;
    }
    const std::size_t basicPart = rateCount < 8 ? rateCount : 8;
    appendElement(out, survey::kElementRates, bss.rates.data(), basicPart);

    const std::uint8_t channel = static_cast<std::uint8_t>(bss.channel);
    appendElement(out, survey::kElementDsParameter, &channel, 1);
    if (bss.type == BssType::AdHoc) {
        const std::uint8_t atimWindow[] = {0x00, 0x00};
        appendElement(out, survey::kElementIbssParameter, atimWindow, sizeof atimWindow);
    }
    if (rateCount > basicPart) {
        appendElement(out, survey::kElementExtendedRates, bss.rates.data() + basicPart,
                      rateCount - basicPart);
    }
    if (bss.wpaVersions != WpaVersions::Wpa) {
        const std::vector<std::uint8_t> rsn = rsnElement(bss.security, bss.cipher, bss.groupCipher);
        out.insert(out.end(), rsn.begin(), rsn.end());
    }
    if (bss.wpaVersions != WpaVersions::Wpa2) {
        const std::vector<std::uint8_t> wpa =
            wpaElement(bss.security, bss.type, bss.cipher, bss.groupCipher);
        out.insert(out.end(), wpa.begin(), wpa.end());
    }
    return out;
}

}  // namespace rizorivu::sim
