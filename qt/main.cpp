// The rizorivu executable: start-up on a Qt window system.
#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "platform/ApplicationPaths.h"
#include "platform/CaptionRegistry.h"
#include "platform/Clock.h"
#include "platform/DisplayChoice.h"
#include "platform/Environment.h"
#include "qt/QtMainWindowRunner.h"
#include "qt/SystemDisplayProbe.h"

int main(int argc, char** argv) {
    using namespace rizorivu;

    const std::vector<std::string> rawArguments(argv + 1, argv + argc);
    const CommandLine commandLine = CommandLine::parse(rawArguments);
    // Help and version touch neither the registry nor the adapter nor the display.
    if (commandLine.printsOnly()) {
        std::cout << commandLine.printedText(RIZORIVU_VERSION);
        return 0;
    }

    const ProcessEnvironment environment;
    RealClock clock;
    const CaptionRegistry captions = CaptionRegistry::fromEnvironment(environment);
    qt::QtMainWindowRunner runner(captions, std::cerr);
    const StartupPlatform platform{environment, clock, captions, std::cerr};
    // An exit request only writes to the registry and the running instance: it needs no
    // window system, so it works from a terminal without a display as well.
    if (commandLine.exitRequested) {
        return runApplication(rawArguments, readModulePath(), platform, runner).exitCode;
    }
    // Qt aborts when the display it picks does not answer, so the display is chosen first.
    const DisplayChoice display =
        DisplayChoice::decide(environment, rawArguments, qt::SystemDisplayProbe());
    if (!display.available) {
        std::cerr << kNoDisplayMessage << '\n';
        return 1;
    }
    if (!display.platform.empty()) {
        ::setenv("QT_QPA_PLATFORM", display.platform.c_str(), 1);
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
