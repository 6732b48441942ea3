#include "platform/PrivateFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace rizorivu {

bool ensurePrivateFolder(const std::filesystem::path& dir, int& err) {
    if (dir.empty()) {
        return true;
    }
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return true;
        }
        err = ENOTDIR;
        return false;
    }
    if (errno != ENOENT) {
        err = errno;
        return false;
    }
    if (dir.has_parent_path() && dir.parent_path() != dir &&
        !ensurePrivateFolder(dir.parent_path(), err)) {
        return false;
    }
    if (::mkdir(dir.c_str(), 0700) != 0) {
        if (errno == EEXIST) {
            return true;
        }
        err = errno;
        return false;
    }
    // The umask may have taken more than group and other bits away.
    ::chmod(dir.c_str(), 0700);
    return true;
}

bool createPrivateFileIfMissing(const std::filesystem::path& path, int& err) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST) {
            return true;
        }
        err = errno;
        return false;
    }
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
}

}  // namespace rizorivu
