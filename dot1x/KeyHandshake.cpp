#include "dot1x/KeyHandshake.h"

#include <openssl/crypto.h>

#include <algorithm>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "adapter/KeyDataElements.h"
#include "adapter/RsnElement.h"
#include "adapter/SurveyLayout.h"
#include "adapter/WpaElement.h"
#include "crypto/KeyDataCipher.h"
#include "dot1x/RsnKeyData.h"

namespace rizorivu::dot1x {

namespace {

bool negotiablePairwise(int cipher) {
    return cipher == ciphercode::kTkip || cipher == ciphercode::kCcmp;
}

void cleanse(std::vector<std::uint8_t>& bytes) {
    OPENSSL_cleanse(bytes.data(), bytes.size());
    bytes.clear();
}

// The key management an RSN element must offer for the stored authentication: WPA2 asks for
// 802.1X, WPA2-PSK for the pre-shared key. Any other mode never negotiates WPA2.
std::optional<std::uint8_t> rsnKeyManagementAsked(int authenticationMode) {
    switch (fromDriver<AuthenticationMode>(authenticationMode)) {
        case AuthenticationMode::Wpa2:
            return RsnElement::kKeyManagement8021X;
        case AuthenticationMode::Wpa2Psk:
            return RsnElement::kKeyManagementPsk;
        default:
            return std::nullopt;
    }
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
    if (!surveyElement_.empty() && surveyElement_[0] == survey::kElementRsn) {
        return beginRsn(context);
    }
    return beginWpa(context);
}

bool KeyHandshake::beginWpa(const KeyNegotiationContext& context) {
    descriptorType_ = EapolKeyFrame::kDescriptorWpa;
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
    ownElement_ = WpaElement::build(groupCipher_, pairwiseCipher_, keyManagement);
    awaitMessage1();
    return true;
}

bool KeyHandshake::beginRsn(const KeyNegotiationContext& context) {
    descriptorType_ = EapolKeyFrame::kDescriptorRsn;
    const auto element = RsnElement::parse(surveyElement_);
    const auto keyManagement = rsnKeyManagementAsked(context.authenticationMode);
    if (!element || !keyManagement || !element->offersKeyManagement(*keyManagement)) {
        return false;
    }
    // The stored encryption when the access point offers it, else the best it offers.
    pairwiseCipher_ = negotiablePairwise(context.pairwiseCipher) &&
                              element->offersPairwise(context.pairwiseCipher)
                          ? context.pairwiseCipher
                          : element->preferredPairwise();
    groupCipher_ = element->groupCipher;
    if (!negotiablePairwise(pairwiseCipher_) || ciphercode::keyBytes(groupCipher_) == 0) {
        return false;
    }
    // No management frame protection: the station's capabilities are all clear.
    ownElement_ = RsnElement::build(groupCipher_, pairwiseCipher_, *keyManagement, 0);
    awaitMessage1();
    return true;
}

void KeyHandshake::awaitMessage1() {
    descriptorVersion_ =
        pairwiseCipher_ == ciphercode::kTkip ? keyinfo::kVersionMd5Rc4 : keyinfo::kVersionSha1Aes;
    replayCounter_.reset();
    pairwiseInstalled_ = false;
    cleanse(groupKey_);
    groupIndex_ = -1;
    state_ = State::AwaitingMessage1;
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
    if (!frame || frame->descriptorType != descriptorType_ ||
        frame->descriptorVersion() != descriptorVersion_ || !frame->has(keyinfo::kAck) ||
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

void KeyHandshake::reply(const EapolKeyFrame& frame, std::uint16_t keyInfo,
                         std::span<const std::uint8_t, 16> kck, std::vector<std::uint8_t> keyData) {
    EapolKeyFrame out;
    out.descriptorType = descriptorType_;
    out.keyInfo = static_cast<std::uint16_t>(keyInfo | descriptorVersion_ | keyinfo::kMic);
    out.keyLength = descriptorType_ == EapolKeyFrame::kDescriptorRsn ? 0 : frame.keyLength;
    out.replayCounter = frame.replayCounter;
    out.keyData = std::move(keyData);
    if (frame.has(keyinfo::kPairwise) && !frame.has(keyinfo::kMic)) {
        out.nonce = snonce_;  // message 2
    }
    std::vector<std::uint8_t> bytes = out.serialize();
    if (signKeyFrame(bytes, kck)) {
        port_.sendEapol(bytes);
    }
}

void KeyHandshake::handleMessage1(const EapolKeyFrame& frame) {
    // Message 1 carries no MIC; its counter cannot be trusted, only compared. Its key data (a
    // PMKID on an RSN network) is not read: nothing this station keeps could use it.
    if (!fresh(frame.replayCounter) || frame.keyLength != ciphercode::keyBytes(pairwiseCipher_) ||
        !nonces_.fill(snonce_)) {
        return drop();
    }
    anonce_ = frame.nonce;
    if (!crypto::derivePairwiseKeys(masterKey_, authenticator_, ownAddress_, anonce_, snonce_,
                                    ciphercode::keyBytes(pairwiseCipher_), pending_)) {
        return drop();
    }
    reply(frame, keyinfo::kPairwise, pending_.confirmationKey(), ownElement_);
    if (state_ == State::AwaitingMessage1) {
        state_ = State::AwaitingMessage3;
    }
}

std::optional<std::vector<std::uint8_t>> KeyHandshake::openKeyData(
    const EapolKeyFrame& frame, std::span<const std::uint8_t, 16> kek) const {
    const auto cipher = descriptorVersion_ == keyinfo::kVersionMd5Rc4
                            ? crypto::KeyDataCipher::Rc4
                            : crypto::KeyDataCipher::AesKeyWrap;
    return crypto::openKeyData(cipher, kek, frame.iv, frame.keyData, rc4_);
}

void KeyHandshake::handleMessage3(const EapolKeyFrame& frame, std::span<const std::uint8_t> raw,
                                  const KeyNegotiationContext& context) {
    const bool rsn = descriptorType_ == EapolKeyFrame::kDescriptorRsn;
    if (pending_.temporalKeyBytes == 0 || !frame.has(keyinfo::kInstall) || frame.nonce != anonce_ ||
        !fresh(frame.replayCounter) || frame.keyLength != ciphercode::keyBytes(pairwiseCipher_) ||
        (rsn && !frame.has(keyinfo::kEncryptedKeyData)) ||
        !keyFrameMicValid(raw, pending_.confirmationKey())) {
        return drop();
    }
    if (!rsn) {
        // An element other than the one the survey showed means the ciphers were tampered with.
        if (frame.keyData != surveyElement_) {
            return drop();
        }
        replayCounter_ = frame.replayCounter;
        reply(frame, keyinfo::kPairwise, pending_.confirmationKey());
        installPairwise(context);
        if (state_ != State::Complete) {
            state_ = State::AwaitingGroupKey;
        }
        return;
    }
    auto plain = openKeyData(frame, pending_.encryptionKey());
    if (!plain) {
        return drop();
    }
    const auto elements = KeyDataElements::parse(*plain);
    const auto group =
        elements ? rsnMessage3GroupKey(*elements, surveyElement_, pairwiseCipher_, groupCipher_)
                 : std::nullopt;
    if (!group) {
        cleanse(*plain);
        return drop();
    }
    replayCounter_ = frame.replayCounter;
    reply(frame, keyinfo::kPairwise | keyinfo::kSecure, pending_.confirmationKey());
    installPairwise(context);
    installGroupKey(std::span<const std::uint8_t, 8>(frame.rsc), group->key, group->index, context);
    cleanse(*plain);
    state_ = State::Complete;
}

void KeyHandshake::installPairwise(const KeyNegotiationContext& context) {
    // A retransmitted message 3 (our message 4 was lost) must not install the same key again:
    // that would reset its sequence counters.
    if (pairwiseInstalled_ && installed_.bytes == pending_.bytes) {
        return;
    }
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

void KeyHandshake::installGroupKey(std::span<const std::uint8_t, 8> rsc,
                                   std::span<const std::uint8_t> key, int index,
                                   const KeyNegotiationContext& context) {
    // The same key again (a retransmission) keeps its receive counter; install only new ones.
    if (index == groupIndex_ && std::ranges::equal(key, groupKey_)) {
        return;
    }
    cleanse(groupKey_);
    groupKey_.assign(key.begin(), key.end());
    groupIndex_ = index;
    if (context.installKey) {
        context.installKey(rsc, groupKey_, index, 1);
    }
}

void KeyHandshake::handleGroupMessage(const EapolKeyFrame& frame, std::span<const std::uint8_t> raw,
                                      const KeyNegotiationContext& context) {
    const bool rsn = descriptorType_ == EapolKeyFrame::kDescriptorRsn;
    const std::size_t keyBytes = ciphercode::keyBytes(groupCipher_);
    // An RSN group message names the key's length in its KDE, not in the key length field.
    if (!pairwiseInstalled_ || !frame.has(keyinfo::kMic | keyinfo::kSecure) ||
        !fresh(frame.replayCounter) || (!rsn && frame.keyLength != keyBytes) ||
        (rsn && !frame.has(keyinfo::kEncryptedKeyData)) ||
        !keyFrameMicValid(raw, installed_.confirmationKey())) {
        return drop();
    }
    auto plain = openKeyData(frame, installed_.encryptionKey());
    if (!plain) {
        return drop();
    }
    std::optional<GroupKeyElement> group;
    if (rsn) {
        const auto elements = KeyDataElements::parse(*plain);
        group = elements ? rsnGroupMessageKey(*elements, groupCipher_) : std::nullopt;
    } else if (plain->size() >= keyBytes) {
        group = GroupKeyElement{frame.keyIndex(), false, std::span(*plain).first(keyBytes)};
    }
    if (!group) {
        cleanse(*plain);
        return drop();
    }
    replayCounter_ = frame.replayCounter;
    // WPA's answer repeats the key index; RSN's carries none (the KDE held it).
    const auto index = static_cast<std::uint16_t>(rsn ? 0 : frame.keyInfo & keyinfo::kIndexMask);
    reply(frame, static_cast<std::uint16_t>(keyinfo::kSecure | index),
          installed_.confirmationKey());
    installGroupKey(std::span<const std::uint8_t, 8>(frame.rsc), group->key, group->index, context);
    cleanse(*plain);
    state_ = State::Complete;
}

}  // namespace rizorivu::dot1x
