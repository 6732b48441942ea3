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

std::size_t cipherKeyBytes(int cipherCode) {
    switch (cipherCode) {
        case ciphercode::kTkip:
            return 32;
        case ciphercode::kCcmp:
            return 16;
        case ciphercode::kWep104:
            return 13;
        case ciphercode::kWep40:
            return 5;
        default:
            return 0;
    }
}

}  // namespace rizorivu::sim
