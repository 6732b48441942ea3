#include "platform/HiveRecovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <tuple>
#include <vector>

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

// A moved-aside copy and where it stands in time: its stamp, then its number within the second.
struct Copy {
    std::string stamp;
    int number = 1;
    std::filesystem::path path;
};

// The copy `name` stands for, if it is one of `hiveName`'s (not a companion, not another file).
std::optional<Copy> copyOf(const std::string& hiveName, const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    const std::string prefix = hiveName + ".damaged-";
    constexpr std::size_t kStampLength = 15;  // YYYYmmdd-HHMMSS
    if (!name.starts_with(prefix) || name.size() < prefix.size() + kStampLength) {
        return std::nullopt;
    }
    Copy copy{name.substr(prefix.size(), kStampLength), 1, path};
    const std::string rest = name.substr(prefix.size() + kStampLength);
    if (!rest.empty()) {
        if (rest.size() < 2 || rest[0] != '-' ||
            rest.find_first_not_of("0123456789", 1) != std::string::npos || rest.size() > 4) {
            return std::nullopt;  // a companion ("-wal") or a name of someone else's
        }
        copy.number = std::stoi(rest.substr(1));
    }
    return copy;
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

void pruneDamagedCopies(const std::filesystem::path& path, std::size_t keep) {
    std::error_code error;
    std::vector<Copy> copies;
    const std::string hiveName = path.filename().string();
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path(), error)) {
        if (std::optional<Copy> copy = copyOf(hiveName, entry.path())) {
            copies.push_back(std::move(*copy));
        }
    }
    if (copies.size() <= keep) {
        return;
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return std::tie(a.stamp, a.number) > std::tie(b.stamp, b.number);
    });
    for (std::size_t i = keep; i < copies.size(); ++i) {
        std::filesystem::remove(copies[i].path, error);
        for (const char* suffix : kCompanionSuffixes) {
            std::filesystem::remove(copies[i].path.string() + suffix, error);
        }
    }
}

}  // namespace rizorivu
