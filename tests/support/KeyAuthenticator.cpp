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

std::uint8_t KeyAuthenticator::descriptor() const {
    return config_.rsn ? EapolKeyFrame::kDescriptorRsn : EapolKeyFrame::kDescriptorWpa;
}

void KeyAuthenticator::transmit(std::vector<std::uint8_t> frame) {
    sent.push_back(frame);
    send_(std::move(frame));
}

void KeyAuthenticator::sendMessage1() {
    anonce_.fill(static_cast<std::uint8_t>(0xA0 + counter));
    EapolKeyFrame m1;
    m1.descriptorType = descriptor();
    m1.keyInfo = static_cast<std::uint16_t>(version() | keyinfo::kPairwise | keyinfo::kAck);
    m1.keyLength = static_cast<std::uint16_t>(keyBytes(config_.pairwiseCipher));
    m1.replayCounter = ++counter;
    m1.nonce = anonce_;
    if (config_.rsn) {
        // A PMKID KDE; the supplicant has no use for it.
        m1.keyData = {0xDD, 0x14, 0x00, 0x0F, 0xAC, 0x04};
        m1.keyData.resize(m1.keyData.size() + 16, 0x9D);
    }
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
        if (!config_.rsn) {
            sendGroupMessage();
        }
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
    stationElement_ = frame->keyData;
    sendMessage3();
    return true;
}

void KeyAuthenticator::sendMessage3() {
    EapolKeyFrame m3;
    m3.descriptorType = descriptor();
    m3.keyInfo = static_cast<std::uint16_t>(version() | keyinfo::kPairwise | keyinfo::kAck |
                                            keyinfo::kMic | keyinfo::kInstall);
    m3.keyLength = static_cast<std::uint16_t>(keyBytes(config_.pairwiseCipher));
    m3.replayCounter = ++counter;
    m3.nonce = anonce_;
    m3.keyData = config_.element;
    if (config_.rsn) {
        m3.keyInfo |= keyinfo::kSecure;
        m3.rsc = config_.groupSequence;
        m3.keyData.insert(m3.keyData.end(), config_.extraKeyData.begin(),
                          config_.extraKeyData.end());
        const auto kde = groupKeyKde();
        m3.keyData.insert(m3.keyData.end(), kde.begin(), kde.end());
        if (!config_.plainKeyData) {
            m3.keyInfo |= keyinfo::kEncryptedKeyData;
            m3.keyData = sealed(m3, m3.keyData);
        }
    }
    auto bytes = m3.serialize();
    signKeyFrame(bytes, keys_.confirmationKey());
    transmit(std::move(bytes));
    awaitingMessage4_ = true;
}

std::vector<std::uint8_t> KeyAuthenticator::groupKeyKde() const {
    std::vector<std::uint8_t> kde{
        0xDD, static_cast<std::uint8_t>(6 + config_.groupKey.size()), 0x00, 0x0F, 0xAC,
        0x01, static_cast<std::uint8_t>(config_.groupIndex | 0x04),   0x00};
    kde.insert(kde.end(), config_.groupKey.begin(), config_.groupKey.end());
    return kde;
}

std::vector<std::uint8_t> KeyAuthenticator::sealed(EapolKeyFrame& frame,
                                                   std::vector<std::uint8_t> plain) const {
    const auto kek = keys_.encryptionKey();
    if (version() == keyinfo::kVersionMd5Rc4) {
        frame.iv.fill(static_cast<std::uint8_t>(counter));
        std::array<std::uint8_t, 32> key{};
        std::copy(frame.iv.begin(), frame.iv.end(), key.begin());
        std::copy(kek.begin(), kek.end(), key.begin() + 16);
        rc4_.apply(key, 256, plain);
        return plain;
    }
    // Padded as key data is: 0xDD, then zeros, to whole blocks and at least two.
    if (plain.size() % 8 != 0 || plain.size() < 16) {
        plain.push_back(0xDD);
    }
    while (plain.size() % 8 != 0 || plain.size() < 16) {
        plain.push_back(0);
    }
    return crypto::aesKeyWrap(kek, plain).value_or(std::vector<std::uint8_t>{});
}

std::vector<std::uint8_t> KeyAuthenticator::buildGroupMessage() {
    EapolKeyFrame g;
    g.descriptorType = descriptor();
    g.keyInfo =
        static_cast<std::uint16_t>(version() | keyinfo::kAck | keyinfo::kMic | keyinfo::kSecure);
    g.replayCounter = ++counter;
    g.rsc = config_.groupSequence;
    if (config_.rsn) {
        g.keyInfo |= keyinfo::kEncryptedKeyData;
        g.keyData = sealed(g, groupKeyKde());
    } else {
        g.keyInfo |= static_cast<std::uint16_t>(config_.groupIndex << keyinfo::kIndexShift);
        g.keyLength = static_cast<std::uint16_t>(config_.groupKey.size());
        g.keyData = sealed(g, config_.groupKey);
    }
    auto bytes = g.serialize();
    signKeyFrame(bytes, keys_.confirmationKey());
    return bytes;
}

void KeyAuthenticator::sendGroupMessage() {
    transmit(buildGroupMessage());
}

}  // namespace rizorivu::testing
