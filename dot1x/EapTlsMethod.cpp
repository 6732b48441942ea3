#include "dot1x/EapTlsMethod.h"

#include <openssl/crypto.h>

#include "adapter/EapPacket.h"

namespace rizorivu::dot1x {

EapTlsMethod::EapTlsMethod(TlsSession::Settings settings, std::size_t fragmentSize)
    : EapTlsMethod(eap::kTypeTls, std::move(settings), fragmentSize) {}

EapTlsMethod::EapTlsMethod(std::uint8_t type, TlsSession::Settings settings,
                           std::size_t fragmentSize)
    : type_(type), settings_(std::move(settings)), fragments_(fragmentSize) {}

EapTlsMethod::~EapTlsMethod() {
    OPENSSL_cleanse(settings_.privateKeyPassword.data(), settings_.privateKeyPassword.size());
}

std::optional<std::vector<std::uint8_t>> EapTlsMethod::refuse() {
    failed_ = true;
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> EapTlsMethod::start() {
    // A second start would restart TLS in the middle of the exchange.
    if (started_) {
        return refuse();
    }
    started_ = true;
    const bool opened = tls_.open(settings_);
    OPENSSL_cleanse(settings_.privateKeyPassword.data(), settings_.privateKeyPassword.size());
    if (!opened) {
        return refuse();
    }
    fragments_.send(tls_.takeOutput());
    return fragments_.next();
}

std::optional<std::vector<std::uint8_t>> EapTlsMethod::answer(std::span<const std::uint8_t> data) {
    if (failed() || data.empty()) {
        return refuse();
    }
    const std::uint8_t flags = data[0];
    if (flags & EapTlsFragments::kStart) {
        // The PEAP version the server offers is in the low bits; version 0 is the only one
        // we speak, and the flag bits we send (zero) say so.
        return start();
    }
    if (!started_) {
        return refuse();
    }
    if (fragments_.sending()) {
        // While we send a message in fragments, the server may only acknowledge each one.
        if (data.size() != 1 ||
            (flags & (EapTlsFragments::kLengthIncluded | EapTlsFragments::kMoreFragments))) {
            return refuse();
        }
        return fragments_.next();
    }
    switch (fragments_.accept(data)) {
        case EapTlsFragments::Input::Refused:
            return refuse();
        case EapTlsFragments::Input::Incomplete:
            return fragments_.ack();
        case EapTlsFragments::Input::Complete:
            break;
    }
    const bool accepted = tls_.receive(fragments_.message());
    fragments_.clearMessage();
    std::vector<std::uint8_t> output = tls_.takeOutput();
    if (!accepted) {
        // Tell the server why (the alert), then stop.
        failed_ = true;
        if (output.empty()) {
            return std::nullopt;
        }
        fragments_.send(output);
        return fragments_.next();
    }
    if (tls_.established()) {
        std::vector<std::uint8_t> plaintext = tls_.read();
        if (tls_.failed()) {
            return refuse();
        }
        if (!plaintext.empty()) {
            auto reply = tunnel(plaintext);
            OPENSSL_cleanse(plaintext.data(), plaintext.size());
            if (!reply || !tls_.write(*reply)) {
                return refuse();
            }
            OPENSSL_cleanse(reply->data(), reply->size());
            const std::vector<std::uint8_t> records = tls_.takeOutput();
            output.insert(output.end(), records.begin(), records.end());
        }
    }
    if (output.empty()) {
        return fragments_.ack();
    }
    fragments_.send(output);
    return fragments_.next();
}

std::optional<std::vector<std::uint8_t>> EapTlsMethod::tunnel(std::span<const std::uint8_t>) {
    // Application data has no place in EAP-TLS.
    return std::nullopt;
}

bool EapTlsMethod::masterSessionKey(std::span<std::uint8_t, 64> key) const {
    return complete() && tls_.exportKey(kKeyLabel, key);
}

}  // namespace rizorivu::dot1x
