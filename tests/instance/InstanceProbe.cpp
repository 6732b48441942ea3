// A stand-in for the utility's executable in real-process tests: the real start-up, with a main
// window that needs no window system. While it runs it publishes its caption and answers the
// single-instance requests on its status period as the main window's tick does, and it appends
// one line per event to the file that RIZORIVU_PROBE_LOG names: "<pid> <event>".

#include <fcntl.h>
#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Session.h"
#include "app/Startup.h"
#include "platform/ApplicationPaths.h"
#include "platform/CaptionRegistry.h"
#include "platform/Clock.h"
#include "platform/Environment.h"

namespace rizorivu {
namespace {

class EventLog {
public:
    explicit EventLog(std::optional<std::string> file) : file_(std::move(file)) {}

    // One write per line, appended, so that lines of several processes never interleave.
    void write(std::string_view event) const {
        if (!file_) {
            return;
        }
        const int fd = open(file_->c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            return;
        }
        const std::string line = std::to_string(getpid()) + " " + std::string(event) + "\n";
        [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
        close(fd);
    }

private:
    std::optional<std::string> file_;
};

class HeadlessMainWindow final : public MainWindowRunner {
public:
    HeadlessMainWindow(const CaptionRegistry& captions, Clock& clock, const EventLog& log)
        : captions_(captions), clock_(clock), log_(log) {}

    int run(Session& session, const StartupTexts&,
            const std::function<void()>& windowFindable) override {
        const std::string title = session.text.text("MP_Dialog_Title", "Nimbo K-540 Utility");
        const ApplicationKey& key = session.settings.appKey;
        const auto caption = captions_.publish(mainWindowCaption(title), recordRequestsIn(key));
        windowFindable();
        log_.write(caption ? "running " + title : "unpublished " + title);
        for (;;) {
            clock_.sleepMs(session.configuration.mainPageUpdateTimeMs);
            // The exit request wins over a wake-up request on the same tick.
            if (key.readDword("", InstanceValues::kExit).value_or(0) == 1) {
                key.writeDword("", InstanceValues::kExit, 0);
                log_.write("exit");
                return 0;
            }
            if (key.readDword("", InstanceValues::kWakeUp).value_or(0) == 1) {
                key.writeDword("", InstanceValues::kWakeUp, 0);
                log_.write("woken");
            }
        }
    }

private:
    const CaptionRegistry& captions_;
    Clock& clock_;
    const EventLog& log_;
};

std::string_view outcomeName(StartupOutcome outcome) {
    switch (outcome) {
        case StartupOutcome::ExitRequested:
            return "exit-requested";
        case StartupOutcome::WokeRunning:
            return "woke-running";
        case StartupOutcome::Ran:
            return "ran";
        case StartupOutcome::Failed:
            return "failed";
    }
    return "unknown";
}

int probeMain(int argc, char** argv) {
    ProcessEnvironment environment;
    RealClock clock;
    const CaptionRegistry captions = CaptionRegistry::fromEnvironment(environment);
    const EventLog log(environment.get("RIZORIVU_PROBE_LOG"));
    HeadlessMainWindow window(captions, clock, log);
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const StartupResult result =
        runApplication(arguments, readModulePath(),
                       StartupPlatform{environment, clock, captions, std::cerr}, window);
    log.write("end " + std::string(outcomeName(result.outcome)));
    return result.exitCode;
}

}  // namespace
}  // namespace rizorivu

int main(int argc, char** argv) {
    return rizorivu::probeMain(argc, argv);
}
