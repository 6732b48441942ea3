#include "tests/support/SimulatedUtility.h"

namespace rizorivu::testing {

namespace {

constexpr const char* kProductDeviceId = "USB\\VID_F540&PID_0540";

}  // namespace

Configuration SimulatedUtility::simulatorConfiguration() {
    Configuration configuration;
    configuration.matchingDeviceIds = {kProductDeviceId};
    return configuration;
}

SimulatedUtility::SimulatedUtility(const std::string& worldText, const Configuration& configuration,
                                   std::string_view codePage, Wpa wpa)
    : bed(worldText, codePage),
      worker(wpa == Wpa::Worker
                 ? std::make_unique<wpa::WpaWorker>(*bed.library, workerClock, bed.ansi, bed.dot1x,
                                                    bed.dir.path() / "dot1x")
                 : nullptr),
      session(ApplicationPaths::fromModulePath((bed.dir / "rizorivu").string()), configuration,
              bed.ansi, profile, bed.registry, *bed.library, bed.clock,
              worker ? static_cast<WpaConnection&>(*worker) : bed.wpa, bed.dot1x) {
    if (worker) {
        worker->attach(session.settings.adapter, session.settings.last);
    }
}

SimulatedUtility::~SimulatedUtility() {
    // The worker reads the session's settings, which go before it.
    windows_.reset();
    if (worker) {
        worker->detach();
    }
}

ui::MainWindow& SimulatedUtility::open() {
    if (!windows_) {
        windows_ = std::make_unique<SessionWindows>(session, host, tray, session.trayTexts());
    }
    return windows_->main;
}

void SimulatedUtility::run(const std::function<void(ui::MainWindow&)>& user) {
    ui::MainWindow& window = open();
    host.script<ui::MainWindow>(ui::DialogCode::Main, [&](ui::MainWindow& w, HeadlessHost&) {
        user(w);
        if (!w.ended()) {
            w.end(ui::DialogResult::Closed);  // the user's part is over
        }
    });
    host.runModal(window);
    close();
}

bool SimulatedUtility::tick() {
    if (!host.tick(ui::MainWindow::kPollTimer)) {
        return false;
    }
    host.deliverPosted();
    return true;
}

void SimulatedUtility::chooseFromTrayMenu(int command) {
    tray.menuChoice = command;
    tray.mouse(TrayService::MouseEvent::RightRelease);
    host.deliverPosted();
}

int SimulatedUtility::appFlag(std::string_view name) const {
    return session.settings.appKey.readDword("", name).value_or(0);
}

void SimulatedUtility::setAppFlag(std::string_view name, int value) const {
    session.settings.appKey.writeDword("", name, value);
}

}  // namespace rizorivu::testing
