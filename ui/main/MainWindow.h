#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "adapter/AdapterDiscovery.h"
#include "adapter/ZeroConfigHandover.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/main/StationStatusText.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
class CTrayIcon;
}  // namespace rizorivu

namespace rizorivu::ui {

// The utility's only top-level window. Start-up runs it modally for the life of the process;
// it starts hidden and off-screen, is shown from the tray and hidden again by its close and
// minimise boxes. One poll timer drives everything that happens without the user.
//
// The controls are public models; a view binds to them and calls the on...() handlers.
class MainWindow final : public Dialog {
public:
    static constexpr int kPollTimer = 1;
    // Where the window waits, far outside any screen, until it is first opened.
    static constexpr int kOffScreenX = 30000;
    static constexpr int kOffScreenY = 30000;
    static constexpr int kInfoRows = 5;
    // Rows of the current-network information box.
    static constexpr std::size_t kInfoChannel = 0;
    static constexpr std::size_t kInfoType = 1;
    static constexpr std::size_t kInfoSsid = 2;
    static constexpr std::size_t kInfoRate = 3;
    static constexpr std::size_t kInfoEncryption = 4;
    // "Connecting..." grows by one group of dots a tick and starts over after this many.
    static constexpr int kMaxConnectingDots = 18;
    static constexpr int kBarMinimum = 0;
    static constexpr int kBarMaximum = 100;
    static constexpr int kStationListEvery = 5;  // access-point view: ticks per list refresh
    // Columns of the list: network and strength, or the associated stations' addresses.
    static constexpr int kStationListColumns = 2;
    static constexpr int kAccessPointListColumns = 1;
    // Tray status icons by index.
    static constexpr int kIconConnected = 0;
    static constexpr int kIconConnectedAlternate = 1;
    static constexpr int kIconNotConnected = 2;
    static constexpr int kIconAccessPoint = 3;
    static constexpr int kIconZeroConfig = 4;
    // Entries of the mode selector.
    static constexpr int kModeStation = 0;
    static constexpr int kModeAccessPoint = 1;
    // Answers of the driver's version query when the adapter has gone.
    static constexpr int kAdapterGone = -1;

    // The settings, the configuration, the environment, the tray icon and discovery all
    // outlive the window.
    MainWindow(SettingsContext& settings, const Configuration& configuration,
               const DialogEnvironment& environment, AdapterDiscovery& discovery,
               CTrayIcon& tray);
    // Stops any WPA worker: nothing may run against the adapter once the window is gone.
    ~MainWindow() override;

    // --- controls
    Label adapterLabel;
    DropDownList adapterSelector;
    Label modeLabel;
    DropDownList modeSelector;
    Label listCaption;
    ReportList networkList;
    Button refreshButton;
    GroupBox infoBox;
    std::array<Label, kInfoRows> infoLabels;
    std::array<Label, kInfoRows> infoValues;
    Button infoButton;
    Label linkStatusLabel;
    Label linkStatusValue;
    Label signalLabel;
    ProgressBar signalBar;
    Label signalPercent;
    Label qualityLabel;
    ProgressBar qualityBar;
    Label qualityPercent;
    Label txFrameLabel;
    Label txFrameValue;
    Label rxFrameLabel;
    Label rxFrameValue;

    // --- Dialog
    // A language change re-lays the whole window out.
    void recaption() override;
    void onTimer(int timerId) override;
    void onCommand(int commandId) override;
    // Enter and Escape never end the main window.
    void onOk() override {}
    void onCancel() override {}

    // --- user actions, called by the view
    void onAdapterSelected();
    void onModeSelected();
    void onRefresh();
    void onInfoButton();
    void onListClick(int row);
    void onListDoubleClick(int row);
    // From the mouse the boxes hide the window; from the keyboard they only raise it.
    void onCloseBox(bool fromMouse);
    void onMinimiseBox(bool fromMouse);
    // A plain close request from outside (not the close box) ends the run, and the process.
    void onCloseRequest();

    // --- the window's own operations
    void buildLayout();
    void openSelectedAdapter();
    void pollTick(int timerId);
    // Ends every dialog above the main window and hides the main window.
    void closeAllDialogs();
    // The tray commands.
    void openUtilityWindow();
    void exitUtility();

    // --- state, for views and tests
    bool adapterOpen() const { return adapterOpen_; }
    // True from start-up until the user first opens the window from the tray: until then the
    // window hides itself on every status tick.
    bool startHidden() const { return startHidden_; }
    bool modeSelectable() const { return modeSelectable_; }
    int trayImage() const { return trayImage_; }
    int wzcState() const { return handover_.state(); }
    bool surveyPending() const { return surveyPending_; }
    bool selectionShown() const { return selectionShown_; }
    const std::vector<std::uint8_t>& surveyBuffer() const { return surveyBuffer_; }

protected:
    void onInitialise() override;

private:
    // Steps 7-16 of opening, once discovery has opened the adapter.
    void afterAdapterOpened();
    void showTrayImage(int image);
    void startPollTimer();
    // The adapter selector shows what discovery listed and selected.
    void showAdapterRows();
    void showModeChoice(bool shown);
    void clearValueFields();
    void layOutCurrentNetworkInfo();
    void layOutSelectedNetworkInfo();
    void layOutStationLowerArea();
    void layOutAccessPointView();

    // The view contents, filled in by the list, connect, mode and status work.
    void setListScanning(bool scanning);  // list caption and Refresh while a scan runs
    void layOutStationList();
    void fillNetworkList();
    void showSelectedNetwork();
    void startScan();
    void finishScan();
    void showCurrentStatusValue();  // the five current-network values
    void showLinkStatusInfo();      // link status, bars, counters and the tray animation
    void resetSignalAverages();
    void showAccessPointSettings();  // access-point information box: filled later
    void refreshStationList();       // associated stations: filled later
    void showFrameCounts();          // access-point frame counters

    SettingsContext& settings_;
    const Configuration& configuration_;
    AdapterDiscovery& discovery_;
    CTrayIcon& tray_;
    ZeroConfigHandover handover_;

    std::vector<std::uint8_t> surveyBuffer_;
    bool adapterOpen_ = false;
    bool startHidden_ = true;
    bool modeSelectable_ = false;
    bool surveyPending_ = false;
    int surveyCountdown_ = 0;
    bool selectionShown_ = false;
    int selectionCountdown_ = 0;
    int connectingDots_ = 0;
    int trayImage_ = kIconNotConnected;
    int previousTrayImage_ = kIconNotConnected;
    std::uint64_t frameTotal_ = 0;
    std::uint64_t lastFrameTotal_ = 0;
    SignalAverages averages_;
    int listColumnCount_ = 0;
    int stationListTicks_ = 0;
};

}  // namespace rizorivu::ui
