#include "sim/PskAuthenticator.h"

#include <openssl/crypto.h>

#include <algorithm>

#include "adapter/KeyNegotiationContext.h"
#include "adapter/WpaElement.h"
#include "crypto/AesKeyWrap.h"
#include "sim/NetworkCiphers.h"

namespace rizorivu::sim {

namespace {

bool isEapolStart(std::span<const std::uint8_t> frame) {
    return frame.size() >= EapolKeyFrame::kHeaderBytes && frame[1] == EapolKeyFrame::kPacketStart;
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
    frame.keyInfo = static_cast<std::uint16_t>(frame.keyInfo | version() | keyinfo::kAck);
    frame.replayCounter = ++counter_;
    std::vector<std::uint8_t> bytes = frame.serialize();
    if (sign) {
        signKeyFrame(bytes, keys_.confirmationKey());
    }
    channel_.send(EapolChannel::Side::AccessPoint, bytes);
    OPENSSL_cleanse(bytes.data(), bytes.size());
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
    m3.keyData = setup_.element;
    transmit(m3, true);
}

void PskAuthenticator::sendGroupMessage(std::int64_t nowMs) {
    if (!expect(State::AwaitingGroupAnswer, nowMs)) {
        return;
    }
    EapolKeyFrame g;
    g.keyInfo = static_cast<std::uint16_t>(keyinfo::kMic | keyinfo::kSecure |
                                           (groupIndex_ << keyinfo::kIndexShift));
    g.keyLength = static_cast<std::uint16_t>(groupKey_.size());
    const auto kek = keys_.encryptionKey();
    if (version() == keyinfo::kVersionMd5Rc4) {
        // A fresh IV for every message: RC4 must never run twice on one key stream.
        if (!nonces_.fill(g.iv)) {
            state_ = State::Failed;
            return;
        }
        std::array<std::uint8_t, 32> key{};
        std::copy(g.iv.begin(), g.iv.end(), key.begin());
        std::copy(kek.begin(), kek.end(), key.begin() + 16);
        g.keyData = groupKey_;
        const bool ok = rc4_.apply(key, 256, g.keyData);
        OPENSSL_cleanse(key.data(), key.size());
        if (!ok) {
            state_ = State::Failed;
            return;
        }
    } else {
        // Key data is padded with 0xDD and zeros to whole blocks, at least two.
        std::vector<std::uint8_t> plain = groupKey_;
        if (plain.size() % 8 != 0 || plain.size() < 16) {
            plain.push_back(0xDD);
        }
        while (plain.size() % 8 != 0 || plain.size() < 16) {
            plain.push_back(0);
        }
        auto wrapped = crypto::aesKeyWrap(kek, plain);
        OPENSSL_cleanse(plain.data(), plain.size());
        if (!wrapped) {
            state_ = State::Failed;
            return;
        }
        g.keyData = std::move(*wrapped);
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
    if (!frame || frame->descriptorVersion() != version() || !frame->has(keyinfo::kMic) ||
        (frame->keyInfo & keyinfo::kAck) != 0 || frame->replayCounter != counter_) {
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
