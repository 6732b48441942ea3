#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/MainWindowRunner.h"
#include "platform/CaptionRegistry.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "settings/ApplicationKey.h"
#include "settings/InstanceValues.h"

namespace rizorivu {

// The main window's caption for a title: the title followed by two blanks. A later start finds
// the running instance by exactly this caption.
std::string mainWindowCaption(std::string_view title);

// The running instance's side of requests that come through the caption table: each is
// recorded in the application key, where the main window's status tick takes it as it takes
// one a later start wrote there. `key` must outlive the publication that uses the handler.
CaptionRegistry::RequestHandler recordRequestsIn(const ApplicationKey& key);

// How start-up ended.
enum class StartupOutcome {
    ExitRequested,  // the EXIT switch: a close request was written, nothing else done
    WokeRunning,    // a running instance was found and asked to show its window
    Ran,            // this process was the running instance until its main window ended
    Failed,         // the utility could not start (reported on the diagnostics stream)
};

struct StartupResult {
    StartupOutcome outcome = StartupOutcome::Failed;
    int exitCode = 1;
};

// What start-up takes from the platform.
struct StartupPlatform {
    const Environment& environment;
    Clock& clock;
    const CaptionRegistry& captions;
    std::ostream& diagnostics;
};

// The utility's entry: reads the configuration and language, settles the hand-over with a
// running instance and, when this process is to be the running instance, runs the main window
// through `runner`. Returns when the process is to end; no message loop is to follow.
// `arguments` excludes the program name; `modulePath` is the executable's own path.
StartupResult runApplication(std::span<const std::string> arguments,
                             const std::optional<std::string>& modulePath,
                             const StartupPlatform& platform, MainWindowRunner& runner);

}  // namespace rizorivu
