#include "sim/WorldSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <ostream>

#include "platform/IniDocument.h"
#include "sim/DefaultWorld.h"
#include "sim/WorldParser.h"

namespace rizorivu::sim {

namespace {

constexpr long long kNsPerSecond = 1'000'000'000;
// File timestamps advance in kernel ticks (at most 10 ms), or in hundredths of a second and
// coarser on some file systems; a read this long after a change cannot miss a later one.
constexpr long long kSettleNs = 50'000'000;
constexpr long long kCoarseSettleNs = 2 * kNsPerSecond;
constexpr long long kCoarseGranularityNs = 10'000'000;

long long nanoseconds(const timespec& t) {
    return static_cast<long long>(t.tv_sec) * kNsPerSecond + t.tv_nsec;
}

long long wallNowNs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return nanoseconds(t);
}

std::string readAll(int fd) {
    std::string bytes;
    char chunk[16384];
    while (bytes.size() < IniDocument::kMaxBytes) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
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

WorldSource::WorldSource(CodePage ansi, std::string label,
                         std::optional<std::filesystem::path> file)
    : ansi_(std::move(ansi)), label_(std::move(label)), file_(std::move(file)) {}

WorldSource::Loaded WorldSource::builtIn(CodePage ansi) {
    std::unique_ptr<WorldSource> source(
        new WorldSource(std::move(ansi), std::string(kDefaultWorldLabel), std::nullopt));
    WorldParseResult parsed = parseWorld(defaultWorldText(), kDefaultWorldLabel, source->ansi_);
    if (const auto* error = std::get_if<WorldError>(&parsed)) {
        return error->text();
    }
    source->world_ = std::make_shared<const World>(std::move(std::get<World>(parsed)));
    return source;
}

WorldSource::Loaded WorldSource::fromFile(const std::filesystem::path& file, CodePage ansi,
                                          std::int64_t nowMs) {
    std::unique_ptr<WorldSource> source(new WorldSource(std::move(ansi), file.string(), file));
    const std::optional<std::string> bytes = source->readFile();
    if (!bytes) {
        return file.string() + ": cannot read the world file (" + std::strerror(errno) + ")";
    }
    WorldParseResult parsed = parseWorld(*bytes, source->label_, source->ansi_);
    if (const auto* error = std::get_if<WorldError>(&parsed)) {
        return error->text();
    }
    source->world_ = std::make_shared<const World>(std::move(std::get<World>(parsed)));
    source->lastBytes_ = *bytes;
    source->lastCheckMs_ = nowMs;
    return source;
}

std::optional<std::string> WorldSource::readFile() {
    const long long readStart = wallNowNs();
    // Non-blocking, so that a FIFO in place of the file cannot stall the adapter.
    const int fd = ::open(file_->c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return std::nullopt;
    }
    std::string bytes = readAll(fd);
    ::close(fd);
    Identity id{static_cast<unsigned long long>(st.st_dev),
                static_cast<unsigned long long>(st.st_ino),
                static_cast<unsigned long long>(st.st_size), nanoseconds(st.st_mtim),
                nanoseconds(st.st_ctim)};
    const bool coarse =
        id.modifiedNs % kCoarseGranularityNs == 0 && id.changedNs % kCoarseGranularityNs == 0;
    settled_ =
        readStart - std::max(id.modifiedNs, id.changedNs) >= (coarse ? kCoarseSettleNs : kSettleNs);
    identity_ = id;
    return bytes;
}

bool WorldSource::refresh(std::int64_t nowMs, std::ostream& diagnostics) {
    if (!file_ || nowMs - lastCheckMs_ < kCheckIntervalMs) {
        return false;
    }
    lastCheckMs_ = nowMs;
    struct stat st {};
    if (::stat(file_->c_str(), &st) == 0 && identity_ && settled_) {
        const Identity seen{static_cast<unsigned long long>(st.st_dev),
                            static_cast<unsigned long long>(st.st_ino),
                            static_cast<unsigned long long>(st.st_size), nanoseconds(st.st_mtim),
                            nanoseconds(st.st_ctim)};
        if (seen == *identity_) {
            return false;
        }
    }
    const std::optional<std::string> bytes = readFile();
    if (!bytes) {
        identity_.reset();
        if (!unreadableReported_) {
            unreadableReported_ = true;
            diagnostics << "Simulated adapter: " << label_
                        << ": cannot read the world file; keeping the last good world\n";
        }
        return false;
    }
    unreadableReported_ = false;
    if (*bytes == lastBytes_) {
        return false;
    }
    lastBytes_ = *bytes;
    WorldParseResult parsed = parseWorld(*bytes, label_, ansi_);
    if (const auto* error = std::get_if<WorldError>(&parsed)) {
        // Each broken content is parsed once, so each is reported once.
        diagnostics << "Simulated adapter: " << error->text() << "; keeping the last good world\n";
        return false;
    }
    world_ = std::make_shared<const World>(std::move(std::get<World>(parsed)));
    ++generation_;
    return true;
}

}  // namespace rizorivu::sim
