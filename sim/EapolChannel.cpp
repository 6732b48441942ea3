#include "sim/EapolChannel.h"

namespace rizorivu::sim {

std::deque<std::vector<std::uint8_t>>& EapolChannel::queueFor(Side at) {
    return at == Side::Station ? toStation_ : toAccessPoint_;
}

bool EapolChannel::send(Side from, std::span<const std::uint8_t> frame) {
    if (frame.empty() || frame.size() > kMaxFrameBytes) {
        return false;
    }
    std::lock_guard lock(mutex_);
    auto& queue = queueFor(from == Side::Station ? Side::AccessPoint : Side::Station);
    if (queue.size() >= kQueueDepth) {
        return false;
    }
    queue.emplace_back(frame.begin(), frame.end());
    return true;
}

std::optional<std::vector<std::uint8_t>> EapolChannel::receive(Side at) {
    std::lock_guard lock(mutex_);
    auto& queue = queueFor(at);
    if (queue.empty()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> frame = std::move(queue.front());
    queue.pop_front();
    return frame;
}

std::size_t EapolChannel::pending(Side at) const {
    std::lock_guard lock(mutex_);
    return at == Side::Station ? toStation_.size() : toAccessPoint_.size();
}

void EapolChannel::clear() {
    std::lock_guard lock(mutex_);
    toStation_.clear();
    toAccessPoint_.clear();
}

}  // namespace rizorivu::sim
