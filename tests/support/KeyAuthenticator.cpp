#include "tests/support/KeyAuthenticator.h"

#include "adapter/KeyNegotiationContext.h"
#include "crypto/AesKeyWrap.h"

namespace rizorivu::testing {

namespace {

std::size_t keyBytes(int cipher) {
    return cipher == ciphercode::kTkip ? 32 : 16;
}

}  // namespace

KeyAuthenticator::KeyAuthenticator(
    Config config, std::function<void(std::vector<std::uint8_t>)> send,
    std::function<std::optional<std::vector<std::uint8_t>>()> receive)
    : config_(std::move(config)), send_(std::move(send)), receive_(std::move(receive)) {}

std::uint16_t KeyAuthenticator::version() const {
    return config_.pairwiseCipher == ciphercode::kTkip ? keyinfo::kVersionMd5Rc4
                                                       : keyinfo::kVersionSha1Aes;
}

void KeyAuthenticator::transmit(std::vector<std::uint8_t> frame) {
    sent.push_back(frame);
    send_(std::move(frame));
}

void KeyAuthenticator::sendMessage1() {
    anonce_.fill(static_cast<std::uint8_t>(0xA0 + counter));
    EapolKeyFrame m1;
    m1.keyInfo = static_cast<std::uint16_t>(version() | keyinfo::kPairwise | keyinfo::kAck);
    m1.keyLength = static_cast<std::uint16_t>(keyBytes(config_.pairwiseCipher));
    m1.replayCounter = ++counter;
    m1.nonce = anonce_;
    transmit(m1.serialize());
    awaitingMessage4_ = false;
}

bool KeyAuthenticator::handle() {
    const auto raw = receive_();
    if (!raw) {
        return false;
    }
    const auto frame = EapolKeyFrame::parse(*raw);
    if (!frame || !frame->has(keyinfo::kMic)) {
        return true;  // EAPOL-Start and the like
    }
    if (!frame->has(keyinfo::kPairwise)) {
        if (keyFrameMicValid(*raw, keys_.confirmationKey())) {
            ++groupAnswers;
        } else {
            ++micFailures;
        }
        return true;
    }
    if (awaitingMessage4_) {
        if (!keyFrameMicValid(*raw, keys_.confirmationKey()) || frame->replayCounter != counter) {
            ++micFailures;
            return true;
        }
        awaitingMessage4_ = false;
        pairwiseDone = true;
        sendGroupMessage();
        return true;
    }
    crypto::derivePairwiseKeys(config_.masterKey, config_.address, config_.station, anonce_,
                               frame->nonce, keyBytes(config_.pairwiseCipher), keys_);
    if (!keyFrameMicValid(*raw, keys_.confirmationKey())) {
        ++micFailures;
        if (!config_.ignoreMessage2Mic) {
            return true;
        }
    }
    EapolKeyFrame m3;
    m3.keyInfo = static_cast<std::uint16_t>(version() | keyinfo::kPairwise | keyinfo::kAck |
                                            keyinfo::kMic | keyinfo::kInstall);
    m3.keyLength = static_cast<std::uint16_t>(keyBytes(config_.pairwiseCipher));
    m3.replayCounter = ++counter;
    m3.nonce = anonce_;
    m3.keyData = config_.element;
    auto bytes = m3.serialize();
    signKeyFrame(bytes, keys_.confirmationKey());
    transmit(std::move(bytes));
    awaitingMessage4_ = true;
    return true;
}

std::vector<std::uint8_t> KeyAuthenticator::buildGroupMessage() {
    EapolKeyFrame g;
    g.keyInfo =
        static_cast<std::uint16_t>(version() | keyinfo::kAck | keyinfo::kMic | keyinfo::kSecure |
                                   (config_.groupIndex << keyinfo::kIndexShift));
    g.keyLength = static_cast<std::uint16_t>(config_.groupKey.size());
    g.replayCounter = ++counter;
    g.rsc = config_.groupSequence;
    const auto kek = keys_.encryptionKey();
    if (version() == keyinfo::kVersionMd5Rc4) {
        g.iv.fill(static_cast<std::uint8_t>(counter));
        std::array<std::uint8_t, 32> key{};
        std::copy(g.iv.begin(), g.iv.end(), key.begin());
        std::copy(kek.begin(), kek.end(), key.begin() + 16);
        g.keyData = config_.groupKey;
        rc4_.apply(key, 256, g.keyData);
    } else {
        // Padded as key data is: 0xDD, then zeros, to whole blocks and at least two.
        std::vector<std::uint8_t> plain = config_.groupKey;
        if (plain.size() % 8 != 0 || plain.size() < 16) {
            plain.push_back(0xDD);
        }
        while (plain.size() % 8 != 0 || plain.size() < 16) {
            plain.push_back(0);
        }
        g.keyData = crypto::aesKeyWrap(kek, plain).value_or(std::vector<std::uint8_t>{});
    }
    auto bytes = g.serialize();
    signKeyFrame(bytes, keys_.confirmationKey());
    return bytes;
}

void KeyAuthenticator::sendGroupMessage() {
    transmit(buildGroupMessage());
}

}  // namespace rizorivu::testing
