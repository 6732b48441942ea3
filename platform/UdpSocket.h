#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rizorivu {

// A non-blocking IPv4 UDP socket. A client connects it to one peer and then only sends and
// receives; a test server binds it to a local port and answers whoever wrote. Nothing here
// ever waits: a receive with nothing queued answers empty. Host names are IPv4 dotted quads
// or "localhost" only, because a name lookup could block the caller.
class UdpSocket {
public:
    static constexpr std::size_t kMaxDatagramBytes = 4096;

    struct Peer {
        std::uint32_t address = 0;  // host byte order
        std::uint16_t port = 0;
    };
    struct Datagram {
        std::vector<std::uint8_t> bytes;
        Peer from;
    };

    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(UdpSocket&& other) noexcept;
    UdpSocket& operator=(UdpSocket&& other) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    static std::optional<Peer> resolve(const std::string& host, std::uint16_t port);

    bool connect(const Peer& peer);
    // Binds to `port` on 127.0.0.1 (0: any free port).
    bool bindLocal(std::uint16_t port = 0);
    std::uint16_t localPort() const;
    bool isOpen() const { return fd_ >= 0; }

    bool send(std::span<const std::uint8_t> bytes);
    bool sendTo(const Peer& peer, std::span<const std::uint8_t> bytes);
    // The next datagram queued, if any; longer ones are cut at kMaxDatagramBytes.
    std::optional<Datagram> receive();

private:
    bool open();
    void close();

    int fd_ = -1;
};

}  // namespace rizorivu
