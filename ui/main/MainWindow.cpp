#include "ui/main/MainWindow.h"

#include <cstring>
#include <string>

#include "app/ApplicationContext.h"
#include "app/CTrayIcon.h"
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

MainWindow::MainWindow(ApplicationContext& context, const DialogEnvironment& environment,
                       AdapterDiscovery& discovery, CTrayIcon& tray)
    : Dialog(DialogCode::Main, environment),
      context_(context),
      discovery_(discovery),
      tray_(tray),
      handover_(context.library, context.adapter, context.savedWzcStatus,
                context.configuration.qvxOidMode),
      // Zero-filled, so the survey's record count starts at 0.
      surveyBuffer_(adapterbuf::kSurveyBytes, 0) {}

MainWindow::~MainWindow() {
    context_.wpa.stopWpaConnection();
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
    context_.mode.set(OperatingMode::kStation);

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

// The mode switch is filled in with the access-point work.
void MainWindow::onModeSelected() {}

// The scan and the station-list refresh are filled in with the list work.
void MainWindow::onRefresh() {}

// The settings dialogs behind this button come with the dialog work.
void MainWindow::onInfoButton() {}

// Showing a selected network is filled in with the list work.
void MainWindow::onListClick(int) {}

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
    modeSelector.select(context_.mode.get());
    showModeChoice(context_.configuration.enableAccessPoint == 1 && modeSelectable_);

    if (context_.mode.get() == OperatingMode::kAccessPoint) {
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
    if (context_.configuration.enableAccessPoint != 0) {
        switch (context_.library.QueryWL_OperationMode_STA_AP(&context_.adapter)) {
            case OperatingMode::kStation:
                context_.mode.set(OperatingMode::kStation);
                modeSelectable_ = true;
                break;
            case OperatingMode::kAccessPoint:
                context_.mode.set(OperatingMode::kAccessPoint);
                trayImage_ = kIconAccessPoint;
                modeSelectable_ = true;
                break;
            default:
                context_.mode.set(OperatingMode::kStation);
                break;
        }
        buildLayout();
    }
    previousTrayImage_ = trayImage_;
    tray_.setIcon(trayImage_);

    surveyPending_ = false;
    surveyCountdown_ = 0;
    if (context_.mode.get() == OperatingMode::kStation) {
        startScan();
    }
    showModeChoice(modeSelectable_);

    if (handover_.openSequence()) {
        showTrayImage(kIconZeroConfig);
    } else {
        context_.replay.replayLastSettings();
    }

    if (context_.mode.get() == OperatingMode::kAccessPoint) {
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
    const ApplicationKey& key = context_.appKey;
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
    if (context_.startHidden != 0) {
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
    } else if (context_.library.QueryWL_DriverVersion(&context_.adapter) == kAdapterGone) {
        context_.wpa.stopWpaConnection();
        closeAllDialogs();
        handover_.adapterLost();
        adapterOpen_ = false;
        discovery_.markClosed();
        context_.library.QvCloseAdapter(&context_.adapter);
        tray_.removeIcon();
        return;
    }

    switch (handover_.tick()) {
        case ZeroConfigHandover::TickAction::Continue:
            break;
        case ZeroConfigHandover::TickAction::EndTick:
            return;
        case ZeroConfigHandover::TickAction::ReplayThenContinue:
            context_.replay.replayLastSettings();
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

    if (context_.mode.get() == OperatingMode::kAccessPoint) {
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
    context_.startHidden = 0;
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
    startTimer(kPollTimer, context_.configuration.mainPageUpdateTimeMs);
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

// The selected-network labels and button are filled in with the list work; until then the
// box keeps the current-network captions and only its values are cleared.
void MainWindow::layOutSelectedNetworkInfo() {
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

// The access-point list, information box and lower area are filled in with the access-point
// work; the value fields are cleared as every layout switch does.
void MainWindow::layOutAccessPointView() {
    listColumnCount_ = kAccessPointListColumns;
    clearValueFields();
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

// The network list's columns are filled in with the list work.
void MainWindow::layOutStationList() {
    listColumnCount_ = kStationListColumns;
}

// The site survey is filled in with the list work.
void MainWindow::startScan() {}

// Retrieving and listing the survey is filled in with the list work.
void MainWindow::finishScan() {}

// The current-network values are filled in with the status display work.
void MainWindow::showCurrentStatusValue() {}

// Link status, bars, counters and the tray animation are filled in with the status work.
void MainWindow::showLinkStatusInfo() {}

// The signal ring buffers are filled in with the status display work.
void MainWindow::resetSignalAverages() {}

// The access-point information box is filled in with the access-point work.
void MainWindow::showAccessPointSettings() {}

// The associated-station list is filled in with the access-point work.
void MainWindow::refreshStationList() {}

// The access-point frame counters are filled in with the access-point work.
void MainWindow::showFrameCounts() {}

}  // namespace rizorivu::ui
