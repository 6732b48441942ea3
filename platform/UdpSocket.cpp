#include "platform/UdpSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace rizorivu {

namespace {

sockaddr_in toAddress(const UdpSocket::Peer& peer) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(peer.address);
    a.sin_port = htons(peer.port);
    return a;
}

}  // namespace

UdpSocket::~UdpSocket() {
    close();
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

std::optional<UdpSocket::Peer> UdpSocket::resolve(const std::string& host, std::uint16_t port) {
    in_addr address{};
    const std::string numeric = host == "localhost" ? "127.0.0.1" : host;
    if (port == 0 || inet_pton(AF_INET, numeric.c_str(), &address) != 1) {
        return std::nullopt;
    }
    return Peer{ntohl(address.s_addr), port};
}

bool UdpSocket::open() {
    close();
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    return fd_ >= 0;
}

void UdpSocket::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool UdpSocket::connect(const Peer& peer) {
    if (!open()) {
        return false;
    }
    const sockaddr_in a = toAddress(peer);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        close();
        return false;
    }
    return true;
}

bool UdpSocket::bindLocal(std::uint16_t port) {
    if (!open()) {
        return false;
    }
    const sockaddr_in a = toAddress(Peer{INADDR_LOOPBACK, port});
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        close();
        return false;
    }
    return true;
}

std::uint16_t UdpSocket::localPort() const {
    sockaddr_in a{};
    socklen_t size = sizeof a;
    if (fd_ < 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
        return 0;
    }
    return ntohs(a.sin_port);
}

bool UdpSocket::send(std::span<const std::uint8_t> bytes) {
    return fd_ >= 0 && ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
                           static_cast<ssize_t>(bytes.size());
}

bool UdpSocket::sendTo(const Peer& peer, std::span<const std::uint8_t> bytes) {
    const sockaddr_in a = toAddress(peer);
    return fd_ >= 0 && ::sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&a),
                                sizeof a) == static_cast<ssize_t>(bytes.size());
}

std::optional<UdpSocket::Datagram> UdpSocket::receive() {
    if (fd_ < 0) {
        return std::nullopt;
    }
    Datagram d;
    d.bytes.resize(kMaxDatagramBytes);
    sockaddr_in a{};
    socklen_t size = sizeof a;
    // A refused earlier send (nobody listens) surfaces here as an error: nothing arrived.
    const ssize_t n = ::recvfrom(fd_, d.bytes.data(), d.bytes.size(), MSG_DONTWAIT,
                                 reinterpret_cast<sockaddr*>(&a), &size);
    if (n < 0) {
        return std::nullopt;
    }
    d.bytes.resize(static_cast<std::size_t>(n));
    d.from = Peer{ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
    return d;
}

}  // namespace rizorivu
