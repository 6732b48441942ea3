#include "crypto/KeyHierarchy.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <vector>

#include "crypto/MessageIntegrity.h"

namespace rizorivu::crypto {

bool prf(std::span<const std::uint8_t> key, std::string_view label,
         std::span<const std::uint8_t> data, std::span<std::uint8_t> output) {
    std::vector<std::uint8_t> input;
    input.reserve(label.size() + 1 + data.size() + 1);
    input.insert(input.end(), label.begin(), label.end());
    input.push_back(0);
    input.insert(input.end(), data.begin(), data.end());
    input.push_back(0);
    std::array<std::uint8_t, 20> round{};
    std::size_t done = 0;
    for (std::uint8_t counter = 0; done < output.size(); ++counter) {
        input.back() = counter;
        if (!hmacSha1(key, input, round)) {
            return false;
        }
        const std::size_t take = std::min(round.size(), output.size() - done);
        std::copy_n(round.begin(), take, output.begin() + static_cast<std::ptrdiff_t>(done));
        done += take;
    }
    OPENSSL_cleanse(round.data(), round.size());
    return true;
}

PairwiseKeys::~PairwiseKeys() {
    OPENSSL_cleanse(bytes.data(), bytes.size());
}

bool derivePairwiseKeys(std::span<const std::uint8_t, 32> masterKey,
                        std::span<const std::uint8_t, 6> authenticatorAddress,
                        std::span<const std::uint8_t, 6> supplicantAddress,
                        std::span<const std::uint8_t, 32> authenticatorNonce,
                        std::span<const std::uint8_t, 32> supplicantNonce,
                        std::size_t temporalKeyBytes, PairwiseKeys& keys) {
    if (temporalKeyBytes != 16 && temporalKeyBytes != 32) {
        return false;
    }
    std::array<std::uint8_t, 6 + 6 + 32 + 32> data{};
    const bool aaFirst =
        std::lexicographical_compare(authenticatorAddress.begin(), authenticatorAddress.end(),
                                     supplicantAddress.begin(), supplicantAddress.end());
    auto out =
        std::copy(aaFirst ? authenticatorAddress.begin() : supplicantAddress.begin(),
                  aaFirst ? authenticatorAddress.end() : supplicantAddress.end(), data.begin());
    out = std::copy(aaFirst ? supplicantAddress.begin() : authenticatorAddress.begin(),
                    aaFirst ? supplicantAddress.end() : authenticatorAddress.end(), out);
    const bool anonceFirst =
        std::lexicographical_compare(authenticatorNonce.begin(), authenticatorNonce.end(),
                                     supplicantNonce.begin(), supplicantNonce.end());
    out = std::copy(anonceFirst ? authenticatorNonce.begin() : supplicantNonce.begin(),
                    anonceFirst ? authenticatorNonce.end() : supplicantNonce.end(), out);
    std::copy(anonceFirst ? supplicantNonce.begin() : authenticatorNonce.begin(),
              anonceFirst ? supplicantNonce.end() : authenticatorNonce.end(), out);
    keys.temporalKeyBytes = temporalKeyBytes;
    return prf(masterKey, "Pairwise key expansion", data,
               std::span(keys.bytes).first(32 + temporalKeyBytes));
}

}  // namespace rizorivu::crypto
