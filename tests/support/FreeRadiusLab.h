#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "tests/support/TempDir.h"

namespace rizorivu::testing {

// A private FreeRADIUS for one test: tools/radius/lab.sh writes its configuration and
// certificates into a temporary folder, and start() runs it in the foreground on a free
// local port until it reports that it is ready. It is stopped by its process id when the
// lab goes (killed if it does not end). Its log stays in the folder, never in test output,
// since it may name secrets.
class FreeRadiusLab {
public:
    struct Options {
        std::string secret = "lab-test-secret";
        // Lines appended to the server's users file before it starts.
        std::string extraUsers;
    };

    FreeRadiusLab() : FreeRadiusLab(Options{}) {}
    explicit FreeRadiusLab(Options options);
    ~FreeRadiusLab();
    FreeRadiusLab(const FreeRadiusLab&) = delete;
    FreeRadiusLab& operator=(const FreeRadiusLab&) = delete;

    // Whether the server can be run here at all (the package is installed).
    static bool installed();
    // A UDP port on 127.0.0.1 that nobody listens on right now.
    static std::uint16_t freePort();

    // Writes the configuration, starts the server and waits until it is ready; false (the
    // server stopped, failure() telling why) when it is not ready within `timeout`.
    bool start(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    void stop();
    bool running() const { return pid_ > 0; }

    std::uint16_t port() const { return port_; }
    const std::string& secret() const { return options_.secret; }
    const std::filesystem::path& dir() const { return dir_.path(); }
    // A file the lab wrote under certs/: ca.pem, server.pem, student.pem, student.key,
    // student.p12, untrusted-ca.pem, untrusted-student.pem, untrusted-student.key, ...
    std::filesystem::path certificate(std::string_view name) const;
    const std::string& failure() const { return failure_; }
    // Milliseconds from start() to the server's ready line.
    std::int64_t readyAfterMs() const { return readyAfterMs_; }

private:
    bool setup();

    Options options_;
    TempDir dir_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
    std::string failure_;
    std::int64_t readyAfterMs_ = 0;
};

}  // namespace rizorivu::testing
