#include "sim/StationEapolPort.h"

namespace rizorivu::sim {

bool StationEapolPort::sendEapol(std::span<const std::uint8_t> frame) {
    if (!channel_->send(EapolChannel::Side::Station, frame)) {
        return false;
    }
    if (deliver_) {
        deliver_();
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> StationEapolPort::receiveEapol() {
    if (poll_) {
        poll_();
    }
    return channel_->receive(EapolChannel::Side::Station);
}

}  // namespace rizorivu::sim
