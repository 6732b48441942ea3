#include "platform/FileSnapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace rizorivu {

namespace {

std::string readAll(int fd, std::size_t sizeHint, std::size_t limit) {
    std::string bytes;
    bytes.reserve(std::min(sizeHint, limit));
    char chunk[65536];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, limit - bytes.size()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
}

}  // namespace

std::optional<FileSnapshot> FileSnapshot::read(const std::filesystem::path& file,
                                               std::size_t limit) {
    const long long readStart = wallClockNs();
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return std::nullopt;
    }
    FileSnapshot snapshot;
    snapshot.identity_ = FileIdentity::of(st);
    snapshot.regular_ = S_ISREG(st.st_mode);
    if (snapshot.regular_) {
        snapshot.bytes_ = readAll(fd, static_cast<std::size_t>(st.st_size), limit);
        snapshot.settled_ = snapshot.identity_.settledAt(readStart);
    }
    ::close(fd);
    return snapshot;
}

}  // namespace rizorivu
