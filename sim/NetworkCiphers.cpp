#include "sim/NetworkCiphers.h"

#include "adapter/KeyNegotiationContext.h"

namespace rizorivu::sim {

int pairwiseCipherCode(const WorldNetwork& network) {
    return network.cipher == Cipher::Aes ? ciphercode::kCcmp : ciphercode::kTkip;
}

int groupCipherCode(const WorldNetwork& network) {
    switch (network.groupCipher) {
        case GroupCipher::Wep40:
            return ciphercode::kWep40;
        case GroupCipher::Wep104:
            return ciphercode::kWep104;
        case GroupCipher::Tkip:
            return ciphercode::kTkip;
        default:
            return pairwiseCipherCode(network);
    }
}

}  // namespace rizorivu::sim
