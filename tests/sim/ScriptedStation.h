#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "adapter/EapolKeyFrame.h"
#include "adapter/KeyNegotiationContext.h"
#include "adapter/WpaElement.h"
#include "crypto/AesKeyWrap.h"
#include "crypto/KeyHierarchy.h"
#include "crypto/PassphraseKey.h"
#include "crypto/Rc4Cipher.h"
#include "sim/NetworkCiphers.h"
#include "sim/World.h"

namespace rizorivu::sim::testing {

using Bytes = std::vector<std::uint8_t>;

inline std::array<std::uint8_t, 32> masterKeyOf(std::string_view passphrase,
                                                std::string_view ssid) {
    std::array<std::uint8_t, 32> key{};
    crypto::derivePassphraseKey(
        passphrase, std::span(reinterpret_cast<const std::uint8_t*>(ssid.data()), ssid.size()),
        4096, key);
    return key;
}

// A station's side of the key handshakes, scripted from the shared key hierarchy and frame
// code: it answers each message as a supplicant would and keeps what it learned.
struct ScriptedStation {
    std::array<std::uint8_t, 32> masterKey{};
    MacAddress own{};
    MacAddress accessPoint{};
    int pairwise = ciphercode::kCcmp;
    int group = ciphercode::kCcmp;
    bool answerGroup = true;

    crypto::Rc4Cipher rc4;
    crypto::PairwiseKeys keys;
    std::array<std::uint8_t, 32> snonce{};
    Bytes message3Element;
    Bytes groupKey;
    int groupIndex = -1;
    std::vector<std::uint64_t> counters;  // of every key frame received

    std::uint16_t version() const {
        return pairwise == ciphercode::kTkip ? keyinfo::kVersionMd5Rc4 : keyinfo::kVersionSha1Aes;
    }

    Bytes reply(EapolKeyFrame& frame) {
        frame.keyInfo = static_cast<std::uint16_t>(frame.keyInfo | version() | keyinfo::kMic);
        Bytes bytes = frame.serialize();
        signKeyFrame(bytes, keys.confirmationKey());
        return bytes;
    }

    // The answer to one frame from the access point, if any.
    std::optional<Bytes> answer(std::span<const std::uint8_t> raw) {
        const auto frame = EapolKeyFrame::parse(raw);
        if (!frame) {
            return std::nullopt;
        }
        counters.push_back(frame->replayCounter);
        EapolKeyFrame out;
        out.replayCounter = frame->replayCounter;
        out.keyLength = frame->keyLength;
        if (frame->has(keyinfo::kPairwise) && !frame->has(keyinfo::kMic)) {
            snonce.fill(static_cast<std::uint8_t>(0x50 + counters.size()));
            crypto::derivePairwiseKeys(masterKey, accessPoint, own, frame->nonce, snonce,
                                       ciphercode::keyBytes(pairwise), keys);
            out.keyInfo = keyinfo::kPairwise;
            out.nonce = snonce;
            out.keyData = WpaElement::build(group, pairwise, WpaElement::kKeyManagementPsk);
            return reply(out);
        }
        if (!keyFrameMicValid(raw, keys.confirmationKey())) {
            return std::nullopt;
        }
        if (frame->has(keyinfo::kPairwise)) {
            message3Element = frame->keyData;
            out.keyInfo = keyinfo::kPairwise;
            return reply(out);
        }
        Bytes plain;
        if (version() == keyinfo::kVersionMd5Rc4) {
            std::array<std::uint8_t, 32> key{};
            std::copy(frame->iv.begin(), frame->iv.end(), key.begin());
            std::copy(keys.encryptionKey().begin(), keys.encryptionKey().end(), key.begin() + 16);
            plain = frame->keyData;
            rc4.apply(key, 256, plain);
        } else {
            plain = crypto::aesKeyUnwrap(keys.encryptionKey(), frame->keyData).value_or(Bytes{});
        }
        plain.resize(std::min<std::size_t>(plain.size(), frame->keyLength));
        groupKey = plain;
        groupIndex = frame->keyIndex();
        if (!answerGroup) {
            return std::nullopt;
        }
        out.keyInfo =
            static_cast<std::uint16_t>(keyinfo::kSecure | (frame->keyInfo & keyinfo::kIndexMask));
        return reply(out);
    }

    std::span<const std::uint8_t> temporalKey() const { return keys.temporalKey(); }
};

}  // namespace rizorivu::sim::testing
