#include "sim/StationEapolPort.h"

namespace rizorivu::sim {

bool StationEapolPort::sendEapol(std::span<const std::uint8_t> frame) {
    return channel_->send(EapolChannel::Side::Station, frame);
}

std::optional<std::vector<std::uint8_t>> StationEapolPort::receiveEapol() {
    return channel_->receive(EapolChannel::Side::Station);
}

}  // namespace rizorivu::sim
