#include "app/Startup.h"

#include "platform/StartupLock.h"

#include <memory>
#include <ostream>
#include <variant>

#include "app/CommandLine.h"
#include "app/Session.h"
#include "dot1x/SoftwareDot1xLibrary.h"
#include "platform/ApplicationPaths.h"
#include "platform/CodePage.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryStore.h"
#include "platform/UserFolders.h"
#include "settings/Configuration.h"
#include "sim/SimulatedAdapterFactory.h"
#include "wpa/WpaDetachment.h"
#include "wpa/WpaWorker.h"

namespace rizorivu {

namespace {

constexpr std::string_view kDefaultTitle = "Nimbo K-540 Utility";
constexpr std::string_view kLanguageList = "LANGUAGES";
// Long enough for a running instance to see an exit request on its status timer before this
// start clears it again.
constexpr std::int64_t kHandOverPauseMs = 2000;

std::string_view valueOf(CaptionRegistry::Request request) {
    return request == CaptionRegistry::Request::Exit ? InstanceValues::kExit
                                                     : InstanceValues::kWakeUp;
}

// Leaves `request` for the running instance both ways: in the registry, and through the caption
// table, which reaches it even when either registry lives in memory. Answers how many running
// instances acknowledged it.
int requestOfRunningInstance(const ApplicationKey& key, const CaptionRegistry& captions,
                             CaptionRegistry::Request request) {
    key.writeDword("", valueOf(request), 1);
    return captions.request(request);
}

}  // namespace

CaptionRegistry::RequestHandler recordRequestsIn(const ApplicationKey& key) {
    return [&key](CaptionRegistry::Request request) { key.writeDword("", valueOf(request), 1); };
}

std::string mainWindowCaption(std::string_view title) {
    std::string caption(title);
    caption += "  ";
    return caption;
}

StartupResult runApplication(std::span<const std::string> arguments,
                             const std::optional<std::string>& modulePath,
                             const StartupPlatform& platform, MainWindowRunner& runner) {
    std::ostream& diagnostics = platform.diagnostics;
    const CommandLine commandLine = CommandLine::parse(arguments);

    if (!modulePath) {
        diagnostics << "rizorivu: the path of the executable cannot be read\n";
        return {};
    }
    const ApplicationPaths paths = ApplicationPaths::fromModulePath(*modulePath);
    const CodePage ansi = CodePage::fromEnvironment(platform.environment, &diagnostics);
    PrivateProfile profile(ansi);
    const Configuration configuration = loadConfiguration(profile, paths.pathStem + "INI");

    RegistryStore registry(HiveLocations::fromEnvironment(platform.environment), diagnostics);
    if (commandLine.exitRequested) {
        // An exit request needs nothing but the registry: it must work even when the adapter's
        // world cannot be loaded, which is when a user most wants the running instance gone.
        const ApplicationKey key(registry, configuration.companyAbbrev, paths.applicationName);
        if (requestOfRunningInstance(key, platform.captions, CaptionRegistry::Request::Exit) == 0) {
            diagnostics << "rizorivu: no running instance to end\n";
            return {StartupOutcome::ExitRequested, 1};
        }
        return {StartupOutcome::ExitRequested, 0};
    }
    // The adapter library answers CheckOSWinNT below, so it is loaded before the language.
    auto made =
        makeSimulatedAdapterLibrary(platform.environment, platform.clock, registry, diagnostics);
    if (!made.ok()) {
        diagnostics << "rizorivu: the adapter world cannot be loaded: " << made.error() << '\n';
        return {};
    }
    AdapterLibrary& library = *made.value();
    dot1x::SoftwareDot1xLibrary dot1x(
        library, platform.clock,
        dot1x::CertificateLocations::forUser(UserFolders::fromEnvironment(platform.environment)));
    // The worker comes before the settings, which hold it as their WPA connection; it gets
    // the adapter record and the last settings once the session has built them. The EAP
    // files live in the user's private folder, where the certificate operations write them.
    wpa::WpaWorker wpa(library, platform.clock, ansi, dot1x, dot1x.certificateFiles().folder());

    // Building the session fixes the application key with the configured company; nothing in
    // it touches the registry or the adapter yet.
    Session session(paths, configuration, ansi, profile, registry, library, platform.clock, wpa,
                    dot1x);
    wpa.attach(session.settings.adapter, session.settings.last);
    // The worker reads the session's settings: it ends before they go, whichever way this
    // function returns.
    wpa::WpaDetachment detachment(wpa);
    session.damagedHives = registry.damagedCopies();
    const ApplicationKey& key = session.settings.appKey;

    const std::string& languageName =
        library.CheckOSWinNT() != 0 ? configuration.mlUnicodeFile : configuration.mlSbcsFile;
    session.text.load(paths.programDir + languageName, kLanguageList);
    // An index outside the list is refused and language 1 stays current.
    session.text.select(key.readDword("", InstanceValues::kLanguageId).value_or(1));

    // One start at a time decides whether it becomes the running instance, and holds the others
    // back until its window can be found; otherwise two starts at the same moment both see no
    // window and both run.
    StartupLock handOver(registry.hivePath(Hive::CurrentUser).empty()
                             ? std::filesystem::path()
                             : registry.hivePath(Hive::CurrentUser).parent_path() / "startup.lock");
    const std::string currentTitle = session.text.text("MP_Dialog_Title", kDefaultTitle);
    // A hive in memory starts empty every time, so it cannot tell the running instance's title;
    // the window is then looked for under the current one.
    const bool hiveInMemory = registry.hivePath(Hive::CurrentUser).empty();
    const std::string storedTitle =
        hiveInMemory ? currentTitle
                     : key.readString("", InstanceValues::kProgramTitle).value_or("");
    if (storedTitle != currentTitle) {
        // An instance may run under the old title, where no search could find it.
        requestOfRunningInstance(key, platform.captions, CaptionRegistry::Request::Exit);
        platform.clock.sleepMs(kHandOverPauseMs);
        key.writeString("", InstanceValues::kProgramTitle, currentTitle);
    } else if (platform.captions.find(mainWindowCaption(storedTitle))) {
        requestOfRunningInstance(key, platform.captions, CaptionRegistry::Request::WakeUp);
        return {StartupOutcome::WokeRunning, 0};
    } else {
        // A running instance whose window shows another caption is asked to make way.
        requestOfRunningInstance(key, platform.captions, CaptionRegistry::Request::Exit);
        platform.clock.sleepMs(kHandOverPauseMs);
    }

    // From here on this process is the running instance; a request written while none ran is
    // void.
    key.writeDword("", InstanceValues::kExit, 0);
    key.writeDword("", InstanceValues::kWakeUp, 0);
    const int exitCode =
        runner.run(session, session.trayTexts(), [&handOver] { handOver.release(); });
    return {StartupOutcome::Ran, exitCode};
}

}  // namespace rizorivu
