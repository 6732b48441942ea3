// Renders the utility's windows offscreen to PNG, for the README and for review:
//   rizorivu_screenshot main-window out.png   the main window on the simulated adapter
//   rizorivu_screenshot access-point out.png  the same after switching to access point
//   rizorivu_screenshot general-settings out.png   the settings the main window's button opens
//   rizorivu_screenshot wep-keys out.png           the WEP keys, opened from the settings
//   rizorivu_screenshot advanced-settings out.png  the advanced settings, opened from the settings
//   rizorivu_screenshot information out.png        the information, opened from the settings
//   rizorivu_screenshot access-point-settings out.png  the access point's settings
//   rizorivu_screenshot mac-filter out.png         the MAC address filter, opened from them
//   rizorivu_screenshot wpa-settings out.png [--peap]  the WPA settings, opened from the
//                                                  settings and switched to editing
//   rizorivu_screenshot join SSID out.png [--key HEX] [--passphrase TEXT]
//                        [--tls | --peap] [--cert NAME] [--user NAME] [--password TEXT]
//                                                  joins a listed network and shows the window;
//                                                  with a key, passphrase or WPA method the
//                                                  flow's question is answered No and the
//                                                  dialog filled in: --cert picks the first
//                                                  certificate (client for TLS, CA for PEAP)
//                                                  whose list item contains NAME
// --text also prints every control's caption and value, one per line.
//   rizorivu_screenshot icons out.png         the five status icons at 16, 22, 32 and 48 px
// The utility runs against a world and a registry of its own in a temporary folder.
#include <QApplication>
#include <QPainter>
#include <QThread>
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
#include "ui/ap/AccessPointSettingsDialog.h"
#include "ui/station/GeneralSettingsDialog.h"
#include "ui/station/WepKeysDialog.h"
#include "ui/wpa/WpaSettingsDialog.h"
#include "wpa/WpaDetachment.h"
#include "wpa/WpaWorker.h"

namespace rizorivu::tools {
namespace {

constexpr const char* kWorld =
    "[Machine]\nSeed=7\n"
    "[Adapter.K540]\nName=\\DEVICE\\K540\nDescription=Nimbo K-540 Wireless USB Adapter\n"
    "ClassInstance=0007\nDeviceId=USB\\VID_F540&PID_0540\nMac=02-00-00-00-05-40\nRegion=16\n"
    "[Network.Home]\nSSID=Home\nBSSID=02-10-00-00-00-01\nChannel=6\nSignal=-50\n"
    "[Network.Cafe]\nSSID=Cafe\nBSSID=02-10-00-00-00-02\nChannel=1\nSignal=-71\n"
    "Security=wep\nWepKey=01 02 03 04 05\nWepAuth=shared\n"
    "[Network.Office]\nSSID=Office\nBSSID=02-10-00-00-00-03\nChannel=11\nSignal=-64\n"
    "Security=wpa-psk\nCipher=aes\nPassphrase=correct horse\n"
    // Authenticated by the RADIUS server tools/radius/lab.sh runs, at its default port.
    "[Network.Campus]\nSSID=Campus\nBSSID=02-10-00-00-00-04\nChannel=6\nSignal=-68\n"
    "Security=wpa-eap\nCipher=tkip\n"
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
    Information,
    AccessPointSettings,
    MacFilter,
    WpaSettings,
    Join
};

struct ShotOptions {
    Shot shot = Shot::MainWindow;
    std::string ssid;  // join: the network
    std::string key;   // join: a WEP key in hex
    std::string passphrase;
    bool peap = false;        // wpa-settings and join: PEAP instead of TLS
    bool tls = false;         // join: EAP-TLS
    std::string certificate;  // join: part of the certificate's list item
    std::string user;
    std::string password;

    bool enterprise() const { return tls || peap; }
    // Whether the connect flow's dialog is filled in rather than the stored settings used.
    bool fillsDialog() const { return !key.empty() || !passphrase.empty() || enterprise(); }
    bool text = false;  // print the controls
};

// The window system with the message boxes answered as the options say: a tool has no user
// to click them. Everything else goes to the real host.
class AnsweringHost final : public ui::DialogHost {
public:
    explicit AnsweringHost(qt::QtDialogHost& inner) : inner_(inner) {}
    ui::MessageAnswer answer = ui::MessageAnswer::Yes;

    ui::DialogResult runModal(ui::Dialog& dialog) override { return inner_.runModal(dialog); }
    void endDialog(ui::Dialog& dialog, ui::DialogResult result) override {
        inner_.endDialog(dialog, result);
    }
    void forget(const ui::Dialog& dialog) override { inner_.forget(dialog); }
    ui::MessageAnswer showMessage(ui::Dialog&, const ui::MessageBox& box) override {
        std::cerr << "rizorivu_screenshot: asked \"" << box.caption << "\"\n";
        return box.buttons == ui::MessageButtons::YesNo ? answer : ui::MessageAnswer::Ok;
    }
    void startTimer(ui::Dialog& owner, int timerId, int periodMs) override {
        inner_.startTimer(owner, timerId, periodMs);
    }
    void killTimer(ui::Dialog& owner, int timerId) override { inner_.killTimer(owner, timerId); }
    void postCommand(int commandId) override { inner_.postCommand(commandId); }
    void showMainWindow() override { inner_.showMainWindow(); }
    void hideMainWindow() override { inner_.hideMainWindow(); }
    void centreMainWindow() override { inner_.centreMainWindow(); }
    void raiseMainWindow() override { inner_.raiseMainWindow(); }
    void moveMainWindow(int x, int y) override { inner_.moveMainWindow(x, y); }

private:
    qt::QtDialogHost& inner_;
};

void printMainWindow(const ui::MainWindow& main) {
    std::cout << "Title: " << main.title().text() << '\n';
    std::cout << main.adapterLabel.text() << ' ' << main.adapterSelector.selectedItem() << '\n';
    std::cout << main.listCaption.text() << '\n';
    for (int row = 0; row < main.networkList.rowCount(); ++row) {
        std::cout << "Row " << row << ':';
        for (const std::string& cell : main.networkList.rows()[row]) {
            std::cout << ' ' << cell;
        }
        std::cout << '\n';
    }
    std::cout << main.infoBox.text() << '\n';
    for (std::size_t i = 0; i < main.infoLabels.size(); ++i) {
        if (main.infoLabels[i].visible() && !main.infoLabels[i].text().empty()) {
            std::cout << main.infoLabels[i].text() << ' ' << main.infoValues[i].text() << '\n';
        }
    }
    std::cout << main.linkStatusLabel.text() << ' ' << main.linkStatusValue.text() << '\n';
    std::cout << main.signalLabel.text() << ' ' << main.signalPercent.text() << '\n';
    std::cout << main.qualityLabel.text() << ' ' << main.qualityPercent.text() << '\n';
}

void printWpaSettings(const ui::WpaSettingsDialog& wpa) {
    const auto state = [](const ui::Control& c) { return c.enabled() ? "" : " (disabled)"; };
    std::cout << "Title: " << wpa.title().text() << '\n';
    std::cout << wpa.methodLabel.text() << ' ' << wpa.methodList.selectedItem()
              << state(wpa.methodList) << '\n';
    std::cout << wpa.userNameLabel.text() << ' ' << wpa.userNameField.text()
              << state(wpa.userNameField) << '\n';
    // Secrets are never printed, only whether something was typed.
    std::cout << wpa.passwordLabel.text() << (wpa.passwordField.text().empty() ? "" : " ***")
              << state(wpa.passwordField) << '\n';
    std::cout << wpa.passphraseLabel.text() << (wpa.passphraseField.text().empty() ? "" : " ***")
              << state(wpa.passphraseField) << '\n';
    std::cout << wpa.certificateFrame.text() << ": " << wpa.certificateList.selectedItem()
              << state(wpa.certificateList) << '\n';
    std::cout << wpa.stateButton.text() << '\n';
}

// Fills the key dialog the connect flow opened, as a user would, and confirms it.
void fillKeyDialog(ui::OpenDialogChain& chain, const ShotOptions& options) {
    if (auto* keys = dynamic_cast<ui::WepKeysDialog*>(chain.slot(ui::DialogCode::WepKeys))) {
        keys->onStateButton();
        // 10, 26 or 58 hex digits: a 64-, 128- or 256-bit key.
        const int length = options.key.size() > 26 ? 2 : options.key.size() > 10 ? 1 : 0;
        keys->lengthRadios.select(length);
        keys->onLengthChosen();
        keys->formatRadios.select(0);
        keys->onFormatChosen();
        keys->transmitKeyList.select(0);
        keys->keyFields[0].setText(options.key);
        keys->onKeyEdited(0);
        keys->onStateButton();
        keys->end(ui::DialogResult::Ok);
    }
    if (auto* wpa = dynamic_cast<ui::WpaSettingsDialog*>(chain.slot(ui::DialogCode::WpaSettings))) {
        wpa->onStateButton();
        if (options.enterprise()) {
            wpa->methodList.select(options.peap ? 1 : 0);
            wpa->onMethodChosen();
            const auto& items = wpa->certificateList.items();
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (items[i].find(options.certificate) != std::string::npos) {
                    wpa->certificateList.select(static_cast<int>(i));
                    break;
                }
            }
            wpa->userNameField.setText(options.user);
            wpa->passwordField.setText(options.password);
        }
        wpa->passphraseField.setText(options.passphrase);
        wpa->onStateButton();
        wpa->end(ui::DialogResult::Ok);
    }
}

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

int shootMainWindow(const QString& out, const ShotOptions& options) {
    const Shot shot = options.shot;
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
    // The WPA side waits on real time, so that it never moves the shot's virtual clock on.
    RealClock workerClock;
    dot1x::SoftwareDot1xLibrary dot1x(
        library, workerClock,
        dot1x::CertificateLocations::forUser(UserFolders::fromEnvironment(processEnvironment)));
    wpa::WpaWorker wpa(library, workerClock, ansi, dot1x, dot1x.certificateFiles().folder());
    Session session(ApplicationPaths::fromModulePath((scratch.path() / "rizorivu").string()),
                    configuration, ansi, profile, registry, library, clock, wpa, dot1x);
    wpa.attach(session.settings.adapter, session.settings.last);
    const wpa::WpaDetachment detachment(wpa);
    session.text.load(product / configuration.mlUnicodeFile, "LANGUAGES");

    qt::QtTrayService tray;
    qt::QtDialogHost host(qt::utilityViews(tray.icons().applicationIcon()));
    AnsweringHost answering(host);
    answering.answer = options.fillsDialog() ? ui::MessageAnswer::No : ui::MessageAnswer::Yes;
    SessionWindows windows(session, answering, tray, session.trayTexts());
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
        const bool accessPointShot = shot == Shot::AccessPoint ||
                                     shot == Shot::AccessPointSettings || shot == Shot::MacFilter;
        if (accessPointShot) {
            main.modeSelector.select(ui::MainWindow::kModeAccessPoint);
            main.onModeSelected();
            ticks(ui::MainWindow::kStationListEvery);
        }
        if (shot == Shot::Join) {
            int row = -1;
            for (int r = 0; r < main.networkList.rowCount(); ++r) {
                if (main.networkList.cell(r, 0) == options.ssid) {
                    row = r;
                }
            }
            if (row < 0) {
                std::cerr << "rizorivu_screenshot: " << options.ssid << " is not listed\n";
                main.end(ui::DialogResult::Closed);
                return;
            }
            main.onListClick(row);
            if (answering.answer == ui::MessageAnswer::No) {
                QTimer::singleShot(0, [&] { fillKeyDialog(session.chain, options); });
            }
            main.onListDoubleClick(row);
            if (!options.passphrase.empty() || options.enterprise()) {
                // The WPA worker runs on real time: give it the moments its handshake takes
                // while the world's time moves on, until data flows or the access point has
                // turned the station away.
                AdapterRecord* adapter = &session.settings.adapter;
                bool associated = false;
                FrameCounts before{};
                library.GetTxRxFrameCount(adapter, &before);
                // World time runs at half real time here, so the worker's one-second waits
                // for the link are never outrun by the access point's own timeouts.
                for (int step = 0; step < 1000; ++step) {
                    QThread::msleep(20);
                    clock.advance(10);
                    FrameCounts after{};
                    const bool up = library.QueryWL_ConnectState(adapter) == 0;
                    library.GetTxRxFrameCount(adapter, &after);
                    if ((up && after.received != before.received) || (associated && !up)) {
                        break;
                    }
                    before = after;
                    associated = associated || up;
                }
            }
            ticks(4);
        }
        if (shot == Shot::MainWindow || shot == Shot::AccessPoint || shot == Shot::Join) {
            if (options.text) {
                printMainWindow(main);
            }
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
            if (auto* wpa = dynamic_cast<ui::WpaSettingsDialog*>(dialog); wpa && options.text) {
                printWpaSettings(*wpa);
            }
            session.chain.closeAll(host, ui::OpenDialogChain::AtMainWindow::End);
        };
        if (shot == Shot::AccessPointSettings || shot == Shot::MacFilter) {
            // In access-point mode the information button opens the access point's settings.
            openAndThen([&] { main.onInfoButton(); },
                        [&] {
                            auto* settings = dynamic_cast<ui::AccessPointSettingsDialog*>(
                                session.chain.slot(ui::DialogCode::AccessPointSettings));
                            if (settings == nullptr || shot == Shot::AccessPointSettings) {
                                shootTop(ui::DialogCode::AccessPointSettings);
                                return;
                            }
                            openAndThen([&] { settings->onMacFilter(); },
                                        [&] { shootTop(ui::DialogCode::MacFilter); });
                        });
            if (!main.ended()) {
                main.end(ui::DialogResult::Closed);
            }
            return;
        }
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
                            case Shot::WpaSettings:
                                openAndThen(
                                    [&] { general->onWpa(); },
                                    [&] {
                                        auto* wpa = dynamic_cast<ui::WpaSettingsDialog*>(
                                            session.chain.slot(ui::DialogCode::WpaSettings));
                                        if (wpa != nullptr) {
                                            wpa->onStateButton();
                                            wpa->methodList.select(options.peap ? 1 : 0);
                                            wpa->onMethodChosen();
                                        }
                                        shootTop(ui::DialogCode::WpaSettings);
                                    });
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
        // The access point was last told to refuse one of the built-in world's stations.
        const LastSettings& last = session.settings.last;
        last.writeLastSetting(OperatingMode::kAccessPoint, "SSID", "Garden");
        last.writeLastSetting(OperatingMode::kAccessPoint, "Channel", "11");
        last.writeLastSetting(OperatingMode::kAccessPoint, "MACFilterMode", "2");
        last.writeLastSetting(OperatingMode::kAccessPoint, "MACFilterAddr0", "02 C0 00 00 00 0B");
    }
    host.runModal(main);
    return saved ? 0 : 1;
}

}  // namespace
}  // namespace rizorivu::tools

int main(int argc, char** argv) {
    using rizorivu::tools::Shot;
    using rizorivu::tools::ShotOptions;
    const std::map<std::string, Shot> shots = {
        {"main-window", Shot::MainWindow},
        {"access-point", Shot::AccessPoint},
        {"general-settings", Shot::GeneralSettings},
        {"wep-keys", Shot::WepKeys},
        {"advanced-settings", Shot::AdvancedSettings},
        {"information", Shot::Information},
        {"access-point-settings", Shot::AccessPointSettings},
        {"mac-filter", Shot::MacFilter},
        {"wpa-settings", Shot::WpaSettings},
        {"join", Shot::Join},
    };
    const auto usage = [] {
        std::cerr << "usage: rizorivu_screenshot main-window|access-point|general-settings|"
                     "wep-keys|advanced-settings|information|access-point-settings|"
                     "mac-filter|icons out.png\n"
                     "       rizorivu_screenshot wpa-settings out.png [--peap] [--text]\n"
                     "       rizorivu_screenshot join SSID out.png [--key HEX] "
                     "[--passphrase TEXT] [--tls | --peap] [--cert NAME] [--user NAME] "
                     "[--password TEXT] [--text]\n";
        return 2;
    };
    if (argc < 3) {
        return usage();
    }
    const std::string what = argv[1];
    ShotOptions options;
    int next = 2;
    if (what == "join") {
        if (argc < 4) {
            return usage();
        }
        options.ssid = argv[next++];
    }
    const QString out = QString::fromLocal8Bit(argv[next++]);
    for (; next < argc; ++next) {
        const std::string option = argv[next];
        if (option == "--text") {
            options.text = true;
        } else if (option == "--peap" || option == "--tls") {
            (option == "--peap" ? options.peap : options.tls) = true;
        } else if (option == "--key" && next + 1 < argc) {
            options.key = argv[++next];
        } else if (option == "--passphrase" && next + 1 < argc) {
            options.passphrase = argv[++next];
        } else if (option == "--cert" && next + 1 < argc) {
            options.certificate = argv[++next];
        } else if (option == "--user" && next + 1 < argc) {
            options.user = argv[++next];
        } else if (option == "--password" && next + 1 < argc) {
            options.password = argv[++next];
        } else {
            return usage();
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (what == "icons") {
        return rizorivu::tools::shootIcons(out);
    }
    if (const auto shot = shots.find(what); shot != shots.end()) {
        options.shot = shot->second;
        return rizorivu::tools::shootMainWindow(out, options);
    }
    std::cerr << "rizorivu_screenshot: unknown window " << what << '\n';
    return 2;
}
