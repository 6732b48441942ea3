// Renders the utility's windows offscreen to PNG, for the README and for review:
//   rizorivu_screenshot main-window out.png   the main window on the simulated adapter
//   rizorivu_screenshot access-point out.png  the same after switching to access point
//   rizorivu_screenshot general-settings out.png   the settings the main window's button opens
//   rizorivu_screenshot wep-keys out.png           the WEP keys, opened from the settings
//   rizorivu_screenshot advanced-settings out.png  the advanced settings, opened from the settings
//   rizorivu_screenshot information out.png        the information, opened from the settings
//   rizorivu_screenshot icons out.png         the five status icons at 16, 22, 32 and 48 px
// The utility runs against a world and a registry of its own in a temporary folder.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <variant>

#include "app/Session.h"
#include "app/SessionWindows.h"
#include "app/Startup.h"
#include "dot1x/SoftwareDot1xLibrary.h"
#include "qt/QtDialogHost.h"
#include "qt/QtTrayService.h"
#include "qt/StatusIcons.h"
#include "qt/UtilityViews.h"
#include "sim/SimulatedAdapterFactory.h"
#include "ui/station/GeneralSettingsDialog.h"

namespace rizorivu::tools {
namespace {

constexpr const char* kWorld =
    "[Machine]\nSeed=7\n"
    "[Adapter.K540]\nName=\\DEVICE\\K540\nDescription=Nimbo K-540 Wireless USB Adapter\n"
    "ClassInstance=0007\nDeviceId=USB\\VID_F540&PID_0540\nMac=02-00-00-00-05-40\nRegion=16\n"
    "[Network.Home]\nSSID=Home\nBSSID=02-10-00-00-00-01\nChannel=6\nSignal=-50\n"
    "[Network.Cafe]\nSSID=Cafe\nBSSID=02-10-00-00-00-02\nChannel=1\nSignal=-71\n"
    "Security=wep\nWepKey=01 02 03 04 05\n"
    "[Network.Office]\nSSID=Office\nBSSID=02-10-00-00-00-03\nChannel=11\nSignal=-64\n"
    "Security=wpa-psk\nCipher=aes\nPassphrase=correct horse\n"
    "[Client.Laptop]\nMac=02-C0-00-00-00-0A\n[Client.Phone]\nMac=02-C0-00-00-00-0B\n";

// A temporary folder for the world and the registry, removed at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rizorivu-shot-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

int shootIcons(const QString& out) {
    const qt::StatusIcons icons;
    constexpr std::array kSizes = {16, 22, 32, 48};
    constexpr int kGap = 8;
    const int width = qt::StatusIcons::kCount * (48 + kGap) + kGap;
    const int rowHeight = 48 + kGap;
    QImage sheet(width, static_cast<int>(kSizes.size()) * rowHeight * 2 + kGap,
                 QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    // Each size on a light and on a dark panel.
    int y = kGap;
    for (const QColor panel : {QColor(0xf0, 0xf0, 0xf0), QColor(0x30, 0x30, 0x30)}) {
        for (const int size : kSizes) {
            painter.fillRect(0, y - kGap / 2, width, rowHeight, panel);
            for (int i = 0; i < qt::StatusIcons::kCount; ++i) {
                painter.drawPixmap(kGap + i * (48 + kGap), y, icons.icon(i).pixmap(size, size));
            }
            y += rowHeight;
        }
    }
    painter.end();
    return sheet.save(out) ? 0 : 1;
}

// What a shot shows: the main window in one of its views, or a dialog the user opens from it.
enum class Shot {
    MainWindow,
    AccessPoint,
    GeneralSettings,
    WepKeys,
    AdvancedSettings,
    Information
};

// Runs `open`, which runs a dialog modally, and `inside` from within that run once its window
// is shown.
void openAndThen(const std::function<void()>& open, const std::function<void()>& inside) {
    QTimer::singleShot(0, inside);
    open();
}

bool save(qt::DialogWindow* window, const QString& out) {
    if (window == nullptr) {
        return false;
    }
    window->adjustSize();
    return window->grab().save(out);
}

int shootMainWindow(const QString& out, Shot shot) {
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        std::cerr << "rizorivu_screenshot: no temporary folder\n";
        return 1;
    }
    // RIZORIVU_WORLD names a world of the caller's own, where the station joins the strongest
    // network it may; RIZORIVU_ANSI_CODEPAGE the code page, as for the utility itself.
    const ProcessEnvironment processEnvironment;
    std::filesystem::path world = scratch.path() / "world.ini";
    const auto own = processEnvironment.get("RIZORIVU_WORLD");
    const bool ownWorld = own && !own->empty();
    if (ownWorld) {
        world = *own;
    } else {
        std::ofstream(world) << kWorld;
    }
    const CodePage ansi = CodePage::fromEnvironment(processEnvironment, &std::cerr);

    FixedEnvironment environment{{"RIZORIVU_WORLD", world.string()},
                                 {"RIZORIVU_ANSI_CODEPAGE", ansi.name()}};
    VirtualClock clock{50'000};
    std::ostringstream diagnostics;
    RegistryStore registry(HiveLocations::inDirectory(scratch.path()), diagnostics);
    auto made = makeSimulatedAdapterLibrary(environment, clock, registry, diagnostics);
    if (!made.ok()) {
        std::cerr << "rizorivu_screenshot: " << made.error() << '\n';
        return 1;
    }
    AdapterLibrary& library = *made.value();
    PrivateProfile profile(ansi);
    // The product build's configuration and language files, as the utility itself reads them.
    const std::filesystem::path product(RIZORIVU_PRODUCT_DIR);
    const Configuration configuration = loadConfiguration(profile, product / "rizorivu.INI");
    NoWpaConnection wpa;
    dot1x::SoftwareDot1xLibrary dot1x(
        library, clock,
        dot1x::CertificateLocations::forUser(UserFolders::fromEnvironment(processEnvironment)));
    Session session(ApplicationPaths::fromModulePath((scratch.path() / "rizorivu").string()),
                    configuration, ansi, profile, registry, library, clock, wpa, dot1x);
    session.text.load(product / configuration.mlUnicodeFile, "LANGUAGES");

    qt::QtTrayService tray;
    qt::QtDialogHost host(qt::utilityViews(tray.icons().applicationIcon()));
    SessionWindows windows(session, host, tray, session.trayTexts());
    ui::MainWindow& main = windows.main;

    bool saved = false;
    QTimer::singleShot(0, [&] {
        // The status ticks of a few seconds, as a user sees the window a moment after
        // opening it: the first scan listed and the station joined to its stored network.
        const auto ticks = [&](int count) {
            for (int tick = 0; tick < count; ++tick) {
                clock.advance(1000);
                main.onTimer(ui::MainWindow::kPollTimer);
            }
        };
        ticks(7);
        if (shot == Shot::AccessPoint) {
            main.modeSelector.select(ui::MainWindow::kModeAccessPoint);
            main.onModeSelected();
            ticks(ui::MainWindow::kStationListEvery);
        }
        if (shot == Shot::MainWindow || shot == Shot::AccessPoint) {
            saved = save(host.windowOf(main), out);
            main.end(ui::DialogResult::Closed);
            return;
        }
        // The dialogs open as the user opens them: the main window's information button opens
        // the general settings, whose buttons open the other three. The shot is taken inside
        // the innermost run; closing everything then ends the main window too.
        const auto shootTop = [&](ui::DialogCode code) {
            ui::Dialog* dialog = session.chain.slot(code);
            saved = dialog != nullptr && save(host.windowOf(*dialog), out);
            session.chain.closeAll(host, ui::OpenDialogChain::AtMainWindow::End);
        };
        openAndThen([&] { main.onInfoButton(); },
                    [&] {
                        auto* general = dynamic_cast<ui::GeneralSettingsDialog*>(
                            session.chain.slot(ui::DialogCode::GeneralSettings));
                        if (general == nullptr || shot == Shot::GeneralSettings) {
                            shootTop(ui::DialogCode::GeneralSettings);
                            return;
                        }
                        switch (shot) {
                            case Shot::WepKeys:
                                openAndThen([&] { general->onWepKeys(); },
                                            [&] { shootTop(ui::DialogCode::WepKeys); });
                                break;
                            case Shot::AdvancedSettings:
                                openAndThen([&] { general->onAdvanced(); },
                                            [&] { shootTop(ui::DialogCode::AdvancedSettings); });
                                break;
                            default:
                                openAndThen([&] { general->onInformation(); },
                                            [&] { shootTop(ui::DialogCode::Information); });
                                break;
                        }
                    });
        if (!main.ended()) {
            main.end(ui::DialogResult::Closed);
        }
    });
    // In the built-in world the station was last told to join "Home".
    if (!ownWorld) {
        session.settings.last.writeLastSetting(OperatingMode::kStation, "SSID", "Home");
    }
    host.runModal(main);
    return saved ? 0 : 1;
}

}  // namespace
}  // namespace rizorivu::tools

int main(int argc, char** argv) {
    using rizorivu::tools::Shot;
    const std::map<std::string, Shot> shots = {
        {"main-window", Shot::MainWindow},
        {"access-point", Shot::AccessPoint},
        {"general-settings", Shot::GeneralSettings},
        {"wep-keys", Shot::WepKeys},
        {"advanced-settings", Shot::AdvancedSettings},
        {"information", Shot::Information},
    };
    if (argc != 3) {
        std::cerr << "usage: rizorivu_screenshot main-window|access-point|general-settings|"
                     "wep-keys|advanced-settings|information|icons out.png\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::string what = argv[1];
    const QString out = QString::fromLocal8Bit(argv[2]);
    if (what == "icons") {
        return rizorivu::tools::shootIcons(out);
    }
    if (const auto shot = shots.find(what); shot != shots.end()) {
        return rizorivu::tools::shootMainWindow(out, shot->second);
    }
    std::cerr << "rizorivu_screenshot: unknown window " << what << '\n';
    return 2;
}
