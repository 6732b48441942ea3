#pragma once

#include <filesystem>

namespace rizorivu {

// Files that hold secrets (the hives keep passphrases) are made private before anything is
// written to them.

// Creates `dir` and its missing ancestors with mode 0700. An existing folder is left as the
// user set it up. False with `err` set when it cannot be done.
bool ensurePrivateFolder(const std::filesystem::path& dir, int& err);

// Creates `path` empty with mode 0600 unless it exists. SQLite gives a database's -wal and
// -shm files the mode of the database, so they inherit it.
bool createPrivateFileIfMissing(const std::filesystem::path& path, int& err);

}  // namespace rizorivu
