#pragma once

#include <cstddef>
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

// How many damaged copies of one hive are kept: enough to look at a recent failure, few
// enough that a hive damaged at every start does not fill the folder.
inline constexpr std::size_t kKeptDamagedCopies = 3;

// Deletes all but the `keep` newest copies that moveHiveAside made of the hive at `path`,
// companions included.
void pruneDamagedCopies(const std::filesystem::path& path, std::size_t keep);

}  // namespace rizorivu
