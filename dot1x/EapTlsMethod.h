#pragma once

#include <string_view>

#include "dot1x/EapMethod.h"
#include "dot1x/EapTlsFragments.h"
#include "dot1x/TlsSession.h"

namespace rizorivu::dot1x {

// EAP-TLS (RFC 5216): the TLS handshake in fragments, the client certificate proving who we
// are. Also the outer part of PEAP, which carries another EAP exchange through the tunnel.
class EapTlsMethod : public EapMethod {
public:
    // RFC 5216 section 2.3; PEAPv0 derives its key the same way.
    static constexpr std::string_view kKeyLabel = "client EAP encryption";

    EapTlsMethod(TlsSession::Settings settings, std::size_t fragmentSize);
    ~EapTlsMethod() override;

    std::uint8_t type() const override { return type_; }
    std::optional<std::vector<std::uint8_t>> answer(std::span<const std::uint8_t> data) override;
    bool complete() const override { return !failed_ && tls_.established() && tunnelComplete(); }
    bool failed() const override { return failed_ || tls_.failed(); }
    bool masterSessionKey(std::span<std::uint8_t, 64> key) const override;

protected:
    EapTlsMethod(std::uint8_t type, TlsSession::Settings settings, std::size_t fragmentSize);

    // Application data from the server once the handshake is done; answers the plaintext to
    // send back (may be empty), or nothing to refuse the exchange. EAP-TLS carries none.
    virtual std::optional<std::vector<std::uint8_t>> tunnel(std::span<const std::uint8_t> data);
    virtual bool tunnelComplete() const { return true; }

private:
    std::optional<std::vector<std::uint8_t>> refuse();
    std::optional<std::vector<std::uint8_t>> start();

    std::uint8_t type_;
    TlsSession::Settings settings_;
    TlsSession tls_;
    EapTlsFragments fragments_;
    bool started_ = false;
    bool failed_ = false;
};

}  // namespace rizorivu::dot1x
