#pragma once

#include <memory>
#include <string>

#include "crypto/MsChapV2.h"
#include "crypto/NonceSource.h"
#include "dot1x/EapTlsMethod.h"
#include "dot1x/MsChapV2Peer.h"

namespace rizorivu::dot1x {

// PEAPv0: after the TLS handshake the server runs a second EAP exchange inside the tunnel.
// Inner packets travel without their EAP header (type first), except the Extensions packets
// that carry the Result TLV, which are whole EAP packets. The inner method is EAP-MS-CHAPv2;
// the exchange is complete when we answered the server's successful Result with ours.
class PeapMethod final : public EapTlsMethod {
public:
    PeapMethod(TlsSession::Settings settings, std::size_t fragmentSize,
               const crypto::MsChapV2& algorithms, crypto::NonceSource& nonces,
               std::string innerIdentity, std::string password);

protected:
    std::optional<std::vector<std::uint8_t>> tunnel(std::span<const std::uint8_t> data) override;
    bool tunnelComplete() const override { return resultSucceeded_; }

private:
    std::optional<std::vector<std::uint8_t>> extensions(std::span<const std::uint8_t> packet);

    std::string innerIdentity_;
    MsChapV2Peer inner_;
    bool resultSucceeded_ = false;
};

}  // namespace rizorivu::dot1x
