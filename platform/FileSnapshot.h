#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/FileIdentity.h"

namespace rizorivu {

// A file read once, together with the identity it had while it was read, so that a later
// look at the identity can tell whether the bytes are still current.
class FileSnapshot {
public:
    // Reads at most `limit` bytes. Nothing when the file cannot be opened or looked at, with
    // errno saying why. Something that is not a regular file (a folder, a FIFO) gives a
    // snapshot without bytes; it is opened without blocking so that a FIFO cannot stall.
    static std::optional<FileSnapshot> read(const std::filesystem::path& file, std::size_t limit);

    const FileIdentity& identity() const { return identity_; }
    bool regular() const { return regular_; }
    // A read error ends the bytes where it happened.
    const std::string& bytes() const { return bytes_; }
    std::string takeBytes() { return std::move(bytes_); }
    // Read long enough after the file's last change that a later change must show in the
    // identity; until then the bytes must be compared to notice an edit.
    bool settled() const { return settled_; }

private:
    FileIdentity identity_;
    bool regular_ = false;
    std::string bytes_;
    bool settled_ = true;
};

}  // namespace rizorivu
