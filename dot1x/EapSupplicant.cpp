#include "dot1x/EapSupplicant.h"

#include <openssl/crypto.h>

#include <algorithm>

#include "adapter/EapPacket.h"
#include "dot1x/EapTlsMethod.h"
#include "dot1x/PeapMethod.h"

namespace rizorivu::dot1x {

namespace {

void wipe(std::string& text) {
    OPENSSL_cleanse(text.data(), text.size());
}

}  // namespace

EapSupplicant::EapSupplicant(EapolPort& port, Clock& clock, const EapolConfig& config,
                             crypto::NonceSource& nonces, const crypto::MsChapV2* msChapV2)
    : port_(port),
      clock_(clock),
      config_(config),
      nonces_(nonces),
      msChapV2_(msChapV2),
      methodType_(config.method == "TLS"    ? eap::kTypeTls
                  : config.method == "PEAP" ? eap::kTypePeap
                                            : 0),
      fragmentSize_(config.fragmentSize <= 0
                        ? 1398
                        : std::clamp(static_cast<std::size_t>(config.fragmentSize),
                                     kMinFragmentBytes, kMaxFragmentBytes)) {}

EapSupplicant::~EapSupplicant() {
    wipe(config_.password);
    OPENSSL_cleanse(lastFrame_.data(), lastFrame_.size());
    OPENSSL_cleanse(sessionKey_.data(), sessionKey_.size());
}

void EapSupplicant::start() {
    ++starts_;
    lastStartMs_ = clock_.nowMs();
    port_.sendEapol(eapolFrame(eap::kEapolStart, {}));
}

bool EapSupplicant::step() {
    const std::int64_t deadline = clock_.nowMs() + kStepWaitMs;
    for (;;) {
        if (state_ == State::Authenticated) {
            return true;
        }
        if (state_ == State::Connecting && starts_ < kMaxStarts &&
            clock_.nowMs() - lastStartMs_ >= kStartRepeatMs) {
            start();
        }
        // Stop reading at success: the key handshake's first frame may follow it at once.
        // After a failure frames are still taken, and dropped, so none is left for the next.
        while (state_ != State::Authenticated) {
            auto frame = port_.receiveEapol();
            if (!frame) {
                break;
            }
            handleFrame(*frame);
            OPENSSL_cleanse(frame->data(), frame->size());
        }
        if (state_ == State::Authenticated) {
            return true;
        }
        const std::int64_t now = clock_.nowMs();
        if (now >= deadline) {
            return false;
        }
        clock_.sleepMs(std::min(kPollMs, deadline - now));
    }
}

void EapSupplicant::handleFrame(std::span<const std::uint8_t> raw) {
    const auto frame = EapolFrameView::parse(raw);
    if (!frame || frame->packetType != eap::kEapolPacket) {
        return drop();
    }
    const auto packet = EapPacketView::parse(frame->body);
    if (!packet || state_ == State::Authenticated || state_ == State::Failed) {
        return drop();
    }
    switch (packet->code) {
        case eap::kRequest:
            return handleRequest(packet->identifier, packet->type, packet->data);
        case eap::kSuccess:
            return handleSuccess();
        case eap::kFailure:
            state_ = State::Failed;
            return;
        default:
            return drop();
    }
}

void EapSupplicant::handleRequest(std::uint8_t id, std::uint8_t type,
                                  std::span<const std::uint8_t> data) {
    // A repeated request means our answer was lost: answer the same again, and never run
    // the method's step (a TLS flight) twice.
    if (lastId_ && *lastId_ == id) {
        port_.sendEapol(lastFrame_);
        return;
    }
    if (type == eap::kTypeIdentity) {
        // The server starts over: so do we.
        method_.reset();
        state_ = State::Authenticating;
        const std::span<const std::uint8_t> identity(
            reinterpret_cast<const std::uint8_t*>(config_.identity.data()),
            config_.identity.size());
        return respond(id, type, identity);
    }
    if (type == eap::kTypeNotification) {
        return respond(id, type, {});
    }
    if (type == methodType_ && methodType_ != 0) {
        if (!method_) {
            method_ = makeMethod();
            if (!method_) {
                state_ = State::Failed;
                return;
            }
        }
        const auto answer = method_->answer(data);
        if (answer) {
            respond(id, type, *answer);
        } else {
            drop();
        }
        if (method_->failed()) {
            state_ = State::Failed;
        }
        return;
    }
    // A method we do not run: propose ours, but only before one began (RFC 3748 5.3.1).
    if (method_ || type == eap::kTypeNak) {
        return drop();
    }
    const std::uint8_t proposal[] = {methodType_};
    respond(id, eap::kTypeNak, proposal);
}

void EapSupplicant::handleSuccess() {
    if (!method_ || !method_->complete()) {
        return drop();  // early or forged: the method has not proven the server
    }
    state_ = method_->masterSessionKey(sessionKey_) ? State::Authenticated : State::Failed;
    method_.reset();
}

std::unique_ptr<EapMethod> EapSupplicant::makeMethod() const {
    TlsSession::Settings settings{config_.caCertificateFile, {}, {}, {}};
    if (methodType_ == eap::kTypeTls) {
        settings.clientCertificateFile = config_.clientCertificateFile;
        settings.privateKeyFile = config_.privateKeyFile;
        settings.privateKeyPassword = config_.password;
        return std::make_unique<EapTlsMethod>(std::move(settings), fragmentSize_);
    }
    if (msChapV2_ == nullptr || !msChapV2_->available()) {
        return nullptr;
    }
    const std::string& inner =
        config_.innerIdentity.empty() ? config_.identity : config_.innerIdentity;
    return std::make_unique<PeapMethod>(std::move(settings), fragmentSize_, *msChapV2_, nonces_,
                                        inner, config_.password);
}

void EapSupplicant::respond(std::uint8_t id, std::uint8_t type,
                            std::span<const std::uint8_t> data) {
    OPENSSL_cleanse(lastFrame_.data(), lastFrame_.size());
    lastFrame_ = eapolFrame(eap::kEapolPacket, eapPacket(eap::kResponse, id, type, data));
    lastId_ = id;
    port_.sendEapol(lastFrame_);
}

bool EapSupplicant::masterKey(std::span<std::uint8_t, 32> key) const {
    if (state_ != State::Authenticated) {
        std::fill(key.begin(), key.end(), 0);
        return false;
    }
    std::copy_n(sessionKey_.begin(), key.size(), key.begin());
    return true;
}

}  // namespace rizorivu::dot1x
