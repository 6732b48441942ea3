#include "dot1x/KeyHandshake.h"

#include <openssl/crypto.h>

#include <algorithm>

#include "adapter/WpaElement.h"
#include "crypto/AesKeyWrap.h"

namespace rizorivu::dot1x {

namespace {

bool negotiablePairwise(int cipher) {
    return cipher == ciphercode::kTkip || cipher == ciphercode::kCcmp;
}

void cleanse(std::vector<std::uint8_t>& bytes) {
    OPENSSL_cleanse(bytes.data(), bytes.size());
    bytes.clear();
}

}  // namespace

KeyHandshake::KeyHandshake(EapolPort& port, Clock& clock, crypto::NonceSource& nonces,
                           const crypto::Rc4Cipher& rc4)
    : port_(port), clock_(clock), nonces_(nonces), rc4_(rc4) {}

KeyHandshake::~KeyHandshake() {
    OPENSSL_cleanse(masterKey_.data(), masterKey_.size());
    cleanse(groupKey_);
}

bool KeyHandshake::begin(const KeyNegotiationContext& context,
                         std::span<const std::uint8_t, 6> authenticatorAddress) {
    state_ = State::Idle;
    descriptorVersion_ = 0;
    pending_.temporalKeyBytes = 0;
    masterKey_ = context.pairwiseMasterKey;
    ownAddress_ = context.ownMac;
    setAuthenticator(authenticatorAddress);
    surveyElement_ = context.wpaElement;
    const auto element = WpaElement::parse(surveyElement_);

    // The worker hands over one cipher code for both; the element says what the group uses.
    pairwiseCipher_ = context.pairwiseCipher;
    if (!negotiablePairwise(pairwiseCipher_) && element) {
        const auto found = std::find_if(element->pairwiseCiphers.begin(),
                                        element->pairwiseCiphers.end(), negotiablePairwise);
        pairwiseCipher_ = found != element->pairwiseCiphers.end() ? *found : 0;
    }
    groupCipher_ = element && ciphercode::keyBytes(element->groupCipher) != 0 ? element->groupCipher
                   : ciphercode::keyBytes(context.groupCipher) != 0           ? context.groupCipher
                                                                              : pairwiseCipher_;
    const std::uint8_t keyManagement = element && !element->keyManagement.empty()
                                           ? element->keyManagement.front()
                                           : WpaElement::kKeyManagementPsk;

    if (keyManagement == WpaElement::kKeyManagementNone) {
        // Ad hoc: every station shares the key the passphrase maps to.
        const int cipher = negotiablePairwise(pairwiseCipher_) ? pairwiseCipher_ : groupCipher_;
        const std::size_t bytes = ciphercode::keyBytes(cipher);
        if (bytes == 0 || !context.installKey) {
            return false;
        }
        const std::array<std::uint8_t, 8> rsc{};
        context.installKey(rsc, std::span(masterKey_).first(bytes), 0, 1);
        state_ = State::Complete;
        return true;
    }
    if (!negotiablePairwise(pairwiseCipher_)) {
        return false;
    }
    descriptorVersion_ =
        pairwiseCipher_ == ciphercode::kTkip ? keyinfo::kVersionMd5Rc4 : keyinfo::kVersionSha1Aes;
    ownElement_ = WpaElement::build(groupCipher_, pairwiseCipher_, keyManagement);
    replayCounter_.reset();
    pairwiseInstalled_ = false;
    cleanse(groupKey_);
    groupIndex_ = -1;
    state_ = State::AwaitingMessage1;
    return true;
}

void KeyHandshake::setAuthenticator(std::span<const std::uint8_t, 6> address) {
    std::copy(address.begin(), address.end(), authenticator_.begin());
}

bool KeyHandshake::step(const KeyNegotiationContext& context) {
    const std::int64_t deadline = clock_.nowMs() + kStepWaitMs;
    for (;;) {
        if (auto frame = port_.receiveEapol()) {
            handleFrame(*frame, context);
            OPENSSL_cleanse(frame->data(), frame->size());
            break;
        }
        if (clock_.nowMs() >= deadline) {
            break;
        }
        clock_.sleepMs(kPollMs);
    }
    return negotiated();
}

void KeyHandshake::handleFrame(std::span<const std::uint8_t> raw,
                               const KeyNegotiationContext& context) {
    if (state_ == State::Idle || descriptorVersion_ == 0) {
        return drop();  // not negotiating, or WPA-None, which has no handshake
    }
    const auto frame = EapolKeyFrame::parse(raw);
    if (!frame || frame->descriptorVersion() != descriptorVersion_ || !frame->has(keyinfo::kAck) ||
        (frame->keyInfo & (keyinfo::kRequest | keyinfo::kError))) {
        return drop();
    }
    if (!frame->has(keyinfo::kPairwise)) {
        return handleGroupMessage(*frame, raw, context);
    }
    if (frame->has(keyinfo::kMic)) {
        return handleMessage3(*frame, raw, context);
    }
    handleMessage1(*frame);
}

bool KeyHandshake::fresh(std::uint64_t replayCounter) const {
    return !replayCounter_ || replayCounter > *replayCounter_;
}

void KeyHandshake::send(EapolKeyFrame& reply, std::span<const std::uint8_t, 16> kck) {
    reply.keyInfo = static_cast<std::uint16_t>(reply.keyInfo | descriptorVersion_ | keyinfo::kMic);
    std::vector<std::uint8_t> bytes = reply.serialize();
    if (signKeyFrame(bytes, kck)) {
        port_.sendEapol(bytes);
    }
}

void KeyHandshake::handleMessage1(const EapolKeyFrame& frame) {
    // Message 1 carries no MIC; its counter cannot be trusted, only compared.
    if (!fresh(frame.replayCounter) || frame.keyLength != ciphercode::keyBytes(pairwiseCipher_) ||
        !nonces_.fill(snonce_)) {
        return drop();
    }
    anonce_ = frame.nonce;
    if (!crypto::derivePairwiseKeys(masterKey_, authenticator_, ownAddress_, anonce_, snonce_,
                                    ciphercode::keyBytes(pairwiseCipher_), pending_)) {
        return drop();
    }
    EapolKeyFrame reply;
    reply.keyInfo = keyinfo::kPairwise;
    reply.keyLength = frame.keyLength;
    reply.replayCounter = frame.replayCounter;
    reply.nonce = snonce_;
    reply.keyData = ownElement_;
    send(reply, pending_.confirmationKey());
    if (state_ == State::AwaitingMessage1) {
        state_ = State::AwaitingMessage3;
    }
}

void KeyHandshake::handleMessage3(const EapolKeyFrame& frame, std::span<const std::uint8_t> raw,
                                  const KeyNegotiationContext& context) {
    if (pending_.temporalKeyBytes == 0 || !frame.has(keyinfo::kInstall) || frame.nonce != anonce_ ||
        !fresh(frame.replayCounter) || frame.keyLength != ciphercode::keyBytes(pairwiseCipher_) ||
        !keyFrameMicValid(raw, pending_.confirmationKey())) {
        return drop();
    }
    // An element other than the one the survey showed means the ciphers were tampered with.
    if (frame.keyData != surveyElement_) {
        return drop();
    }
    replayCounter_ = frame.replayCounter;
    EapolKeyFrame reply;
    reply.keyInfo = keyinfo::kPairwise;
    reply.keyLength = frame.keyLength;
    reply.replayCounter = frame.replayCounter;
    send(reply, pending_.confirmationKey());

    // A retransmitted message 3 (our message 4 was lost) must not install the same key again:
    // that would reset its sequence counters.
    const bool sameKey = pairwiseInstalled_ && installed_.bytes == pending_.bytes;
    if (!sameKey) {
        installed_.bytes = pending_.bytes;
        installed_.temporalKeyBytes = pending_.temporalKeyBytes;
        pairwiseInstalled_ = true;
        cleanse(groupKey_);
        groupIndex_ = -1;
        const std::array<std::uint8_t, 8> rsc{};
        if (context.installKey) {
            context.installKey(rsc, installed_.temporalKey(), 0, 0);
        }
    }
    if (state_ != State::Complete) {
        state_ = State::AwaitingGroupKey;
    }
}

std::optional<std::vector<std::uint8_t>> KeyHandshake::decryptGroupKey(
    const EapolKeyFrame& frame) const {
    const auto kek = installed_.encryptionKey();
    if (descriptorVersion_ == keyinfo::kVersionMd5Rc4) {
        std::array<std::uint8_t, 32> key{};
        std::copy(frame.iv.begin(), frame.iv.end(), key.begin());
        std::copy(kek.begin(), kek.end(), key.begin() + 16);
        std::vector<std::uint8_t> data = frame.keyData;
        const bool ok = rc4_.apply(key, 256, data);
        OPENSSL_cleanse(key.data(), key.size());
        if (!ok) {
            return std::nullopt;
        }
        return data;
    }
    return crypto::aesKeyUnwrap(kek, frame.keyData);
}

void KeyHandshake::handleGroupMessage(const EapolKeyFrame& frame, std::span<const std::uint8_t> raw,
                                      const KeyNegotiationContext& context) {
    const std::size_t keyBytes = ciphercode::keyBytes(groupCipher_);
    if (!pairwiseInstalled_ || !frame.has(keyinfo::kMic | keyinfo::kSecure) ||
        !fresh(frame.replayCounter) || frame.keyLength != keyBytes ||
        !keyFrameMicValid(raw, installed_.confirmationKey())) {
        return drop();
    }
    auto plain = decryptGroupKey(frame);
    if (!plain || plain->size() < keyBytes) {
        if (plain) {
            cleanse(*plain);
        }
        return drop();
    }
    replayCounter_ = frame.replayCounter;
    EapolKeyFrame reply;
    reply.keyInfo =
        static_cast<std::uint16_t>(keyinfo::kSecure | (frame.keyInfo & keyinfo::kIndexMask));
    reply.keyLength = frame.keyLength;
    reply.replayCounter = frame.replayCounter;
    send(reply, installed_.confirmationKey());

    plain->resize(keyBytes);
    const int index = frame.keyIndex();
    // The same key again (a retransmission) keeps its receive counter; install only new ones.
    if (index != groupIndex_ || *plain != groupKey_) {
        cleanse(groupKey_);
        groupKey_ = *plain;
        groupIndex_ = index;
        if (context.installKey) {
            context.installKey(std::span<const std::uint8_t, 8>(frame.rsc), groupKey_, index, 1);
        }
    }
    cleanse(*plain);
    state_ = State::Complete;
}

}  // namespace rizorivu::dot1x
