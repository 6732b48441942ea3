#include "platform/CaptionRegistry.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/RegistryStore.h"

namespace rizorivu {

namespace {

std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string hex(std::uint64_t value) {
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
    return buffer;
}

// Fills an abstract socket address (a leading NUL, no terminator) and answers its length.
socklen_t abstractAddress(std::string_view name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

void sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // the asker went away or does not read; it will time out
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool peerIsThisUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == geteuid();
}

// Waits up to the answer timeout for one byte on `fd`; nothing when none comes.
std::optional<char> readByte(int fd) {
    pollfd pfd{fd, POLLIN, 0};
    for (;;) {
        const int ready = poll(&pfd, 1, CaptionRegistry::kAnswerTimeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        char byte = 0;
        const ssize_t n = recv(fd, &byte, 1, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n == 1 ? std::optional<char>(byte) : std::nullopt;
    }
}

constexpr char kAcknowledged = 'K';

// One request from a later start: taken only from this user, acknowledged once handled.
void takeRequest(int listenFd, const CaptionRegistry::RequestHandler& onRequest) {
    const int connection = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
        return;
    }
    if (peerIsThisUser(connection)) {
        const std::optional<char> byte = readByte(connection);
        if (byte && (*byte == static_cast<char>(CaptionRegistry::Request::Exit) ||
                     *byte == static_cast<char>(CaptionRegistry::Request::WakeUp))) {
            onRequest(static_cast<CaptionRegistry::Request>(*byte));
            sendAll(connection, std::string_view(&kAcknowledged, 1));
        }
    }
    ::close(connection);
}

void answerConnections(std::string caption, int listenFd, int requestFd, int stopFd,
                       CaptionRegistry::RequestHandler onRequest) {
    // A negative descriptor is skipped by poll: a publication without requests.
    pollfd fds[3] = {{listenFd, POLLIN, 0}, {stopFd, POLLIN, 0}, {requestFd, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if ((fds[2].revents & POLLIN) != 0) {
            takeRequest(requestFd, onRequest);
        } else if (fds[2].revents != 0) {
            fds[2].fd = -1;  // the request socket failed; captions are still answered
        }
        if ((fds[0].revents & POLLIN) != 0) {
            const int connection = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                // Other users learn nothing, not even the caption.
                if (peerIsThisUser(connection)) {
                    sendAll(connection, caption);
                }
                ::close(connection);
            }
        } else if (fds[0].revents != 0) {
            return;  // the listening socket failed; nothing more can be answered
        }
    }
}

// Reads the caption a publisher answers with, up to one byte more than any caption may have;
// nothing when it does not answer in time.
std::optional<std::string> readAnswer(int fd) {
    using Steady = std::chrono::steady_clock;
    const auto deadline =
        Steady::now() + std::chrono::milliseconds(CaptionRegistry::kAnswerTimeoutMs);
    std::string answer;
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd pfd{fd, POLLIN, 0};
        const int ready = poll(&pfd, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            return answer;
        }
        answer.append(buffer, static_cast<std::size_t>(n));
        if (answer.size() > CaptionRegistry::kMaxCaption) {
            return answer;  // longer than any caption: cannot match
        }
    }
}

class Socket {
public:
    Socket() : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    // No socket yet; `adopt` may give it one.
    static Socket none() { return Socket(-1); }
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    // Takes over `other`'s descriptor, closing its own.
    void adopt(Socket& other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.release();
    }

private:
    explicit Socket(int fd) : fd_(fd) {}

    int fd_;
};

}  // namespace

CaptionRegistry::Publication::Publication(std::string caption, int listenFd, int requestFd,
                                          int stopFd, RequestHandler onRequest)
    : caption_(std::move(caption)),
      listenFd_(listenFd),
      requestFd_(requestFd),
      stopFd_(stopFd),
      answerer_(answerConnections, caption_, listenFd, requestFd, stopFd, std::move(onRequest)) {}

CaptionRegistry::Publication::Publication(Publication&& other) noexcept
    : caption_(std::move(other.caption_)),
      listenFd_(std::exchange(other.listenFd_, -1)),
      requestFd_(std::exchange(other.requestFd_, -1)),
      stopFd_(std::exchange(other.stopFd_, -1)),
      answerer_(std::move(other.answerer_)) {}

CaptionRegistry::Publication& CaptionRegistry::Publication::operator=(
    Publication&& other) noexcept {
    if (this != &other) {
        close();
        caption_ = std::move(other.caption_);
        listenFd_ = std::exchange(other.listenFd_, -1);
        requestFd_ = std::exchange(other.requestFd_, -1);
        stopFd_ = std::exchange(other.stopFd_, -1);
        answerer_ = std::move(other.answerer_);
    }
    return *this;
}

CaptionRegistry::Publication::~Publication() {
    close();
}

void CaptionRegistry::Publication::close() {
    if (answerer_.joinable()) {
        const std::uint64_t one = 1;
        while (write(stopFd_, &one, sizeof one) < 0 && errno == EINTR) {
        }
        answerer_.join();
    }
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
    if (requestFd_ >= 0) {
        ::close(requestFd_);
        requestFd_ = -1;
    }
    if (stopFd_ >= 0) {
        ::close(stopFd_);
        stopFd_ = -1;
    }
}

CaptionRegistry::CaptionRegistry(std::string_view nameSpace) {
    prefix_ = "rizorivu-caption/" + std::to_string(geteuid()) + "/" + hex(fnv1a(nameSpace)) + "/";
}

CaptionRegistry CaptionRegistry::fromEnvironment(const Environment& env) {
    const std::optional<std::string> dir = env.get(HiveLocations::kEnvironmentVariable);
    if (!dir || dir->empty()) {
        return CaptionRegistry();
    }
    // Spellings of one folder ("reg", "./reg/", a link to it) are one namespace, as they are
    // one registry.
    std::error_code error;
    std::string folder = std::filesystem::weakly_canonical(*dir, error).string();
    if (error) {
        folder = *dir;
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return CaptionRegistry(folder);
}

std::string CaptionRegistry::socketName(std::string_view caption, int slot) const {
    return prefix_ + hex(fnv1a(caption)) + "/" + std::to_string(slot);
}

std::string CaptionRegistry::requestSocketName(int slot) const {
    return prefix_ + "requests/" + std::to_string(slot);
}

namespace {

enum class Bound { Listening, Taken, Failed };

// Binds `listener` to the abstract `name` and makes it listen.
Bound listenAt(Socket& listener, const std::string& name) {
    if (listener.fd() < 0) {
        return Bound::Failed;
    }
    sockaddr_un address;
    const socklen_t length = abstractAddress(name, address);
    if (bind(listener.fd(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        return errno == EADDRINUSE ? Bound::Taken : Bound::Failed;
    }
    // Non-blocking, so that an asker gone between poll and accept cannot stall the answering
    // thread.
    if (listen(listener.fd(), CaptionRegistry::kSlots) != 0 ||
        fcntl(listener.fd(), F_SETFL, O_NONBLOCK) != 0) {
        return Bound::Failed;
    }
    return Bound::Listening;
}

}  // namespace

std::optional<CaptionRegistry::Publication> CaptionRegistry::publish(
    std::string_view caption, RequestHandler onRequest) const {
    if (caption.size() > kMaxCaption) {
        return std::nullopt;
    }
    Socket requests = Socket::none();
    if (onRequest) {
        Bound bound = Bound::Taken;
        for (int slot = 0; slot < kSlots && bound == Bound::Taken; ++slot) {
            Socket candidate;
            bound = listenAt(candidate, requestSocketName(slot));
            if (bound == Bound::Listening) {
                requests.adopt(candidate);
            }
        }
        if (bound != Bound::Listening) {
            return std::nullopt;
        }
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        Socket listener;
        const Bound bound = listenAt(listener, socketName(caption, slot));
        if (bound == Bound::Taken) {
            continue;  // another live window, or a caption with the same hash
        }
        if (bound == Bound::Failed) {
            return std::nullopt;
        }
        const int stopFd = eventfd(0, EFD_CLOEXEC);
        if (stopFd < 0) {
            return std::nullopt;
        }
        return Publication(std::string(caption), listener.release(), requests.release(), stopFd,
                           std::move(onRequest));
    }
    return std::nullopt;
}

int CaptionRegistry::request(Request request) const {
    int taken = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
        Socket asker;
        if (asker.fd() < 0) {
            return taken;
        }
        sockaddr_un address;
        const socklen_t length = abstractAddress(requestSocketName(slot), address);
        if (connect(asker.fd(), reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
            !peerIsThisUser(asker.fd())) {
            continue;
        }
        const char byte = static_cast<char>(request);
        sendAll(asker.fd(), std::string_view(&byte, 1));
        if (readByte(asker.fd()) == kAcknowledged) {
            ++taken;
        }
    }
    return taken;
}

bool CaptionRegistry::find(std::string_view caption) const {
    for (int slot = 0; slot < kSlots; ++slot) {
        Socket asker;
        if (asker.fd() < 0) {
            return false;
        }
        sockaddr_un address;
        const socklen_t length = abstractAddress(socketName(caption, slot), address);
        if (connect(asker.fd(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
            continue;  // nobody listens here (a gap left by a window that has gone)
        }
        if (!peerIsThisUser(asker.fd())) {
            continue;  // another user's socket under our name is never our window
        }
        const std::optional<std::string> answer = readAnswer(asker.fd());
        if (answer && *answer == caption) {
            return true;
        }
    }
    return false;
}

}  // namespace rizorivu
