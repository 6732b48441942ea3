#pragma once

#include <filesystem>
#include <optional>

struct stat;

namespace rizorivu {

// What tells one state of a file from another without reading it: device, inode, size and
// the modification and change times. Equal identities mean an unchanged file only once the
// file has settled (see `settledAt`), because timestamps advance in clock ticks.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    unsigned long long size = 0;
    long long modifiedNs = 0;
    long long changedNs = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;

    static FileIdentity of(const struct stat& st);
    // Nothing when the file cannot be looked at (missing, or a folder on the way is closed).
    static std::optional<FileIdentity> of(const std::filesystem::path& file);

    // Whether a read that started at `readStartNs` (wall clock) came long enough after the
    // file's last change that any later change must show in the identity.
    bool settledAt(long long readStartNs) const;
};

// The wall clock in nanoseconds, the scale of file timestamps.
long long wallClockNs();

}  // namespace rizorivu
