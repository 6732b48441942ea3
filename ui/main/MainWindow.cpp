#include "ui/main/MainWindow.h"

#include <string>

#include "adapter/DriverCode.h"
#include "adapter/OperationMode.h"
#include "settings/Configuration.h"
#include "settings/SettingsContext.h"
#include "ui/CTrayIcon.h"
#include "ui/DialogHost.h"
#include "ui/OpenDialogChain.h"
#include "ui/ap/AccessPointSettingsDialog.h"
#include "ui/station/GeneralSettingsDialog.h"
#include "ui/station/WepKeysDialog.h"
#include "ui/wpa/WpaSettingsDialog.h"

namespace rizorivu::ui {

namespace {

constexpr std::string_view kZeroConfigCaption = "Wireless Zero Configuration";
constexpr std::string_view kZeroConfigQuestion =
    "Wireless LAN is Controlled by the Windows Zero Configuration.\n"
    "Do you want to use REZUre as the Wireless LAN configuration tool?";

// Start-up finds a running instance by its title followed by exactly these two blanks.
constexpr std::string_view kCaptionSuffix = "  ";

// The adapter needs a moment after a mode change before it takes settings.
constexpr std::int64_t kModeSettleMs = 1000;
constexpr std::int64_t kStationSettleMs = 200;
constexpr const char* kModeChangeFailed = "Wireless Network Adapter Change Mode Fail!!!";

}  // namespace

MainWindow::MainWindow(SettingsContext& settings, const Configuration& configuration,
                       const DialogEnvironment& environment, AdapterDiscovery& discovery,
                       CTrayIcon& tray, LanguageSwitch& languages)
    : Dialog(DialogCode::Main, environment),
      settings_(settings),
      configuration_(configuration),
      languages_(languages),
      discovery_(discovery),
      tray_(tray),
      handover_(settings.library, settings.adapter, settings.savedWzcStatus,
                configuration.qvxOidMode),
      requests_(settings.appKey),
      trayAnimation_(tray, configuration),
      survey_(*this, settings, configuration, environment.texts, handover_),
      link_(*this, settings, configuration, environment.texts, trayAnimation_),
      station_(*this, settings, configuration, environment.texts, survey_, link_),
      accessPoint_(*this, settings, environment.texts),
      connect_(*this, settings, configuration, environment.texts, survey_, link_, station_,
               handover_, *this) {
    networkList.setEnabled(false);  // nothing is listed before the first scan
    // A window shown from the worker's thread would crash the toolkit or deadlock against
    // stopWpaConnection's wait, so the worker only posts the notice here.
    settings_.wpa.onKeyNotExportable([this] { host().postCommand(kKeyNotExportable); });
}

MainWindow::~MainWindow() {
    settings_.wpa.stopWpaConnection();
    settings_.wpa.onKeyNotExportable(nullptr);
}

void MainWindow::recaption() {
    buildLayout();
}

void MainWindow::onInitialise() {
    chain().setTop(DialogCode::Main);
    station_.forgetSelection();
    survey_.abandon();
    link_.restartConnecting();
    adapterOpen_ = false;
    modeSelectable_ = false;
    settings_.mode.set(OperatingMode::kStation);
    trayAnimation_.reset();

    host().hideMainWindow();
    buildLayout();
    link_.resetAverages();

    const bool opened = discovery_.discoverAdapters();
    showAdapterRows();
    if (opened) {
        adapterOpen_ = true;
        afterAdapterOpened();
    } else {
        showNoAdapter();
    }

    startPollTimer();
    host().moveMainWindow(kOffScreenX, kOffScreenY);
}

void MainWindow::onTimer(int timerId) {
    pollTick(timerId);
}

void MainWindow::onCommand(int commandId) {
    if (commandId == CTrayIcon::kOpenUtilityWindow) {
        openUtilityWindow();
    } else if (commandId == CTrayIcon::kExit) {
        exitUtility();
    } else if (commandId == kKeyNotExportable) {
        ask(MessageBox{kKeyNotExportableText, text("MP_Dialog_Title", "Nimbo K-540 Utility"),
                       MessageButtons::Ok, MessageIcon::Exclamation});
    }
}

void MainWindow::onAdapterSelected() {
    openSelectedAdapter();
}

void MainWindow::onRefresh() {
    if (!adapterOpen_) {
        return;  // a scan without an adapter would never finish
    }
    if (settings_.mode.get() != OperatingMode::kStation) {
        accessPoint_.refreshStationList();
        return;
    }
    survey_.refresh();
}

// The button opens the access point's settings, joins the network shown in the information
// box, or opens the station's general settings.
void MainWindow::onInfoButton() {
    if (settings_.mode.get() == OperatingMode::kAccessPoint) {
        // No tick may reach the adapter while the access point is being reconfigured.
        killTimer(kPollTimer);
        AccessPointSettingsDialog settings(settings_, configuration_,
                                           DialogEnvironment{host(), chain(), texts()});
        runChild(settings);
        accessPoint_.showSettings();
        startPollTimer();
        return;
    }
    if (settings_.mode.get() != OperatingMode::kStation) {
        return;
    }
    if (station_.selectionShown()) {
        // "Connect this site" joins the network the box shows, wherever the list's selection
        // is now.
        connect_.connectTo(station_.shownRow());
        return;
    }
    GeneralSettingsDialog general(settings_, configuration_,
                                  DialogEnvironment{host(), chain(), texts()}, languages_);
    runChild(general);
}

void MainWindow::onListClick(int row) {
    if (settings_.mode.get() != OperatingMode::kStation) {
        return;
    }
    station_.selectRow(row);
}

void MainWindow::onListSelectionMoved(int row) {
    // A selection cleared by the user leaves the network shown as it is.
    if (row >= 0) {
        onListClick(row);
    }
}

void MainWindow::onListDoubleClick(int row) {
    if (settings_.mode.get() != OperatingMode::kStation) {
        return;
    }
    connect_.connectTo(row);
}

void MainWindow::onListEnter(int row) {
    onListDoubleClick(row);
}

void MainWindow::onCloseBox(bool fromMouse) {
    if (fromMouse) {
        host().hideMainWindow();
    } else {
        host().raiseMainWindow();
    }
}

void MainWindow::onMinimiseBox(bool fromMouse) {
    onCloseBox(fromMouse);
}

void MainWindow::onCloseRequest() {
    end(DialogResult::Cancel);
}

void MainWindow::buildLayout() {
    title().setText(text("MP_Dialog_Title", "Nimbo K-540 Utility") + std::string(kCaptionSuffix));
    adapterLabel.setText(text("MP_Network_Adapter", "Network Adapter:"));
    modeLabel.setText(text("MP_STA_AP_Mode", "Mode:"));

    modeSelector.clear();
    modeSelector.addItem(text("MP_STA_AP_Toggle_Button_STA", "Station"));
    modeSelector.addItem(text("MP_STA_AP_Toggle_Button_AP", "Access Point"));
    modeSelector.select(settings_.mode.get());
    showModeChoice(configuration_.enableAccessPoint == 1 && modeSelectable_);

    if (settings_.mode.get() == OperatingMode::kAccessPoint) {
        accessPoint_.layOut();
    } else {
        station_.layOut();
    }
}

void MainWindow::openSelectedAdapter() {
    // The worker calls the adapter through the record that is about to be closed and opened
    // again.
    settings_.wpa.stopWpaConnection();
    discovery_.selectRow(adapterSelector.selected());
    if (!discovery_.openSelectedAdapter()) {
        return;
    }
    adapterOpen_ = true;
    afterAdapterOpened();
}

void MainWindow::afterAdapterOpened() {
    modeSelectable_ = false;
    int image = kIconNotConnected;
    if (configuration_.enableAccessPoint != 0) {
        switch (fromDriver<OperationMode>(
            settings_.library.QueryWL_OperationMode_STA_AP(&settings_.adapter))) {
            case OperationMode::Station:
                settings_.mode.set(OperatingMode::kStation);
                modeSelectable_ = true;
                break;
            case OperationMode::AccessPoint:
                settings_.mode.set(OperatingMode::kAccessPoint);
                image = kIconAccessPoint;
                modeSelectable_ = true;
                break;
            default:
                settings_.mode.set(OperatingMode::kStation);
                break;
        }
        buildLayout();
    }
    trayAnimation_.show(image);

    survey_.abandon();
    if (settings_.mode.get() == OperatingMode::kStation) {
        survey_.start();
    }
    showModeChoice(modeSelectable_);

    if (handover_.openSequence()) {
        trayAnimation_.show(kIconZeroConfig);
    } else {
        settings_.replay.replayLastSettings();
    }

    if (settings_.mode.get() == OperatingMode::kAccessPoint) {
        accessPoint_.showSettings();
        infoButton.setEnabled(true);
        infoButton.setVisible(true);
        refreshButton.setEnabled(false);
    }

    tray_.setMenuTexts(text("MP_Small_Icon_Item_1", "Open Utility Window"),
                       text("MP_Small_Icon_Item_2", "Exit RIZorivu"));
    tray_.addIcon(trayAnimation_.image());
}

void MainWindow::adapterLost() {
    settings_.wpa.stopWpaConnection();
    closeAllDialogs();
    handover_.adapterLost();
    adapterOpen_ = false;
    discovery_.markClosed();
    settings_.library.QvCloseAdapter(&settings_.adapter);
    tray_.removeIcon();
    // The selector lists only what discovery finds from now on, even while it waits.
    adapterSelector.setItems({});
    showNoAdapter();
}

void MainWindow::showNoAdapter() {
    modeSelectable_ = false;
    station_.forgetSelection();
    survey_.forget();
    link_.restartConnecting();
    link_.resetAverages();
    // The layout as a start without an adapter shows it: labels, and every value empty.
    buildLayout();
    refreshButton.setEnabled(false);
}

void MainWindow::pollTick(int timerId) {
    switch (requests_.take()) {
        case InstanceRequests::Request::Exit:
            killTimer(kPollTimer);
            host().postCommand(CTrayIcon::kExit);
            return;
        case InstanceRequests::Request::WakeUp:
            host().postCommand(CTrayIcon::kOpenUtilityWindow);
            return;
        case InstanceRequests::Request::None:
            break;
    }
    if (startHidden_) {
        host().hideMainWindow();
    }

    if (!adapterOpen_) {
        const AdapterDiscovery::TickResult found = discovery_.tickWhileClosed();
        showAdapterRows();
        if (found != AdapterDiscovery::TickResult::Reopened) {
            return;
        }
        adapterOpen_ = true;
        afterAdapterOpened();
        station_.forgetSelection();
        link_.restartConnecting();
        accessPoint_.restartStationList();
        survey_.setScanning(false);
    } else if (settings_.library.QueryWL_DriverVersion(&settings_.adapter) == kAdapterGone) {
        adapterLost();
        return;
    }

    switch (handover_.tick()) {
        case ZeroConfigHandover::TickAction::Continue:
            break;
        case ZeroConfigHandover::TickAction::EndTick:
            return;
        case ZeroConfigHandover::TickAction::ReplayThenContinue:
            settings_.replay.replayLastSettings();
            break;
        case ZeroConfigHandover::TickAction::TookControl:
            trayAnimation_.show(kIconZeroConfig);
            closeAllDialogs();
            handover_.handBack();
            return;
    }

    if (timerId != kPollTimer) {
        return;
    }
    if (settings_.mode.get() == OperatingMode::kAccessPoint) {
        accessPoint_.tick();
    } else {
        station_.tick();
    }
}

void MainWindow::onModeSelected() {
    const int entry = modeSelector.selected();
    if (entry < 0 || entry > OperatingMode::kAccessPoint || entry == settings_.mode.get()) {
        return;
    }
    modeSelector.setEnabled(false);
    // A station's WPA connection has no place in the other mode; the replay below starts it
    // again when the station comes back.
    settings_.wpa.stopWpaConnection();
    settings_.mode.set(entry);
    const bool accessPoint = entry == OperatingMode::kAccessPoint;
    if (accessPoint) {
        accessPoint_.restartStationList();
        survey_.abandon();  // a pending scan is abandoned
        refreshButton.setText("");
        refreshButton.setEnabled(false);
        trayAnimation_.show(kIconAccessPoint);
    } else {
        refreshButton.setText(text("MP_STA_Net_List_Refresh", "Refresh"));
        refreshButton.setEnabled(true);
        trayAnimation_.show(kIconNotConnected);
    }
    buildLayout();

    if (settings_.library.SetWL_OperationMode_STA_AP(&settings_.adapter, entry) == -1) {
        ask(MessageBox{kModeChangeFailed, text("MP_Dialog_Title", "Nimbo K-540 Utility"),
                       MessageButtons::Ok, MessageIcon::Exclamation});
        // The window ends when this handler returns, and with it the utility.
        end(DialogResult::Closed);
    }
    settings_.clock.sleepMs(kModeSettleMs);
    settings_.replay.replayLastSettings();
    if (accessPoint) {
        accessPoint_.showSettings();
        infoButton.setVisible(true);
        infoButton.setEnabled(true);
    } else {
        settings_.clock.sleepMs(kStationSettleMs);
    }
    modeSelector.setEnabled(true);
}

void MainWindow::closeAllDialogs() {
    chain().closeAll(host(), OpenDialogChain::AtMainWindow::Hide);
}

void MainWindow::openUtilityWindow() {
    startHidden_ = false;
    killTimer(kPollTimer);
    if (handover_.state() == ZeroConfigHandover::kServiceControls) {
        const MessageAnswer answer =
            ask(MessageBox{std::string(kZeroConfigQuestion), std::string(kZeroConfigCaption),
                           MessageButtons::YesNo, MessageIcon::Question});
        if (answer != MessageAnswer::Yes) {
            startPollTimer();
            return;
        }
        handover_.userTakesOver();
    }
    host().centreMainWindow();
    host().showMainWindow();
    host().raiseMainWindow();
    startPollTimer();
}

void MainWindow::exitUtility() {
    handover_.releasePrivateOids();
    chain().closeAll(host(), OpenDialogChain::AtMainWindow::End);
    handover_.restoreSteps();
}

MessageAnswer MainWindow::askAboutPreviousSettings(const MessageBox& question) {
    return ask(question);
}

void MainWindow::openWepKeys() {
    WepKeysDialog keys(settings_, configuration_, DialogEnvironment{host(), chain(), texts()});
    runChild(keys);
}

void MainWindow::openWpaSettings() {
    WpaSettingsDialog wpa(settings_, DialogEnvironment{host(), chain(), texts()});
    runChild(wpa);
}

void MainWindow::stopPolling() {
    killTimer(kPollTimer);
}

void MainWindow::resumePolling() {
    startPollTimer();
}

void MainWindow::startPollTimer() {
    startTimer(kPollTimer, configuration_.mainPageUpdateTimeMs);
}

void MainWindow::showAdapterRows() {
    adapterSelector.setItems(discovery_.rows());
    adapterSelector.select(discovery_.selectedRow());
}

}  // namespace rizorivu::ui
