#include "dot1x/PeapMethod.h"

#include "adapter/EapPacket.h"

namespace rizorivu::dot1x {

namespace {

constexpr std::uint16_t kMandatory = 0x8000;
constexpr std::uint16_t kTlvTypeMask = 0x3FFF;
constexpr std::uint16_t kResultTlv = 3;
constexpr std::uint16_t kResultSuccess = 1;
constexpr std::uint16_t kResultFailure = 2;

std::uint16_t read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

}  // namespace

PeapMethod::PeapMethod(TlsSession::Settings settings, std::size_t fragmentSize,
                       const crypto::MsChapV2& algorithms, crypto::NonceSource& nonces,
                       std::string innerIdentity, std::string password)
    : EapTlsMethod(eap::kTypePeap, std::move(settings), fragmentSize),
      innerIdentity_(innerIdentity),
      inner_(algorithms, nonces, std::move(innerIdentity), std::move(password)) {}

std::optional<std::vector<std::uint8_t>> PeapMethod::tunnel(std::span<const std::uint8_t> data) {
    if (resultSucceeded_) {
        return std::nullopt;  // nothing follows our final Result
    }
    // A whole EAP request of the Extensions type; anything else is a header-less inner packet.
    if (data.size() >= 5 && data[0] == eap::kRequest && data[4] == eap::kTypeExtensions) {
        return extensions(data);
    }
    // Some servers send the inner identity request whole; the answer stays header-less.
    const bool wholeIdentity = data.size() == 5 && data[0] == eap::kRequest &&
                               read16(data, 2) == 5 && data[4] == eap::kTypeIdentity;
    const std::uint8_t type = wholeIdentity ? eap::kTypeIdentity : data[0];
    const std::span<const std::uint8_t> body = data.subspan(wholeIdentity ? 5 : 1);
    std::vector<std::uint8_t> reply{type};
    if (type == eap::kTypeIdentity) {
        reply.insert(reply.end(), innerIdentity_.begin(), innerIdentity_.end());
        return reply;
    }
    if (type == eap::kTypeMsChapV2) {
        auto answer = inner_.answer(body);
        if (!answer) {
            return std::nullopt;
        }
        reply.insert(reply.end(), answer->begin(), answer->end());
        return reply;
    }
    return std::vector<std::uint8_t>{eap::kTypeNak, eap::kTypeMsChapV2};
}

std::optional<std::vector<std::uint8_t>> PeapMethod::extensions(
    std::span<const std::uint8_t> packet) {
    const auto request = EapPacketView::parse(packet);
    // The inner packet's length must be exactly the plaintext the record carried.
    if (!request || request->packet.size() != packet.size()) {
        return std::nullopt;
    }
    std::optional<std::uint16_t> result;
    bool unknownMandatory = false;
    for (std::span<const std::uint8_t> tlvs = request->data; !tlvs.empty();) {
        if (tlvs.size() < 4 || read16(tlvs, 2) > tlvs.size() - 4) {
            return std::nullopt;
        }
        const std::uint16_t type = read16(tlvs, 0);
        const std::size_t length = read16(tlvs, 2);
        if ((type & kTlvTypeMask) == kResultTlv && length == 2) {
            result = read16(tlvs, 4);
        } else if (type & kMandatory) {
            unknownMandatory = true;
        }
        tlvs = tlvs.subspan(4 + length);
    }
    if (!result) {
        return std::nullopt;
    }
    // Success only when the server says so and proved itself in MS-CHAPv2.
    const bool success = *result == kResultSuccess && inner_.succeeded() && !unknownMandatory;
    const std::uint16_t status = success ? kResultSuccess : kResultFailure;
    const std::uint8_t tlv[] = {0x80, 0x03, 0x00, 0x02, 0x00, static_cast<std::uint8_t>(status)};
    resultSucceeded_ = success;
    return eapPacket(eap::kResponse, request->identifier, eap::kTypeExtensions, tlv);
}

}  // namespace rizorivu::dot1x
