#include "ui/main/MainWindow.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "settings/HexText.h"

#include "settings/Configuration.h"
#include "settings/SettingsContext.h"
#include "ui/CTrayIcon.h"
#include "ui/DialogHost.h"
#include "ui/OpenDialogChain.h"

namespace rizorivu::ui {

namespace {

// The single-instance requests, integer values in the application key itself.
constexpr std::string_view kExitRequest = "REZUreExit";
constexpr std::string_view kWakeUpRequest = "REZUreWakeUp";
constexpr std::string_view kApplicationKeyItself = "";
constexpr std::int32_t kRequested = 1;
constexpr std::int32_t kNoRequest = 0;

constexpr std::string_view kZeroConfigCaption = "Wireless Zero Configuration";
constexpr std::string_view kZeroConfigQuestion =
    "Wireless LAN is Controlled by the Windows Zero Configuration.\n"
    "Do you want to use REZUre as the Wireless LAN configuration tool?";

// Start-up finds a running instance by its title followed by exactly these two blanks.
constexpr std::string_view kCaptionSuffix = "  ";

struct TextKey {
    std::string_view key;
    std::string_view defaultText;
};

constexpr std::array<TextKey, MainWindow::kInfoRows> kCurrentNetworkLabels{{
    {"MP_STA_Curr_Net_Info_Channel", "Channel:"},
    {"MP_STA_Curr_Net_Info_Type", "Type:"},
    {"MP_STA_Curr_Net_Info_SSID", "SSID:"},
    {"MP_STA_Curr_Net_Info_TxRate", "Tx Rate:"},
    {"MP_STA_Curr_Net_Info_WEP", "Encrypt:"},
}};

}  // namespace

MainWindow::MainWindow(SettingsContext& settings, const Configuration& configuration,
                       const DialogEnvironment& environment, AdapterDiscovery& discovery,
                       CTrayIcon& tray)
    : Dialog(DialogCode::Main, environment),
      settings_(settings),
      configuration_(configuration),
      discovery_(discovery),
      tray_(tray),
      handover_(settings.library, settings.adapter, settings.savedWzcStatus,
                configuration.qvxOidMode),
      // Zero-filled, so the survey's record count starts at 0.
      surveyBuffer_(adapterbuf::kSurveyBytes, 0) {}

MainWindow::~MainWindow() {
    settings_.wpa.stopWpaConnection();
}

void MainWindow::recaption() {
    buildLayout();
}

void MainWindow::onInitialise() {
    chain().setTop(DialogCode::Main);
    selectionShown_ = false;
    surveyCountdown_ = 0;
    surveyPending_ = false;
    connectingDots_ = 0;
    adapterOpen_ = false;
    modeSelectable_ = false;
    frameTotal_ = 0;
    lastFrameTotal_ = 0;
    settings_.mode.set(OperatingMode::kStation);

    trayImage_ = kIconNotConnected;
    previousTrayImage_ = kIconNotConnected;
    tray_.setIcon(kIconNotConnected);

    host().hideMainWindow();
    buildLayout();
    resetSignalAverages();

    const bool opened = discovery_.discoverAdapters();
    showAdapterRows();
    if (opened) {
        adapterOpen_ = true;
        afterAdapterOpened();
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
    }
}

void MainWindow::onAdapterSelected() {
    openSelectedAdapter();
}

// The settings dialogs behind this button come with the dialog work.
void MainWindow::onInfoButton() {}

// Connecting to a listed network is filled in with the connect work.
void MainWindow::onListDoubleClick(int) {}

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
        layOutAccessPointView();
        return;
    }
    layOutStationList();
    if (selectionShown_) {
        layOutSelectedNetworkInfo();
    } else {
        layOutCurrentNetworkInfo();
    }
    layOutStationLowerArea();
}

void MainWindow::openSelectedAdapter() {
    discovery_.selectRow(adapterSelector.selected());
    if (!discovery_.openSelectedAdapter()) {
        return;
    }
    adapterOpen_ = true;
    afterAdapterOpened();
}

void MainWindow::afterAdapterOpened() {
    modeSelectable_ = false;
    trayImage_ = kIconNotConnected;
    if (configuration_.enableAccessPoint != 0) {
        switch (settings_.library.QueryWL_OperationMode_STA_AP(&settings_.adapter)) {
            case OperatingMode::kStation:
                settings_.mode.set(OperatingMode::kStation);
                modeSelectable_ = true;
                break;
            case OperatingMode::kAccessPoint:
                settings_.mode.set(OperatingMode::kAccessPoint);
                trayImage_ = kIconAccessPoint;
                modeSelectable_ = true;
                break;
            default:
                settings_.mode.set(OperatingMode::kStation);
                break;
        }
        buildLayout();
    }
    previousTrayImage_ = trayImage_;
    tray_.setIcon(trayImage_);

    surveyPending_ = false;
    surveyCountdown_ = 0;
    if (settings_.mode.get() == OperatingMode::kStation) {
        startScan();
    }
    showModeChoice(modeSelectable_);

    if (handover_.openSequence()) {
        showTrayImage(kIconZeroConfig);
    } else {
        settings_.replay.replayLastSettings();
    }

    if (settings_.mode.get() == OperatingMode::kAccessPoint) {
        showAccessPointSettings();
        infoButton.setEnabled(true);
        infoButton.setVisible(true);
        refreshButton.setEnabled(false);
    }

    tray_.setMenuTexts(text("MP_Small_Icon_Item_1", "Open Utility Window"),
                       text("MP_Small_Icon_Item_2", "Exit RIZorivu"));
    tray_.addIcon(trayImage_);
}

void MainWindow::pollTick(int timerId) {
    const ApplicationKey& key = settings_.appKey;
    if (key.readDword(kApplicationKeyItself, kExitRequest).value_or(kNoRequest) == kRequested) {
        key.writeDword(kApplicationKeyItself, kExitRequest, kNoRequest);
        killTimer(kPollTimer);
        host().postCommand(CTrayIcon::kExit);
        return;
    }
    if (key.readDword(kApplicationKeyItself, kWakeUpRequest).value_or(kNoRequest) == kRequested) {
        key.writeDword(kApplicationKeyItself, kWakeUpRequest, kNoRequest);
        host().postCommand(CTrayIcon::kOpenUtilityWindow);
        return;
    }
    if (startHidden_) {
        host().hideMainWindow();
    }

    if (!adapterOpen_) {
        const AdapterDiscovery::TickResult found = discovery_.tickWhileClosed();
        if (found != AdapterDiscovery::TickResult::Deferring) {
            showAdapterRows();
        }
        if (found != AdapterDiscovery::TickResult::Reopened) {
            return;
        }
        adapterOpen_ = true;
        afterAdapterOpened();
        selectionShown_ = false;
        connectingDots_ = 0;
        stationListTicks_ = 0;
        setListScanning(false);
    } else if (settings_.library.QueryWL_DriverVersion(&settings_.adapter) == kAdapterGone) {
        settings_.wpa.stopWpaConnection();
        closeAllDialogs();
        handover_.adapterLost();
        adapterOpen_ = false;
        discovery_.markClosed();
        settings_.library.QvCloseAdapter(&settings_.adapter);
        tray_.removeIcon();
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
            showTrayImage(kIconZeroConfig);
            closeAllDialogs();
            handover_.handBack();
            return;
    }

    if (timerId != kPollTimer) {
        return;
    }

    if (settings_.mode.get() == OperatingMode::kAccessPoint) {
        showFrameCounts();
        if (++stationListTicks_ == kStationListEvery) {
            refreshStationList();
            stationListTicks_ = 0;
        }
        return;
    }

    if (surveyPending_) {
        if (surveyCountdown_ > 0) {
            --surveyCountdown_;
        } else {
            finishScan();
            surveyPending_ = false;
            layOutCurrentNetworkInfo();
            showLinkStatusInfo();
            selectionShown_ = false;
        }
    }
    if (selectionShown_) {
        if (selectionCountdown_ > 0) {
            --selectionCountdown_;
        } else {
            layOutCurrentNetworkInfo();
            selectionShown_ = false;
        }
    } else {
        showCurrentStatusValue();
    }
    showLinkStatusInfo();
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

void MainWindow::showTrayImage(int image) {
    trayImage_ = image;
    previousTrayImage_ = image;
    tray_.setIcon(image);
}

void MainWindow::startPollTimer() {
    startTimer(kPollTimer, configuration_.mainPageUpdateTimeMs);
}

void MainWindow::showAdapterRows() {
    adapterSelector.setItems(discovery_.rows());
    adapterSelector.select(discovery_.selectedRow());
}

void MainWindow::showModeChoice(bool shown) {
    modeLabel.setVisible(shown);
    modeSelector.setVisible(shown);
}

void MainWindow::clearValueFields() {
    for (Label& value : infoValues) {
        value.setText("");
    }
    linkStatusValue.setText("");
    signalPercent.setText("");
    qualityPercent.setText("");
    txFrameValue.setText("");
    rxFrameValue.setText("");
}

void MainWindow::layOutCurrentNetworkInfo() {
    infoBox.setText(text("MP_STA_Curr_Net_Info_Title", "Current Network Information"));
    for (int row = 0; row < kInfoRows; ++row) {
        const TextKey& label = kCurrentNetworkLabels[static_cast<std::size_t>(row)];
        infoLabels[static_cast<std::size_t>(row)].setText(text(label.key, label.defaultText));
        infoLabels[static_cast<std::size_t>(row)].setVisible(true);
        infoValues[static_cast<std::size_t>(row)].setVisible(true);
    }
    infoButton.setText(text("MP_STA_Curr_Net_Info_More_Set", "More Setting..."));
    clearValueFields();
}

void MainWindow::layOutStationLowerArea() {
    linkStatusLabel.setText(text("MP_STA_Link_Status", "Link Status:"));
    signalLabel.setText(text("MP_STA_Signal_Strength", "Signal Strength:"));
    qualityLabel.setText(text("MP_STA_Link_Quality", "Link Quality:"));
    txFrameLabel.setText(text("MP_STA_Tx_Frame", "Tx Frame:"));
    rxFrameLabel.setText(text("MP_STA_Rx_Frame", "Rx Frame:"));
    for (Label* label :
         {&linkStatusLabel, &signalLabel, &qualityLabel, &txFrameLabel, &rxFrameLabel}) {
        label->setVisible(true);
    }
    for (Label* value :
         {&linkStatusValue, &signalPercent, &qualityPercent, &txFrameValue, &rxFrameValue}) {
        value->setText("");
        value->setVisible(true);
    }
    for (ProgressBar* bar : {&signalBar, &qualityBar}) {
        bar->setRange(kBarMinimum, kBarMaximum);
        bar->setPosition(kBarMinimum);
        bar->setVisible(true);
    }
}

void MainWindow::setListScanning(bool scanning) {
    networkList.setEnabled(!scanning);
    refreshButton.setEnabled(!scanning);
    if (scanning) {
        refreshButton.setText(text("MP_STA_Net_List_Refresh_Scan", "Scanning......"));
        listCaption.setText(text("MP_STA_Available_Network_Scan", "Scanning Avaliable Network..."));
    } else {
        refreshButton.setText(text("MP_STA_Net_List_Refresh", "Refresh"));
        listCaption.setText(text("MP_STA_Available_Network", "Avaliable Network:"));
    }
}

void MainWindow::showCurrentStatusValue() {
    AdapterLibrary& library = settings_.library;
    AdapterRecord* adapter = &settings_.adapter;
    const LocalizedText& text = texts();

    const int state = library.QueryWL_ConnectState(adapter);
    if (const int type = library.QueryWL_NetworkType(adapter); type != -1) {
        infoValues[kInfoType].setText(networkTypeText(text, type));
    }
    if (const int channel = library.QueryWL_Channel(adapter); channel >= 0) {
        infoValues[kInfoChannel].setText(std::to_string(channel));
    }
    std::optional<std::string> ssidBytes;
    if (state == 0) {
        std::array<std::uint8_t, adapterbuf::kSsidBytes> buffer{};
        if (const int length = library.QueryWL_SSID(adapter, buffer); length != -1) {
            const auto n = static_cast<std::size_t>(std::clamp(length, 0, 32));
            ssidBytes = std::string(buffer.begin(), buffer.begin() + static_cast<long>(n));
        }
    } else if (state == 1) {
        // Not connected: the network the station was last told to join.
        std::string bytes =
            settings_.ansi.toAnsi(settings_.last.lastSettingText(settings_.mode.get(), "SSID"));
        bytes.resize(std::min<std::size_t>(bytes.size(), adapterbuf::kSsidBytes));
        ssidBytes = bytes;
    }
    if (ssidBytes) {
        ssidBytes->resize(std::strlen(ssidBytes->c_str()));  // a zero byte ends the SSID
        infoValues[kInfoSsid].setText(ssidBytes->empty() ? text.text("MP_STA_SSID_any", "<any>")
                                                         : settings_.ansi.fromAnsi(*ssidBytes));
    }
    if (const int rate = library.QueryWL_CurrentLinkSpeed(adapter); rate != -1) {
        infoValues[kInfoRate].setText(rateText(text, rate));
    }
    if (const int wep = library.QueryWL_WEPStatus(adapter); wep >= 0) {
        infoValues[kInfoEncryption].setText(
            configuration_.debugMode != 0
                ? encryptionDebugText(wep, settings_.last.lastSettingInt("WEPStatus"))
                : encryptionText(text, wep));
    }
}

void MainWindow::showLinkStatusInfo() {
    if (surveyPending_) {
        return;  // no status updates while a scan runs
    }
    AdapterLibrary& library = settings_.library;
    AdapterRecord* adapter = &settings_.adapter;
    const LocalizedText& text = texts();
    const Configuration& configuration = configuration_;

    const int state = library.QueryWL_ConnectState(adapter);
    const int type = library.QueryWL_NetworkType(adapter);
    if (state == -1 || type == -1 || (state != 0 && state != 1)) {
        return;
    }
    const bool connected = state == 0;
    bool qualityAvailable = connected;
    std::string status;
    if (connected) {
        connectingDots_ = 0;
        std::array<std::uint8_t, adapterbuf::kMacBytes> bssid{};
        if (library.QueryWL_BSSID(adapter, bssid) == -1) {
            bssid.fill(0);
        }
        status = connectedText(text, type, configuration.pseudoIbssSupport);
        if (configuration.showBssid != 0) {
            status += " BSSID=" + BytesToHexText(bssid);
        }
    } else {
        trayImage_ = kIconNotConnected;
        if (type == 0) {
            status = text.text("MP_STA_Link_Status_In_Ad_Hoc", "In Ad-Hoc Mode.");
        } else {
            status = connectingText(text, connectingDots_);
            connectingDots_ = connectingDots_ >= kMaxConnectingDots ? 0 : connectingDots_ + 1;
        }
    }
    linkStatusValue.setText(status);

    if (!connected) {
        resetSignalAverages();
    } else {
        const int rssi = library.QueryWL_RSSI(adapter);
        const int quality = library.QueryWL_CommQuality(adapter);
        qualityAvailable = quality != -1;
        averages_.add(rssi == -1 ? std::nullopt : std::optional<int>(rssi),
                      quality == -1 ? std::nullopt : std::optional<int>(quality));
        // A reading the adapter did not answer counts as an empty slot; the shown percent
        // stays within the bar's range even then.
        const int signal = std::clamp(averages_.signalPercent(), kBarMinimum, kBarMaximum);
        const int linkQuality = std::clamp(averages_.qualityPercent(), kBarMinimum, kBarMaximum);
        signalPercent.setText(std::to_string(signal) + "%");
        signalBar.setPosition(signal);
        qualityPercent.setText(std::to_string(linkQuality) + "%");
        qualityBar.setPosition(linkQuality);
    }
    for (Control* control : {static_cast<Control*>(&signalLabel), static_cast<Control*>(&signalBar),
                             static_cast<Control*>(&signalPercent)}) {
        control->setVisible(connected);
    }
    for (Control* control :
         {static_cast<Control*>(&qualityLabel), static_cast<Control*>(&qualityBar),
          static_cast<Control*>(&qualityPercent)}) {
        control->setVisible(connected && qualityAvailable);
    }
    for (Label* label : {&txFrameLabel, &txFrameValue, &rxFrameLabel, &rxFrameValue}) {
        label->setVisible(connected);
    }
    if (connected) {
        FrameCounts counts;
        if (library.GetTxRxFrameCount(adapter, &counts) != -1) {
            txFrameValue.setText(std::to_string(counts.transmitted));
            rxFrameValue.setText(std::to_string(counts.received));
            frameTotal_ = std::uint64_t{counts.transmitted} + counts.received;
        }
    }

    if (configuration.trayIconAnimation != 1) {
        return;  // the icon then changes only with the mode and the adapter's control
    }
    if (connected) {
        if (trayImage_ == kIconNotConnected || frameTotal_ != lastFrameTotal_) {
            trayImage_ = trayImage_ == kIconConnected ? kIconConnectedAlternate : kIconConnected;
            lastFrameTotal_ = frameTotal_;
        }
    } else {
        trayImage_ = kIconNotConnected;
    }
    if (trayImage_ != previousTrayImage_) {
        tray_.setIcon(trayImage_);
        previousTrayImage_ = trayImage_;
    }
}

void MainWindow::resetSignalAverages() {
    averages_.reset();
}

}  // namespace rizorivu::ui
