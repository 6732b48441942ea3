#include "tests/support/FreeRadiusLab.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/UdpSocket.h"

extern char** environ;

namespace rizorivu::testing {

namespace {

constexpr std::string_view kReadyLine = "Ready to process requests";

pid_t spawn(const std::vector<std::string>& args, const std::filesystem::path& output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

FreeRadiusLab::FreeRadiusLab(Options options) : options_(std::move(options)) {}

FreeRadiusLab::~FreeRadiusLab() {
    stop();
}

bool FreeRadiusLab::installed() {
    return access("/usr/sbin/freeradius", X_OK) == 0 && access("/usr/bin/openssl", X_OK) == 0;
}

std::uint16_t FreeRadiusLab::freePort() {
    UdpSocket probe;
    return probe.bindLocal(0) ? probe.localPort() : 0;
}

std::filesystem::path FreeRadiusLab::certificate(std::string_view name) const {
    return dir_.path() / "lab" / "certs" / name;
}

bool FreeRadiusLab::setup() {
    port_ = freePort();
    const std::filesystem::path lab = dir_.path() / "lab";
    const pid_t pid = spawn({"/bin/bash", RIZORIVU_LAB_SCRIPT, "setup", lab.string(),
                             std::to_string(port_), options_.secret},
                            dir_.path() / "setup.log");
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        failure_ = "the lab's configuration could not be written (see setup.log)";
        return false;
    }
    if (!options_.extraUsers.empty()) {
        std::ofstream users(lab / "users", std::ios::app);
        users << options_.extraUsers << '\n';
    }
    return true;
}

bool FreeRadiusLab::start(std::chrono::milliseconds timeout) {
    const auto begin = std::chrono::steady_clock::now();
    if (running()) {
        return true;
    }
    if (!installed()) {
        failure_ = "FreeRADIUS is not installed";
        return false;
    }
    if (!setup()) {
        return false;
    }
    const std::filesystem::path log = dir_.path() / "server.log";
    pid_ = spawn({"/bin/bash", RIZORIVU_LAB_SCRIPT, "run", (dir_.path() / "lab").string()}, log);
    if (pid_ < 0) {
        failure_ = "the server could not be started";
        return false;
    }
    while (std::chrono::steady_clock::now() - begin < timeout) {
        if (readAll(log).find(kReadyLine) != std::string::npos) {
            readyAfterMs_ = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - begin)
                                .count();
            return true;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            failure_ = "the server ended before it was ready (see server.log in the lab)";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stop();
    failure_ = "the server was not ready in time";
    return false;
}

void FreeRadiusLab::stop() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    for (int i = 0; i < 150; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace rizorivu::testing
