#pragma once

#include <cstdint>
#include <vector>

#include "adapter/AdapterDiscovery.h"
#include "adapter/DriverCode.h"
#include "adapter/OperationMode.h"
#include "adapter/ZeroConfigHandover.h"
#include "ui/Dialog.h"
#include "ui/main/AccessPointView.h"
#include "ui/main/ConnectFlow.h"
#include "ui/main/ConnectWindow.h"
#include "ui/main/InstanceRequests.h"
#include "ui/main/LinkStatus.h"
#include "ui/main/MainWindowControls.h"
#include "ui/main/StationView.h"
#include "ui/main/SurveyCycle.h"
#include "ui/main/TrayAnimation.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
class CTrayIcon;
}  // namespace rizorivu

namespace rizorivu::ui {

class LanguageSwitch;

// The utility's only top-level window. Start-up runs it modally for the life of the process;
// it starts hidden and off-screen, is shown from the tray and hidden again by its close and
// minimise boxes. One poll timer drives everything that happens without the user.
//
// The controls are public models; a view binds to them and calls the on...() handlers. The
// window itself coordinates: opening the adapter, the status tick's order, the mode switch
// and the tray commands; the parts below draw the station and access-point views.
class MainWindow final : public Dialog, public MainWindowControls, private ConnectWindow {
public:
    static constexpr int kPollTimer = 1;
    // Posted by the WPA worker's thread: the chosen client certificate's key cannot be
    // exported. Outside the tray menu's command range.
    static constexpr int kKeyNotExportable = 32900;
    static constexpr const char* kKeyNotExportableText =
        "Can not Export Private Key!! Please make the private key of this certifacate "
        "EXPORTABLE!";
    // Where the window waits, far outside any screen, until it is first opened.
    static constexpr int kOffScreenX = 30000;
    static constexpr int kOffScreenY = 30000;
    static constexpr int kMaxConnectingDots = LinkStatus::kMaxConnectingDots;
    static constexpr int kStationListEvery = AccessPointView::kStationListEvery;
    static constexpr int kIconConnected = TrayAnimation::kIconConnected;
    static constexpr int kIconConnectedAlternate = TrayAnimation::kIconConnectedAlternate;
    static constexpr int kIconNotConnected = TrayAnimation::kIconNotConnected;
    static constexpr int kIconAccessPoint = TrayAnimation::kIconAccessPoint;
    static constexpr int kIconZeroConfig = TrayAnimation::kIconZeroConfig;
    // Entries of the mode selector.
    static constexpr int kModeStation = toDriver(OperationMode::Station);
    static constexpr int kModeAccessPoint = toDriver(OperationMode::AccessPoint);
    // Answers of the driver's version query when the adapter has gone.
    static constexpr int kAdapterGone = -1;

    // The settings, the configuration, the environment, the tray icon and discovery all
    // outlive the window.
    MainWindow(SettingsContext& settings, const Configuration& configuration,
               const DialogEnvironment& environment, AdapterDiscovery& discovery, CTrayIcon& tray,
               LanguageSwitch& languages);
    // Stops any WPA worker: nothing may run against the adapter once the window is gone.
    ~MainWindow() override;

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
    // In the station view: the general settings, or joining the clicked network while it is
    // shown.
    void onInfoButton();
    // The network list, station view only. A click, or the selection moved with the keys, shows
    // the row's network in the information box; a double click or Enter joins it.
    void onListClick(int row);
    void onListSelectionMoved(int row);
    void onListDoubleClick(int row);
    void onListEnter(int row);
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
    int trayImage() const { return trayAnimation_.image(); }
    int wzcState() const { return handover_.state(); }
    bool surveyPending() const { return survey_.pending(); }
    bool selectionShown() const { return station_.selectionShown(); }
    const std::vector<std::uint8_t>& surveyBuffer() const { return survey_.buffer(); }

protected:
    void onInitialise() override;

private:
    // Steps 7-16 of opening, once discovery has opened the adapter.
    void afterAdapterOpened();
    // The adapter answers no more: stop everything that uses it and wait for it to return.
    void adapterLost();
    // No adapter is open: nothing it reported stays on show, and nothing can be asked of it.
    void showNoAdapter();
    void startPollTimer();
    // The adapter selector shows what discovery listed and selected.
    void showAdapterRows();

    // --- ConnectWindow
    MessageAnswer askAboutPreviousSettings(const MessageBox& question) override;
    void openWepKeys() override;
    void openWpaSettings() override;
    void stopPolling() override;
    void resumePolling() override;

    SettingsContext& settings_;
    const Configuration& configuration_;
    LanguageSwitch& languages_;
    AdapterDiscovery& discovery_;
    CTrayIcon& tray_;
    ZeroConfigHandover handover_;
    InstanceRequests requests_;
    TrayAnimation trayAnimation_;
    SurveyCycle survey_;
    LinkStatus link_;
    StationView station_;
    AccessPointView accessPoint_;
    ConnectFlow connect_;

    bool adapterOpen_ = false;
    bool startHidden_ = true;
    bool modeSelectable_ = false;
};

}  // namespace rizorivu::ui
