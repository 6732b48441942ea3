#include "platform/PrivateProfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>

namespace rizorivu {

namespace {

constexpr long long kNsPerSecond = 1'000'000'000;
// File timestamps come from the kernel's coarse clock (a tick of at most 10 ms), so two
// writes within one tick can carry the same times. A read this long after the last change
// cannot be followed by an invisible one.
constexpr long long kSettleNs = 50'000'000;
// Timestamps kept in whole hundredths of a second or coarser (FAT, exFAT, some network
// file systems) need a wider window.
constexpr long long kCoarseSettleNs = 2 * kNsPerSecond;
constexpr long long kCoarseGranularityNs = 10'000'000;

long long nanoseconds(const timespec& t) {
    return static_cast<long long>(t.tv_sec) * kNsPerSecond + t.tv_nsec;
}

long long nowNs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return nanoseconds(t);
}

template <typename Identity>
Identity identityOf(const struct stat& st) {
    Identity id;
    id.device = static_cast<unsigned long long>(st.st_dev);
    id.inode = static_cast<unsigned long long>(st.st_ino);
    id.size = static_cast<unsigned long long>(st.st_size);
    id.modifiedNs = nanoseconds(st.st_mtim);
    id.changedNs = nanoseconds(st.st_ctim);
    id.exists = true;
    return id;
}

template <typename Identity>
bool settledAt(const Identity& id, long long readStartNs) {
    const bool coarse =
        id.modifiedNs % kCoarseGranularityNs == 0 && id.changedNs % kCoarseGranularityNs == 0;
    const long long lastChange = std::max(id.modifiedNs, id.changedNs);
    return readStartNs - lastChange >= (coarse ? kCoarseSettleNs : kSettleNs);
}

// Reads at most `limit` bytes; a read error ends the text where it happened.
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

// Windows strips trailing blanks from the default before copying it.
std::string_view withoutTrailingBlanks(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string cut(std::string_view text, std::size_t bufferSize) {
    // The buffer holds bufferSize - 1 characters and the terminating NUL.
    return bufferSize == 0 ? std::string() : std::string(utf8Prefix(text, bufferSize - 1));
}

}  // namespace

PrivateProfile::PrivateProfile(const CodePage& ansi) : ansi_(ansi) {}

std::string PrivateProfile::getString(const std::filesystem::path& file, std::string_view section,
                                      std::string_view key, std::string_view defaultValue,
                                      std::size_t bufferSize) {
    const std::shared_ptr<const IniDocument> doc = document(file);
    if (const std::string* value = doc->find(section, key, folder_)) {
        return cut(*value, bufferSize);
    }
    return cut(withoutTrailingBlanks(defaultValue), bufferSize);
}

int PrivateProfile::getInt(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, int defaultValue) {
    const std::shared_ptr<const IniDocument> doc = document(file);
    const std::string* value = doc->find(section, key, folder_);
    if (value == nullptr || value->empty()) {
        return defaultValue;
    }
    // No sign is accepted (Windows gives 0 for negative numbers) and an overlong number
    // wraps around as the unsigned 32-bit value Windows returns.
    std::uint32_t number = 0;
    for (const char c : *value) {
        if (c < '0' || c > '9') {
            break;
        }
        number = number * 10u + static_cast<std::uint32_t>(c - '0');
    }
    return static_cast<int>(number);
}

std::shared_ptr<const IniDocument> PrivateProfile::document(const std::filesystem::path& file) {
    struct stat st {};
    const FileIdentity seen =
        ::stat(file.c_str(), &st) == 0 ? identityOf<FileIdentity>(st) : FileIdentity{};
    {
        std::lock_guard lock(mutex_);
        const auto it = cache_.find(file.native());
        if (it != cache_.end() && it->second.settled && it->second.identity == seen) {
            return it->second.document;
        }
    }
    // Parsing happens outside the lock so that lookups in other files go on meanwhile. Two
    // threads may load the same file at once; either result is a valid state of the file.
    CachedFile loaded = load(file, seen);
    std::shared_ptr<const IniDocument> doc = loaded.document;
    std::lock_guard lock(mutex_);
    cache_.insert_or_assign(file.native(), std::move(loaded));
    return doc;
}

PrivateProfile::CachedFile PrivateProfile::load(const std::filesystem::path& file,
                                                const FileIdentity& seen) const {
    CachedFile loaded;
    loaded.document = std::make_shared<const IniDocument>();
    loaded.settled = true;
    if (!seen.exists) {
        return loaded;
    }
    const long long readStart = nowNs();
    // Non-blocking, so that a FIFO in place of the file cannot stall the reader.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) {
            loaded.identity = seen;  // unreadable: empty until its identity changes
        }
        return loaded;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return loaded;
    }
    loaded.identity = identityOf<FileIdentity>(st);
    if (S_ISREG(st.st_mode)) {
        const std::string bytes =
            readAll(fd, static_cast<std::size_t>(st.st_size), IniDocument::kMaxBytes);
        loaded.document =
            std::make_shared<const IniDocument>(IniDocument::parse(bytes, ansi_, folder_));
        loaded.settled = settledAt(loaded.identity, readStart);
    }
    ::close(fd);
    return loaded;
}

}  // namespace rizorivu
