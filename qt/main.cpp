// The rizorivu executable: start-up on a Qt window system.
#include <QApplication>
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "platform/ApplicationPaths.h"
#include "platform/CaptionRegistry.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "qt/DisplayCheck.h"
#include "qt/QtMainWindowRunner.h"

int main(int argc, char** argv) {
    using namespace rizorivu;

    const ProcessEnvironment environment;
    const std::vector<std::string> rawArguments(argv + 1, argv + argc);
    RealClock clock;
    const CaptionRegistry captions = CaptionRegistry::fromEnvironment(environment);
    qt::QtMainWindowRunner runner(captions);
    const StartupPlatform platform{environment, clock, captions, std::cerr};
    // An exit request only writes to the registry and the running instance: it needs no
    // window system, so it works from a terminal without a display as well.
    if (CommandLine::parse(rawArguments).exitRequested) {
        return runApplication(rawArguments, readModulePath(), platform, runner).exitCode;
    }
    if (!qt::displayAvailable(environment, rawArguments)) {
        std::cerr << qt::kNoDisplayMessage << '\n';
        return 1;
    }

    QApplication application(argc, argv);
    // Qt has set the C library's locale from the environment; numbers in the utility's texts
    // keep a '.' whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    // The main window spends most of its life hidden; only the end of its run ends the process.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt has taken its own options out of argv.
    const std::vector<std::string> arguments(argv + 1, argv + argc);

    return runApplication(arguments, readModulePath(), platform, runner).exitCode;
}
