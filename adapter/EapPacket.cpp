#include "adapter/EapPacket.h"

namespace rizorivu {

namespace {

std::uint16_t bigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

void append16(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

}  // namespace

std::optional<EapolFrameView> EapolFrameView::parse(std::span<const std::uint8_t> frame) {
    if (frame.size() < 4) {
        return std::nullopt;
    }
    const std::size_t length = bigEndian16(frame, 2);
    if (length > frame.size() - 4) {
        return std::nullopt;
    }
    return EapolFrameView{frame[0], frame[1], frame.subspan(4, length)};
}

std::vector<std::uint8_t> eapolFrame(std::uint8_t packetType, std::span<const std::uint8_t> body) {
    if (body.size() > 0xFFFF) {
        return {};
    }
    std::vector<std::uint8_t> out{1, packetType};
    out.reserve(4 + body.size());
    append16(out, body.size());
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::optional<EapPacketView> EapPacketView::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) {
        return std::nullopt;
    }
    const std::uint8_t code = bytes[0];
    if (code < eap::kRequest || code > eap::kFailure) {
        return std::nullopt;
    }
    const std::size_t length = bigEndian16(bytes, 2);
    if (length < 4 || length > bytes.size()) {
        return std::nullopt;
    }
    EapPacketView view{code, bytes[1], 0, {}, bytes.first(length)};
    if (code == eap::kRequest || code == eap::kResponse) {
        if (length < 5) {
            return std::nullopt;
        }
        view.type = bytes[4];
        view.data = bytes.subspan(5, length - 5);
    }
    return view;
}

std::vector<std::uint8_t> eapPacket(std::uint8_t code, std::uint8_t identifier, std::uint8_t type,
                                    std::span<const std::uint8_t> data) {
    if (data.size() > 0xFFFF - 5) {
        return {};
    }
    std::vector<std::uint8_t> out{code, identifier};
    out.reserve(5 + data.size());
    append16(out, 5 + data.size());
    out.push_back(type);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> eapStatus(std::uint8_t code, std::uint8_t identifier) {
    return {code, identifier, 0, 4};
}

}  // namespace rizorivu
