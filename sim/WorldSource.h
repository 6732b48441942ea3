#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "platform/CodePage.h"
#include "platform/FileIdentity.h"
#include "platform/Result.h"
#include "sim/World.h"

namespace rizorivu::sim {

// Where the simulated adapter's world comes from: the built-in text or a file that may be
// edited while the utility runs. Not synchronised; the adapter library calls it under its
// own lock.
class WorldSource {
public:
    static constexpr const char* kEnvironmentVariable = "RIZORIVU_WORLD";
    // A file is looked at no more often than this (clock time), and only on calls.
    static constexpr std::int64_t kCheckIntervalMs = 500;

    using Loaded = Result<std::unique_ptr<WorldSource>>;
    // The error text names the file and line of the first problem.
    static Loaded builtIn(CodePage ansi);
    static Loaded fromFile(const std::filesystem::path& file, CodePage ansi, std::int64_t nowMs);

    WorldSource(const WorldSource&) = delete;
    WorldSource& operator=(const WorldSource&) = delete;

    const std::shared_ptr<const World>& world() const { return world_; }
    // The code page the world's texts are converted with.
    const CodePage& codePage() const { return ansi_; }
    // Counts the worlds adopted so far, so that users can tell an edit happened.
    std::uint64_t generation() const { return generation_; }

    // Re-reads the file when its identity (or, shortly after a change, its content) moved.
    // True when an edited world replaced the current one. A broken edit, or a file that can
    // no longer be read, keeps the current world and is reported once on `diagnostics`.
    bool refresh(std::int64_t nowMs, std::ostream& diagnostics);

private:
    WorldSource(CodePage ansi, std::string label, std::optional<std::filesystem::path> file);
    // The file's bytes, or nothing when it cannot be read (errno says why).
    std::optional<std::string> readFile();

    CodePage ansi_;
    std::string label_;
    std::optional<std::filesystem::path> file_;
    std::shared_ptr<const World> world_;
    std::uint64_t generation_ = 1;
    std::int64_t lastCheckMs_ = 0;
    std::optional<FileIdentity> identity_;
    // Read long enough after its last change that a further change must show in the
    // identity; until then the content is compared on every check.
    bool settled_ = false;
    std::string lastBytes_;
    bool unreadableReported_ = false;
};

}  // namespace rizorivu::sim
