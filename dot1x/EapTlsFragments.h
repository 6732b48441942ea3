#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rizorivu::dot1x {

// The fragmentation of TLS messages in EAP-TLS and PEAP (RFC 5216 section 3.2): each packet's
// data is a flags byte, the total message length when the L flag is set, and a fragment.
// Incoming fragments are gathered into one message within kMaxMessageBytes and
// kMaxFragments; outgoing messages are cut at the fragment size.
class EapTlsFragments {
public:
    static constexpr std::uint8_t kLengthIncluded = 0x80;
    static constexpr std::uint8_t kMoreFragments = 0x40;
    static constexpr std::uint8_t kStart = 0x20;
    static constexpr std::uint8_t kVersionMask = 0x07;

    // No TLS flight of a supplicant's exchange comes near this; a longer one is an attack.
    static constexpr std::size_t kMaxMessageBytes = 64 * 1024;
    // A server that keeps sending fragments never finishes; 64 KiB in 256-byte fragments.
    static constexpr int kMaxFragments = 256;

    enum class Input { Incomplete, Complete, Refused };

    // `flagBits` go into every flags byte sent (the PEAP version).
    explicit EapTlsFragments(std::size_t fragmentSize, std::uint8_t flagBits = 0);
    ~EapTlsFragments();

    // Takes one request's data (flags byte first). Incomplete: answer with ack(); Complete:
    // message() holds the whole message; Refused: the message is dropped.
    Input accept(std::span<const std::uint8_t> data);
    std::vector<std::uint8_t>& message() { return incoming_; }
    void clearMessage();

    // Queues a message to send; next() gives the data of each response in turn.
    void send(std::span<const std::uint8_t> message);
    bool sending() const { return sent_ < outgoing_.size(); }
    std::vector<std::uint8_t> next();
    // The data of an empty response: the acknowledgement of a fragment, or the answer to a
    // last server flight that needs none.
    std::vector<std::uint8_t> ack() const { return {flagBits_}; }

    std::size_t fragmentSize() const { return fragmentSize_; }

private:
    std::size_t fragmentSize_;
    std::uint8_t flagBits_;
    std::vector<std::uint8_t> incoming_;
    std::size_t expected_ = 0;  // 0: no length announced
    int fragments_ = 0;
    bool gathering_ = false;
    std::vector<std::uint8_t> outgoing_;
    std::size_t sent_ = 0;
};

}  // namespace rizorivu::dot1x
