#pragma once

#include <filesystem>
#include <string>

#include "platform/Result.h"

namespace rizorivu {

// Moves a damaged hive and its companions (-wal, -shm, -journal) to
// "<name>.damaged-<local time>[-n]", keeping them together under one name so that SQLite
// could still open the copy. The companions must go too: a fresh hive at the old path would
// otherwise adopt the old log. Never replaces an existing file. Gives the new path, or why
// the move failed.
Result<std::string> moveHiveAside(const std::filesystem::path& path);

}  // namespace rizorivu
