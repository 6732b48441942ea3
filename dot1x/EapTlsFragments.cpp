#include "dot1x/EapTlsFragments.h"

#include <openssl/crypto.h>

#include <algorithm>

namespace rizorivu::dot1x {

EapTlsFragments::EapTlsFragments(std::size_t fragmentSize, std::uint8_t flagBits)
    : fragmentSize_(std::max<std::size_t>(fragmentSize, 1)), flagBits_(flagBits) {}

EapTlsFragments::~EapTlsFragments() {
    // TLS records carry only ciphertext, but the tunnel's plaintext passed through here too.
    clearMessage();
    OPENSSL_cleanse(outgoing_.data(), outgoing_.size());
}

void EapTlsFragments::clearMessage() {
    OPENSSL_cleanse(incoming_.data(), incoming_.size());
    incoming_.clear();
    expected_ = 0;
    fragments_ = 0;
    gathering_ = false;
}

EapTlsFragments::Input EapTlsFragments::accept(std::span<const std::uint8_t> data) {
    if (data.empty()) {
        clearMessage();
        return Input::Refused;
    }
    if (!gathering_) {
        clearMessage();
    }
    const std::uint8_t flags = data[0];
    std::span<const std::uint8_t> fragment = data.subspan(1);
    if (flags & kLengthIncluded) {
        if (fragment.size() < 4) {
            clearMessage();
            return Input::Refused;
        }
        const std::size_t total = static_cast<std::size_t>(fragment[0]) << 24 |
                                  static_cast<std::size_t>(fragment[1]) << 16 |
                                  static_cast<std::size_t>(fragment[2]) << 8 | fragment[3];
        fragment = fragment.subspan(4);
        // Every fragment of a message may repeat the length; it must not change.
        if (total == 0 || total > kMaxMessageBytes || (expected_ != 0 && total != expected_) ||
            (expected_ == 0 && gathering_)) {
            clearMessage();
            return Input::Refused;
        }
        expected_ = total;
    }
    const bool more = (flags & kMoreFragments) != 0;
    const std::size_t limit = expected_ != 0 ? expected_ : kMaxMessageBytes;
    // A fragment must make progress, and never beyond the announced or the largest length.
    if ((more && fragment.empty()) || fragment.size() > limit - incoming_.size() ||
        ++fragments_ > kMaxFragments) {
        clearMessage();
        return Input::Refused;
    }
    incoming_.insert(incoming_.end(), fragment.begin(), fragment.end());
    if (more) {
        gathering_ = true;
        return Input::Incomplete;
    }
    gathering_ = false;
    if ((expected_ != 0 && incoming_.size() != expected_) || incoming_.empty()) {
        clearMessage();
        return Input::Refused;
    }
    return Input::Complete;
}

void EapTlsFragments::send(std::span<const std::uint8_t> message) {
    OPENSSL_cleanse(outgoing_.data(), outgoing_.size());
    outgoing_.assign(message.begin(), message.end());
    sent_ = 0;
}

std::vector<std::uint8_t> EapTlsFragments::next() {
    if (!sending()) {
        return ack();
    }
    const bool first = sent_ == 0;
    const std::size_t left = outgoing_.size() - sent_;
    const bool more = left > fragmentSize_;
    std::vector<std::uint8_t> data{flagBits_};
    if (first && more) {
        // The whole length goes with the first fragment, so the server can size its buffer.
        data[0] |= kLengthIncluded;
        const std::size_t total = outgoing_.size();
        data.insert(data.end(),
                    {static_cast<std::uint8_t>(total >> 24), static_cast<std::uint8_t>(total >> 16),
                     static_cast<std::uint8_t>(total >> 8), static_cast<std::uint8_t>(total)});
    }
    if (more) {
        data[0] |= kMoreFragments;
    }
    const std::size_t take = std::min(left, fragmentSize_);
    data.insert(data.end(), outgoing_.begin() + static_cast<std::ptrdiff_t>(sent_),
                outgoing_.begin() + static_cast<std::ptrdiff_t>(sent_ + take));
    sent_ += take;
    return data;
}

}  // namespace rizorivu::dot1x
