#include "platform/HiveRecovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace rizorivu {

namespace {

constexpr const char* kCompanionSuffixes[] = {"-wal", "-shm", "-journal"};

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// rename() that never replaces an existing file.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return -1;
    }
    // File systems without RENAME_NOREPLACE: a check first, racy but only against ourselves.
    if (exists(to)) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

}  // namespace

Result<std::string> moveHiveAside(const std::filesystem::path& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32] = {};
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path.string() + ".damaged-" + stamp;

    for (int n = 1; n < 1000; ++n) {
        const std::string aside = n == 1 ? base : base + "-" + std::to_string(n);
        bool taken = false;
        for (const char* suffix : kCompanionSuffixes) {
            taken = taken || exists(aside + suffix);
        }
        if (taken) {
            continue;
        }
        if (renameNoReplace(path.string(), aside) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            return Result<std::string>::failure(std::strerror(errno));
        }
        for (const char* suffix : kCompanionSuffixes) {
            const std::string companion = path.string() + suffix;
            if (exists(companion) && renameNoReplace(companion, aside + suffix) != 0) {
                return Result<std::string>::failure("moved it to " + aside + ", but not " +
                                                    companion + " (" + std::strerror(errno) + ")");
            }
        }
        return aside;
    }
    return Result<std::string>::failure("no free name beside it");
}

}  // namespace rizorivu
