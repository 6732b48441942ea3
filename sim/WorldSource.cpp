#include "sim/WorldSource.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "platform/FileSnapshot.h"
#include "platform/IniLineReader.h"
#include "sim/DefaultWorld.h"
#include "sim/WorldParser.h"

namespace rizorivu::sim {

WorldSource::WorldSource(CodePage ansi, std::string label,
                         std::optional<std::filesystem::path> file)
    : ansi_(std::move(ansi)), label_(std::move(label)), file_(std::move(file)) {}

WorldSource::Loaded WorldSource::builtIn(CodePage ansi) {
    std::unique_ptr<WorldSource> source(
        new WorldSource(std::move(ansi), std::string(kDefaultWorldLabel), std::nullopt));
    auto parsed = parseWorld(defaultWorldText(), kDefaultWorldLabel, source->ansi_);
    if (!parsed.ok()) {
        return Loaded::failure(parsed.error().text());
    }
    source->world_ = std::make_shared<const World>(std::move(parsed).value());
    return source;
}

WorldSource::Loaded WorldSource::fromFile(const std::filesystem::path& file, CodePage ansi,
                                          std::int64_t nowMs) {
    std::unique_ptr<WorldSource> source(new WorldSource(std::move(ansi), file.string(), file));
    const std::optional<std::string> bytes = source->readFile();
    if (!bytes) {
        return Loaded::failure(file.string() + ": cannot read the world file (" +
                               std::strerror(errno) + ")");
    }
    auto parsed = parseWorld(*bytes, source->label_, source->ansi_);
    if (!parsed.ok()) {
        return Loaded::failure(parsed.error().text());
    }
    source->world_ = std::make_shared<const World>(std::move(parsed).value());
    source->lastBytes_ = *bytes;
    source->lastCheckMs_ = nowMs;
    return source;
}

std::optional<std::string> WorldSource::readFile() {
    std::optional<FileSnapshot> snapshot = FileSnapshot::read(*file_, IniLineReader::kMaxBytes);
    if (!snapshot) {
        return std::nullopt;
    }
    if (!snapshot->regular()) {
        errno = EINVAL;
        return std::nullopt;
    }
    settled_ = snapshot->settled();
    identity_ = snapshot->identity();
    return snapshot->takeBytes();
}

bool WorldSource::refresh(std::int64_t nowMs, std::ostream& diagnostics) {
    if (!file_ || nowMs - lastCheckMs_ < kCheckIntervalMs) {
        return false;
    }
    lastCheckMs_ = nowMs;
    if (identity_ && settled_ && FileIdentity::of(*file_) == identity_) {
        return false;
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
    auto parsed = parseWorld(*bytes, label_, ansi_);
    if (!parsed.ok()) {
        // Each broken content is parsed once, so each is reported once.
        diagnostics << "Simulated adapter: " << parsed.error().text()
                    << "; keeping the last good world\n";
        return false;
    }
    world_ = std::make_shared<const World>(std::move(parsed).value());
    ++generation_;
    return true;
}

}  // namespace rizorivu::sim
