#include "sim/PskAuthenticator.h"

#include <openssl/crypto.h>

#include <algorithm>

#include "adapter/KeyDataElements.h"
#include "adapter/KeyNegotiationContext.h"
#include "adapter/RsnElement.h"
#include "adapter/WpaElement.h"
#include "crypto/KeyDataCipher.h"
#include "crypto/MessageIntegrity.h"
#include "sim/NetworkCiphers.h"

namespace rizorivu::sim {

namespace {

bool isEapolStart(std::span<const std::uint8_t> frame) {
    return frame.size() >= EapolKeyFrame::kHeaderBytes && frame[1] == EapolKeyFrame::kPacketStart;
}

// The PMKID of 802.11i: HMAC-SHA1-128 of "PMK Name", the access point's and the station's
// addresses under the master key.
crypto::Mic pmkid(std::span<const std::uint8_t, 32> masterKey, const MacAddress& address,
                  const MacAddress& station) {
    std::vector<std::uint8_t> data{'P', 'M', 'K', ' ', 'N', 'a', 'm', 'e'};
    data.insert(data.end(), address.begin(), address.end());
    data.insert(data.end(), station.begin(), station.end());
    crypto::Mic out{};
    crypto::hmacSha1_128(masterKey, data, out);
    return out;
}

}  // namespace

PskAuthenticator::PskAuthenticator(Setup setup, EapolChannel& channel, crypto::NonceSource& nonces,
                                   const crypto::Rc4Cipher& rc4)
    : setup_(std::move(setup)), channel_(channel), nonces_(nonces), rc4_(rc4) {}

PskAuthenticator::~PskAuthenticator() {
    OPENSSL_cleanse(setup_.masterKey.data(), setup_.masterKey.size());
    OPENSSL_cleanse(groupKey_.data(), groupKey_.size());
}

std::uint16_t PskAuthenticator::version() const {
    return setup_.pairwiseCipher == ciphercode::kTkip ? keyinfo::kVersionMd5Rc4
                                                      : keyinfo::kVersionSha1Aes;
}

std::span<const std::uint8_t> PskAuthenticator::temporalKey() const {
    return pairwiseDone_ ? keys_.temporalKey() : std::span<const std::uint8_t>();
}

void PskAuthenticator::start(std::int64_t nowMs) {
    state_ = State::AwaitingMessage2;
    pairwiseDone_ = false;
    sends_ = 0;
    if (!nonces_.fill(anonce_)) {
        state_ = State::Failed;
        return;
    }
    sendMessage1(nowMs);
}

void PskAuthenticator::transmit(EapolKeyFrame& frame, bool sign) {
    frame.descriptorType =
        setup_.rsn ? EapolKeyFrame::kDescriptorRsn : EapolKeyFrame::kDescriptorWpa;
    frame.keyInfo = static_cast<std::uint16_t>(frame.keyInfo | version() | keyinfo::kAck);
    frame.replayCounter = ++counter_;
    std::vector<std::uint8_t> bytes = frame.serialize();
    if (sign) {
        signKeyFrame(bytes, keys_.confirmationKey());
    }
    channel_.send(EapolChannel::Side::AccessPoint, bytes);
    OPENSSL_cleanse(bytes.data(), bytes.size());
}

bool PskAuthenticator::seal(EapolKeyFrame& frame, std::span<const std::uint8_t> plain) {
    const bool rc4 = version() == keyinfo::kVersionMd5Rc4;
    // A fresh IV for every message: RC4 must never run twice on one key stream.
    if (rc4 && !nonces_.fill(frame.iv)) {
        return false;
    }
    auto sealed =
        crypto::sealKeyData(rc4 ? crypto::KeyDataCipher::Rc4 : crypto::KeyDataCipher::AesKeyWrap,
                            keys_.encryptionKey(), frame.iv, plain, rc4_);
    if (!sealed) {
        return false;
    }
    frame.keyData = std::move(*sealed);
    return true;
}

// Counts one more send of the message awaiting its answer; false (the station is to be
// deauthenticated) once it has been sent often enough.
bool PskAuthenticator::expect(State state, std::int64_t nowMs) {
    if (++sends_ > kMaxSends) {
        state_ = State::Failed;
        return false;
    }
    state_ = state;
    retryAtMs_ = nowMs + kRetryMs;
    return true;
}

void PskAuthenticator::sendMessage1(std::int64_t nowMs) {
    if (!expect(State::AwaitingMessage2, nowMs)) {
        return;
    }
    EapolKeyFrame m1;
    m1.keyInfo = keyinfo::kPairwise;
    m1.keyLength = static_cast<std::uint16_t>(ciphercode::keyBytes(setup_.pairwiseCipher));
    m1.nonce = anonce_;
    if (setup_.rsn) {
        const auto id = pmkid(setup_.masterKey, setup_.address, setup_.station);
        m1.keyData = pmkidKde(id);
    }
    transmit(m1, false);
}

void PskAuthenticator::sendMessage3(std::int64_t nowMs) {
    if (!expect(State::AwaitingMessage4, nowMs)) {
        return;
    }
    EapolKeyFrame m3;
    m3.keyInfo = keyinfo::kPairwise | keyinfo::kMic | keyinfo::kInstall;
    m3.keyLength = static_cast<std::uint16_t>(ciphercode::keyBytes(setup_.pairwiseCipher));
    m3.nonce = anonce_;
    if (!setup_.rsn) {
        m3.keyData = setup_.element;
        transmit(m3, true);
        return;
    }
    // WPA2: the group key travels with the pairwise one.
    if (groupKey_.empty() && !newGroupKey()) {
        return;
    }
    m3.keyInfo |= keyinfo::kSecure | keyinfo::kEncryptedKeyData;
    std::vector<std::uint8_t> plain = setup_.element;
    std::vector<std::uint8_t> kde = groupKeyKde(groupIndex_, true, groupKey_);
    plain.insert(plain.end(), kde.begin(), kde.end());
    const bool sealed = seal(m3, plain);
    OPENSSL_cleanse(plain.data(), plain.size());
    OPENSSL_cleanse(kde.data(), kde.size());
    if (!sealed) {
        state_ = State::Failed;
        return;
    }
    transmit(m3, true);
}

void PskAuthenticator::sendGroupMessage(std::int64_t nowMs) {
    if (!expect(State::AwaitingGroupAnswer, nowMs)) {
        return;
    }
    EapolKeyFrame g;
    g.keyInfo = keyinfo::kMic | keyinfo::kSecure;
    std::vector<std::uint8_t> plain;
    if (setup_.rsn) {
        // The key's index and length travel in its KDE.
        g.keyInfo |= keyinfo::kEncryptedKeyData;
        plain = groupKeyKde(groupIndex_, true, groupKey_);
    } else {
        g.keyInfo |= static_cast<std::uint16_t>(groupIndex_ << keyinfo::kIndexShift);
        g.keyLength = static_cast<std::uint16_t>(groupKey_.size());
        plain = groupKey_;
    }
    const bool sealed = seal(g, plain);
    OPENSSL_cleanse(plain.data(), plain.size());
    if (!sealed) {
        state_ = State::Failed;
        return;
    }
    transmit(g, true);
}

void PskAuthenticator::resend(std::int64_t nowMs) {
    switch (state_) {
        case State::AwaitingMessage2:
            sendMessage1(nowMs);
            break;
        case State::AwaitingMessage4:
            sendMessage3(nowMs);
            break;
        case State::AwaitingGroupAnswer:
            sendGroupMessage(nowMs);
            break;
        default:
            break;
    }
}

void PskAuthenticator::tick(std::int64_t nowMs) {
    if (state_ == State::Established && setup_.rekeyMs > 0 && nowMs >= rekeyAtMs_) {
        sends_ = 0;
        if (newGroupKey()) {
            sendGroupMessage(nowMs);
        }
        return;
    }
    if (state_ != State::Established && state_ != State::Failed && nowMs >= retryAtMs_) {
        resend(nowMs);
    }
}

void PskAuthenticator::receive(std::span<const std::uint8_t> raw, std::int64_t nowMs) {
    if (state_ == State::Failed) {
        return;
    }
    if (isEapolStart(raw)) {
        // The station (re)starts its side. A running 4-way handshake keeps its count of sends,
        // so that a stream of starts cannot keep a station with the wrong key associated.
        if (state_ != State::AwaitingMessage2) {
            if (state_ == State::Established) {
                sends_ = 0;
            }
            pairwiseDone_ = false;
            if (!nonces_.fill(anonce_)) {
                state_ = State::Failed;
                return;
            }
        }
        sendMessage1(nowMs);
        return;
    }
    const auto frame = EapolKeyFrame::parse(raw);
    const std::uint8_t descriptor =
        setup_.rsn ? EapolKeyFrame::kDescriptorRsn : EapolKeyFrame::kDescriptorWpa;
    if (!frame || frame->descriptorType != descriptor || frame->descriptorVersion() != version() ||
        !frame->has(keyinfo::kMic) || (frame->keyInfo & keyinfo::kAck) != 0 ||
        frame->replayCounter != counter_) {
        ++dropped_;
        return;
    }
    const bool pairwise = frame->has(keyinfo::kPairwise);
    if (pairwise && state_ == State::AwaitingMessage2) {
        onMessage2(*frame, raw, nowMs);
    } else if (pairwise && state_ == State::AwaitingMessage4) {
        onMessage4(raw, nowMs);
    } else if (!pairwise && state_ == State::AwaitingGroupAnswer) {
        onGroupAnswer(raw, nowMs);
    } else {
        ++dropped_;
    }
}

bool PskAuthenticator::elementFits(std::span<const std::uint8_t> element) const {
    if (setup_.rsn) {
        const auto offered = RsnElement::parse(setup_.element);
        const auto parsed = RsnElement::parse(element);
        return offered && parsed && parsed->groupCipher == setup_.groupCipher &&
               parsed->pairwiseCiphers.size() == 1 &&
               parsed->pairwiseCiphers.front() == setup_.pairwiseCipher &&
               parsed->keyManagement.size() == 1 &&
               offered->offersKeyManagement(parsed->keyManagement.front());
    }
    const auto parsed = WpaElement::parse(element);
    return parsed && parsed->groupCipher == setup_.groupCipher &&
           parsed->pairwiseCiphers.size() == 1 &&
           parsed->pairwiseCiphers.front() == setup_.pairwiseCipher;
}

void PskAuthenticator::onMessage2(const EapolKeyFrame& frame, std::span<const std::uint8_t> raw,
                                  std::int64_t nowMs) {
    crypto::PairwiseKeys candidate;
    const bool derived = crypto::derivePairwiseKeys(
        setup_.masterKey, setup_.address, setup_.station, anonce_, frame.nonce,
        ciphercode::keyBytes(setup_.pairwiseCipher), candidate);
    // A wrong MIC is most likely a wrong passphrase: ask again, a few times.
    if (!derived || !keyFrameMicValid(raw, candidate.confirmationKey()) ||
        !elementFits(frame.keyData)) {
        ++micFailures_;
        sendMessage1(nowMs);
        return;
    }
    keys_.bytes = candidate.bytes;
    keys_.temporalKeyBytes = candidate.temporalKeyBytes;
    sends_ = 0;
    sendMessage3(nowMs);
}

void PskAuthenticator::onMessage4(std::span<const std::uint8_t> raw, std::int64_t nowMs) {
    if (!keyFrameMicValid(raw, keys_.confirmationKey())) {
        ++micFailures_;
        ++dropped_;
        return;
    }
    pairwiseDone_ = true;
    sends_ = 0;
    if (setup_.rsn) {
        // Message 3 delivered the group key already.
        state_ = State::Established;
        rekeyAtMs_ = nowMs + setup_.rekeyMs;
        return;
    }
    if (!groupKey_.empty() || newGroupKey()) {
        sendGroupMessage(nowMs);
    }
}

void PskAuthenticator::onGroupAnswer(std::span<const std::uint8_t> raw, std::int64_t nowMs) {
    if (!keyFrameMicValid(raw, keys_.confirmationKey())) {
        ++micFailures_;
        ++dropped_;
        return;
    }
    state_ = State::Established;
    sends_ = 0;
    rekeyAtMs_ = nowMs + setup_.rekeyMs;
}

bool PskAuthenticator::newGroupKey() {
    std::vector<std::uint8_t> key(ciphercode::keyBytes(setup_.groupCipher));
    if (key.empty() || !nonces_.fill(key)) {
        state_ = State::Failed;
        return false;
    }
    OPENSSL_cleanse(groupKey_.data(), groupKey_.size());
    groupKey_ = std::move(key);
    // WPA group keys take turns between indices 1 and 2, so that the old one still decrypts
    // while stations change over.
    groupIndex_ = groupIndex_ == 1 ? 2 : 1;
    return true;
}

}  // namespace rizorivu::sim
