#pragma once

#include <filesystem>

namespace rizorivu {

// Serialises the single-instance hand-over between processes of one user and registry: held
// from the moment a start looks for a running window until its own window can be found, so
// that two starts at the same moment never both become the running instance. An advisory
// file lock, released by the system if the process dies. Without a usable lock file the
// start goes on unlocked, as it would have before.
class StartupLock {
public:
    explicit StartupLock(const std::filesystem::path& file);
    ~StartupLock();
    StartupLock(const StartupLock&) = delete;
    StartupLock& operator=(const StartupLock&) = delete;

    bool held() const { return fd_ >= 0; }
    void release();

private:
    int fd_ = -1;
};

}  // namespace rizorivu
