#include "platform/FileIdentity.h"

#include <sys/stat.h>
#include <algorithm>
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

}  // namespace

FileIdentity FileIdentity::of(const struct stat& st) {
    return FileIdentity{static_cast<unsigned long long>(st.st_dev),
                        static_cast<unsigned long long>(st.st_ino),
                        static_cast<unsigned long long>(st.st_size), nanoseconds(st.st_mtim),
                        nanoseconds(st.st_ctim)};
}

std::optional<FileIdentity> FileIdentity::of(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return of(st);
}

bool FileIdentity::settledAt(long long readStartNs) const {
    const bool coarse =
        modifiedNs % kCoarseGranularityNs == 0 && changedNs % kCoarseGranularityNs == 0;
    const long long lastChange = std::max(modifiedNs, changedNs);
    return readStartNs - lastChange >= (coarse ? kCoarseSettleNs : kSettleNs);
}

long long wallClockNs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return nanoseconds(t);
}

}  // namespace rizorivu
