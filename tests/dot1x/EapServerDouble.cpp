#include "tests/dot1x/EapServerDouble.h"

#include <openssl/x509.h>

#include <algorithm>
#include <string_view>

#include "adapter/EapPacket.h"

namespace rizorivu::testing {

namespace {

std::vector<std::uint8_t> drain(BIO* bio) {
    std::vector<std::uint8_t> out(BIO_ctrl_pending(bio));
    if (!out.empty()) {
        BIO_read(bio, out.data(), static_cast<int>(out.size()));
    }
    return out;
}

std::vector<std::uint8_t> msChapV2Packet(std::uint8_t opCode, std::uint8_t id,
                                         std::span<const std::uint8_t> body) {
    const std::size_t length = 4 + body.size();
    std::vector<std::uint8_t> out{eap::kTypeMsChapV2, opCode, id,
                                  static_cast<std::uint8_t>(length >> 8),
                                  static_cast<std::uint8_t>(length)};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

}  // namespace

EapServerDouble::EapServerDouble(Options options) : options_(std::move(options)) {
    context_.reset(SSL_CTX_new(TLS_server_method()));
    SSL_CTX_set_max_proto_version(context_.get(), TLS1_2_VERSION);
    SSL_CTX_use_certificate(context_.get(), options_.certificate);
    SSL_CTX_use_PrivateKey(context_.get(), options_.key);
    if (options_.clientAuthority != nullptr) {
        X509_STORE_add_cert(SSL_CTX_get_cert_store(context_.get()), options_.clientAuthority);
        SSL_CTX_set_verify(context_.get(), SSL_VERIFY_PEER | SSL_VERIFY_FAIL_IF_NO_PEER_CERT,
                           nullptr);
    }
    ssl_.reset(SSL_new(context_.get()));
    in_ = BIO_new(BIO_s_mem());
    out_ = BIO_new(BIO_s_mem());
    BIO_set_mem_eof_return(in_, -1);
    SSL_set_bio(ssl_.get(), in_, out_);
    SSL_set_accept_state(ssl_.get());
}

EapServerDouble::~EapServerDouble() = default;

void EapServerDouble::serve(LoopbackEapol& link) {
    link_ = &link;
    while (!link.toAccessPoint.empty() && !succeeded_ && !failed_) {
        const std::vector<std::uint8_t> frame = std::move(link.toAccessPoint.front());
        link.toAccessPoint.pop_front();
        handle(frame);
    }
    link.toAccessPoint.clear();
}

void EapServerDouble::handle(std::span<const std::uint8_t> raw) {
    const auto frame = EapolFrameView::parse(raw);
    if (!frame) {
        return;
    }
    if (frame->packetType == eap::kEapolStart) {
        return sendRequest(eap::kTypeIdentity, {});
    }
    const auto packet = EapPacketView::parse(frame->body);
    if (!packet || packet->code != eap::kResponse) {
        return;
    }
    if (packet->type == eap::kTypeIdentity) {
        return startMethod(options_.firstProposal != 0 ? options_.firstProposal : options_.method);
    }
    if (packet->type == eap::kTypeNak) {
        ++naksReceived_;
        if (!packet->data.empty() && packet->data[0] == options_.method) {
            return startMethod(options_.method);
        }
        return sendStatus(eap::kFailure);
    }
    if (packet->type == options_.method) {
        return handleTls(packet->data);
    }
}

void EapServerDouble::startMethod(std::uint8_t type) {
    // PEAP offers version 1 so that the supplicant must negotiate down to 0.
    const std::uint8_t start[] = {static_cast<std::uint8_t>(type == eap::kTypePeap ? 0x21 : 0x20)};
    sendRequest(type, start);
}

void EapServerDouble::handleTls(std::span<const std::uint8_t> data) {
    if (data.empty()) {
        return;
    }
    const bool ackOnly = data.size() == 1;
    if (sent_ < outgoing_.size()) {
        acksReceived_ += ackOnly ? 1 : 0;
        return sendNextFragment();
    }
    std::size_t at = 1;
    if (data[0] & 0x80) {
        at += 4;
    }
    incoming_.insert(incoming_.end(), data.begin() + static_cast<std::ptrdiff_t>(at), data.end());
    ++fragmentsReceived_;
    if (data[0] & 0x40) {
        const std::uint8_t ack[] = {0};
        return sendRequest(options_.method, ack);
    }
    BIO_write(in_, incoming_.data(), static_cast<int>(incoming_.size()));
    incoming_.clear();
    if (!SSL_is_init_finished(ssl_.get())) {
        const int result = SSL_do_handshake(ssl_.get());
        const int error = SSL_get_error(ssl_.get(), result);
        if (result != 1 && error != SSL_ERROR_WANT_READ) {
            failed_ = true;
            return sendStatus(eap::kFailure);
        }
        outgoing_ = drain(out_);
        sent_ = 0;
        if (!outgoing_.empty()) {
            return sendNextFragment();
        }
    }
    if (!SSL_is_init_finished(ssl_.get())) {
        return;
    }
    if (options_.method == eap::kTypeTls) {
        return succeed();  // the client acknowledged our Finished
    }
    std::vector<std::uint8_t> plaintext(4096);
    const int got = SSL_read(ssl_.get(), plaintext.data(), static_cast<int>(plaintext.size()));
    plaintext.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    handleInner(plaintext);
}

void EapServerDouble::handleInner(std::span<const std::uint8_t> plaintext) {
    if (innerStage_ == 0) {
        innerStage_ = 1;
        if (!options_.firstInnerPacket.empty()) {
            return sendTunnelled(options_.firstInnerPacket);
        }
        const std::uint8_t identityRequest[] = {eap::kTypeIdentity};
        return sendTunnelled(identityRequest);
    }
    if (innerStage_ == 1 && !plaintext.empty() && plaintext[0] == eap::kTypeIdentity) {
        innerStage_ = 2;
        challenge_.fill(0x42);
        // Value-Size, the challenge, the server's name.
        std::array<std::uint8_t, 1 + 16 + 6> body{16};
        std::copy(challenge_.begin(), challenge_.end(), body.begin() + 1);
        std::copy_n("double", 6, body.begin() + 17);
        return sendTunnelled(msChapV2Packet(1, 7, body));
    }
    if (innerStage_ == 2 && plaintext.size() >= 55 && plaintext[1] == 2) {
        innerStage_ = 3;
        crypto::MsChapV2::Challenge peer{};
        crypto::MsChapV2::NtResponse received{};
        std::copy_n(plaintext.begin() + 6, 16, peer.begin());
        std::copy_n(plaintext.begin() + 30, 24, received.begin());
        const std::string name(plaintext.begin() + 55, plaintext.end());
        crypto::MsChapV2::NtResponse expected{};
        algorithms_.generateNtResponse(challenge_, peer, name, options_.password, expected);
        innerAccepted_ = expected == received;
        std::string message = "E=691 R=0 V=3 M=refused";
        if (innerAccepted_) {
            algorithms_.generateAuthenticatorResponse(options_.password, received, peer, challenge_,
                                                      name, message);
            message += " M=welcome";
        }
        return sendTunnelled(msChapV2Packet(
            innerAccepted_ ? 3 : 4, 7,
            std::span(reinterpret_cast<const std::uint8_t*>(message.data()), message.size())));
    }
    if (innerStage_ == 3) {
        innerStage_ = 4;
        const std::uint8_t tlv[] = {0x80, 0x03, 0x00,
                                    0x02, 0x00, static_cast<std::uint8_t>(innerAccepted_ ? 1 : 2)};
        return sendTunnelled(eapPacket(eap::kRequest, ++id_, eap::kTypeExtensions, tlv));
    }
    if (innerStage_ == 4 && plaintext.size() == 11 && plaintext[10] == 1 && innerAccepted_) {
        return succeed();
    }
    failed_ = true;
    sendStatus(eap::kFailure);
}

void EapServerDouble::sendTunnelled(std::span<const std::uint8_t> plaintext) {
    SSL_write(ssl_.get(), plaintext.data(), static_cast<int>(plaintext.size()));
    outgoing_ = drain(out_);
    sent_ = 0;
    sendNextFragment();
}

void EapServerDouble::sendNextFragment() {
    const std::size_t left = outgoing_.size() - sent_;
    const bool more = left > options_.fragmentSize;
    std::vector<std::uint8_t> data{static_cast<std::uint8_t>(more ? 0x40 : 0)};
    if (sent_ == 0 && more) {
        const std::size_t total = outgoing_.size();
        data[0] |= 0x80;
        data.insert(data.end(), {0, 0, static_cast<std::uint8_t>(total >> 8),
                                 static_cast<std::uint8_t>(total)});
    }
    const std::size_t take = std::min(left, options_.fragmentSize);
    data.insert(data.end(), outgoing_.begin() + static_cast<std::ptrdiff_t>(sent_),
                outgoing_.begin() + static_cast<std::ptrdiff_t>(sent_ + take));
    sent_ += take;
    sendRequest(options_.method, data);
}

void EapServerDouble::succeed() {
    msk_.resize(64);
    constexpr std::string_view label = "client EAP encryption";
    SSL_export_keying_material(ssl_.get(), msk_.data(), msk_.size(), label.data(), label.size(),
                               nullptr, 0, 0);
    succeeded_ = true;
    sendStatus(eap::kSuccess);
}

void EapServerDouble::sendRequest(std::uint8_t type, std::span<const std::uint8_t> data) {
    link_->toStation.push_back(
        eapolFrame(eap::kEapolPacket, eapPacket(eap::kRequest, ++id_, type, data)));
}

void EapServerDouble::sendStatus(std::uint8_t code) {
    link_->toStation.push_back(eapolFrame(eap::kEapolPacket, eapStatus(code, id_)));
}

}  // namespace rizorivu::testing
