#include "dot1x/RsnKeyData.h"

#include <algorithm>

#include "adapter/KeyNegotiationContext.h"
#include "adapter/RsnElement.h"

namespace rizorivu::dot1x {

std::optional<GroupKeyElement> rsnMessage3GroupKey(const KeyDataElements& keyData,
                                                   std::span<const std::uint8_t> surveyElement,
                                                   int pairwiseCipher, int groupCipher) {
    // 802.11i 8.5.3.3: message 3's element must equal the beacon's.
    if (keyData.rsnElements.empty() || !std::ranges::equal(keyData.rsnElements[0], surveyElement)) {
        return std::nullopt;
    }
    if (keyData.rsnElements.size() > 1) {
        const auto second = RsnElement::parse(keyData.rsnElements[1]);
        if (!second || second->pairwiseCiphers.size() != 1 ||
            second->pairwiseCiphers.front() != pairwiseCipher) {
            return std::nullopt;
        }
    }
    return rsnGroupMessageKey(keyData, groupCipher);
}

std::optional<GroupKeyElement> rsnGroupMessageKey(const KeyDataElements& keyData, int groupCipher) {
    const std::size_t keyBytes = ciphercode::keyBytes(groupCipher);
    if (!keyData.groupKey || keyBytes == 0 || keyData.groupKey->key.size() != keyBytes) {
        return std::nullopt;
    }
    return keyData.groupKey;
}

}  // namespace rizorivu::dot1x
