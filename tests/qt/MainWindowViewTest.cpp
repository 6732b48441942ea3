// The main window's view on the real main window model, on the simulated adapter: the widgets
// show what the model holds and follow its changes, Enter and Escape never end the window,
// and the close and minimise boxes reach the model as mouse actions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <memory>
#include <sstream>

#include "adapter/AdapterDiscovery.h"
#include "app/ApplicationContext.h"
#include "ui/CTrayIcon.h"
#include "qt/MainWindowView.h"
#include "sim/SimulatedAdapterFactory.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/HeadlessHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu::qt {
namespace {

using testing::HeadlessHost;

// A notification area that takes the icon.
class AcceptingTray final : public TrayService {
public:
    bool available() const override { return true; }
    bool add(int, const std::string&) override { return true; }
    void setIcon(int) override {}
    void setTooltip(const std::string&) override {}
    void remove() override {}
    int popUpMenu(const std::string&, int, const std::string&, int, int) override { return 0; }
    void setMouseHandler(std::function<void(MouseEvent)>) override {}
};

// The main window on the simulated adapter with a temporary registry and a virtual clock,
// driven by the headless host; the view is built on it as the Qt host would build it.
struct MainBed {
    MainBed() { configuration.matchingDeviceIds = {"USB\\VID_F540&PID_0540"}; }

    std::unique_ptr<AdapterLibrary> makeLibrary() {
        FixedEnvironment env{{"RIZORIVU_WORLD", worldFile.string()}};
        auto made = makeSimulatedAdapterLibrary(env, clock, registry, diagnostics);
        return std::move(made).value();
    }

    testing::TempDir dir;
    std::filesystem::path worldFile = dir.write("world.ini", testing::settingsWorld());
    VirtualClock clock{50'000};
    std::ostringstream diagnostics;
    RegistryStore registry{HiveLocations::inDirectory(dir.path()), diagnostics};
    std::unique_ptr<AdapterLibrary> library = makeLibrary();
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    Configuration configuration;
    ApplicationPaths paths = ApplicationPaths::fromModulePath((dir / "rizorivu").string());
    testing::RecordingWpaConnection wpa;
    std::unique_ptr<ApplicationContext> context;
    HeadlessHost host;
    AcceptingTray traySystem;
    std::unique_ptr<CTrayIcon> tray;
    std::unique_ptr<AdapterDiscovery> discovery;
    std::unique_ptr<ui::MainWindow> main;

    void build() {
        context = std::make_unique<ApplicationContext>(paths, configuration, ansi, profile,
                                                       registry, *library, clock, wpa);
        tray = std::make_unique<CTrayIcon>(traySystem, "RIZorivu", 0, CTrayIcon::kOpenUtilityWindow,
                                           false, CTrayIcon::MainWindowLink{});
        discovery = std::make_unique<AdapterDiscovery>(*library, context->settings.adapter, registry, ansi,
                                                       clock, configuration.matchingDeviceIds);
        main = std::make_unique<ui::MainWindow>(
            context->settings, context->configuration, ui::DialogEnvironment{host, context->chain, context->text}, *discovery,
            *tray);
        host.setMainWindow(main.get());
    }
};

class MainWindowViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        bed.build();
        view = std::make_unique<MainWindowView>(*bed.main, nullptr, QIcon());
    }
    void TearDown() override { view.reset(); }

    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};
    MainBed bed;
    std::unique_ptr<MainWindowView> view;
};

TEST_F(MainWindowViewTest, TheWidgetsShowWhatInitialisationPutInTheModel) {
    bed.main->initialise();
    ui::MainWindow& main = *bed.main;

    EXPECT_EQ(view->window().windowTitle().toStdString(), main.title().text());
    EXPECT_FALSE(main.title().text().empty());
    ASSERT_EQ(view->adapterSelector()->count(), main.adapterSelector.count());
    EXPECT_GE(view->adapterSelector()->count(), 1);
    EXPECT_EQ(view->adapterSelector()->currentIndex(), main.adapterSelector.selected());
    EXPECT_EQ(view->adapterSelector()->itemText(0).toStdString(), main.adapterSelector.items()[0]);
    EXPECT_EQ(view->modeSelector()->count(), main.modeSelector.count());
    EXPECT_EQ(view->modeLabel()->isHidden(), !main.modeLabel.visible());
    for (int row = 0; row < ui::MainWindow::kInfoRows; ++row) {
        EXPECT_EQ(view->infoLabel(row)->text().toStdString(), main.infoLabels[row].text());
    }
    EXPECT_EQ(view->infoButton()->text().toStdString(), main.infoButton.text());
    EXPECT_EQ(view->infoBox()->title().toStdString(), main.infoBox.text());
    EXPECT_EQ(view->signalBar()->maximum(), ui::MainWindow::kBarMaximum);
}

TEST_F(MainWindowViewTest, WidgetsFollowTheModelsLaterChanges) {
    bed.main->initialise();
    ui::MainWindow& main = *bed.main;
    main.linkStatusValue.setText("Connected");
    main.signalBar.setPosition(73);
    main.signalPercent.setText("73%");
    main.txFrameValue.setText("1200");
    main.infoValues[2].setText("Home");
    main.networkList.removeAllColumns();
    main.networkList.addColumn({"SSID", 120, ui::ReportList::Alignment::Left});
    main.networkList.addRow({"Home"});
    main.refreshButton.setEnabled(false);

    EXPECT_EQ(view->linkStatusValue()->text(), "Connected");
    EXPECT_EQ(view->signalBar()->value(), 73);
    EXPECT_EQ(view->signalPercent()->text(), "73%");
    EXPECT_EQ(view->txFrameValue()->text(), "1200");
    EXPECT_EQ(view->infoValue(2)->text(), "Home");
    ASSERT_EQ(view->networkList()->topLevelItemCount(), 1);
    EXPECT_EQ(view->networkList()->topLevelItem(0)->text(0), "Home");
    EXPECT_FALSE(view->refreshButton()->isEnabled());
}

TEST_F(MainWindowViewTest, EnterAndEscapeNeverEndTheMainWindow) {
    bed.main->initialise();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&view->window(), &press);
    }
    EXPECT_FALSE(bed.main->ended());
    EXPECT_TRUE(bed.host.endings().empty());
}

TEST_F(MainWindowViewTest, TheCloseBoxFromTheMouseHidesAndFromTheKeyboardRaises) {
    bed.main->initialise();
    bed.host.showMainWindow();
    view->window().behaviour().onCloseBox(false);
    EXPECT_TRUE(bed.host.mainWindowState().visible);
    EXPECT_EQ(bed.host.mainWindowState().raiseCount, 1);

    view->window().behaviour().onCloseBox(true);
    EXPECT_FALSE(bed.host.mainWindowState().visible);
    EXPECT_FALSE(bed.main->ended());
}

TEST_F(MainWindowViewTest, MinimisingHidesTheWindowAndLeavesItRestorable) {
    bed.main->initialise();
    bed.host.showMainWindow();
    view->window().show();
    view->window().showMinimized();
    EXPECT_FALSE(bed.host.mainWindowState().visible);
    EXPECT_FALSE(view->window().isMinimized());
    EXPECT_FALSE(bed.main->ended());
}

TEST_F(MainWindowViewTest, AProgramCloseRequestEndsTheWindowAsCancelled) {
    bed.main->initialise();
    view->window().close();
    EXPECT_TRUE(bed.main->ended());
    EXPECT_EQ(bed.main->result(), ui::DialogResult::Cancel);
}

// The adapter selector is filled and selected by discovery, which is no user pick; the user's
// own pick reopens the adapter.
TEST_F(MainWindowViewTest, OnlyTheUsersAdapterPickReopensTheAdapter) {
    bed.main->initialise();
    ASSERT_TRUE(bed.main->adapterOpen());
    ASSERT_GE(bed.main->adapterSelector.selected(), 0);

    bed.library->QvCloseAdapter(&bed.context->settings.adapter);
    // Programmatic: repainting the same selection does not reopen.
    bed.main->adapterSelector.select(-1);
    bed.main->adapterSelector.select(0);
    EXPECT_EQ(view->adapterSelector()->currentIndex(), 0);
    EXPECT_LT(bed.library->QueryWL_DriverVersion(&bed.context->settings.adapter), 0)
        << "the adapter was reopened without a pick";

    Q_EMIT view->adapterSelector()->activated(0);
    EXPECT_GE(bed.library->QueryWL_DriverVersion(&bed.context->settings.adapter), 0);
}

}  // namespace
}  // namespace rizorivu::qt
