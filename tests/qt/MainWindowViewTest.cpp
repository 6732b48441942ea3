// The main window's view on the real main window model, on the simulated adapter: the widgets
// show what the model holds and follow its changes, Enter and Escape never end the window,
// and the close and minimise boxes reach the model as mouse actions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <memory>
#include <sstream>

#include "qt/MainWindowView.h"
#include "tests/support/SimulatedUtility.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu::qt {
namespace {

using testing::HeadlessHost;

// The main window on the simulated adapter, driven by the headless host; the view is built on
// it as the Qt host would build it.
class MainWindowViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = &utility.open();
        utility.host.setMainWindow(main);
        view = std::make_unique<MainWindowView>(*main, nullptr, QIcon());
    }
    void TearDown() override { view.reset(); }

    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};
    testing::SimulatedUtility utility{testing::settingsWorld()};
    HeadlessHost& host = utility.host;
    ui::MainWindow* main = nullptr;
    std::unique_ptr<MainWindowView> view;
};

TEST_F(MainWindowViewTest, TheWidgetsShowWhatInitialisationPutInTheModel) {
    main->initialise();
    ui::MainWindow& main = *this->main;

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
    main->initialise();
    ui::MainWindow& main = *this->main;
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
    main->initialise();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&view->window(), &press);
    }
    EXPECT_FALSE(main->ended());
    EXPECT_TRUE(host.endings().empty());
}

TEST_F(MainWindowViewTest, TheCloseBoxFromTheMouseHidesAndFromTheKeyboardRaises) {
    main->initialise();
    host.showMainWindow();
    view->window().behaviour().onCloseBox(false);
    EXPECT_TRUE(host.mainWindowState().visible);
    EXPECT_EQ(host.mainWindowState().raiseCount, 1);

    view->window().behaviour().onCloseBox(true);
    EXPECT_FALSE(host.mainWindowState().visible);
    EXPECT_FALSE(main->ended());
}

TEST_F(MainWindowViewTest, MinimisingHidesTheWindow) {
    main->initialise();
    host.showMainWindow();
    view->window().show();
    view->window().showMinimized();
    EXPECT_FALSE(host.mainWindowState().visible);
    EXPECT_FALSE(main->ended());
}

// A keyboard user: the arrow keys move the selection and show the network like a click, Enter
// joins the network the selection is on.
TEST_F(MainWindowViewTest, ArrowKeysShowANetworkAndEnterJoinsIt) {
    main->initialise();
    for (int t = 0; t < 10 && main->surveyPending(); ++t) {
        utility.bed.clock.advance(utility.session.configuration.mainPageUpdateTimeMs);
        ASSERT_TRUE(utility.tick());
    }
    ASSERT_GE(main->networkList.rowCount(), 2);
    view->window().show();
    QTreeWidget* list = view->networkList();
    list->setFocus();
    const auto key = [&](Qt::Key k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(list, &press);
    };

    key(Qt::Key_Down);
    key(Qt::Key_Down);
    const int row = main->networkList.selected();
    ASSERT_GE(row, 0);
    EXPECT_EQ(list->currentIndex().row(), row);
    EXPECT_TRUE(main->selectionShown());
    EXPECT_EQ(view->infoBox()->title(), "Selected Network Information");
    const std::string ssid = main->networkList.cell(row, 0);
    ASSERT_FALSE(ssid.empty());
    ASSERT_NE(utility.station("SSID"), ssid);

    key(Qt::Key_Return);
    EXPECT_EQ(utility.station("SSID"), ssid);
    EXPECT_FALSE(main->ended()) << "Enter in the list is no Enter of the window";
}

TEST_F(MainWindowViewTest, AProgramCloseRequestEndsTheWindowAsCancelled) {
    main->initialise();
    view->window().close();
    EXPECT_TRUE(main->ended());
    EXPECT_EQ(main->result(), ui::DialogResult::Cancel);
}

// The adapter selector is filled and selected by discovery, which is no user pick; the user's
// own pick reopens the adapter.
TEST_F(MainWindowViewTest, OnlyTheUsersAdapterPickReopensTheAdapter) {
    main->initialise();
    ASSERT_TRUE(main->adapterOpen());
    ASSERT_GE(main->adapterSelector.selected(), 0);

    utility.bed.library->QvCloseAdapter(&utility.session.settings.adapter);
    // Programmatic: repainting the same selection does not reopen.
    main->adapterSelector.select(-1);
    main->adapterSelector.select(0);
    EXPECT_EQ(view->adapterSelector()->currentIndex(), 0);
    EXPECT_LT(utility.bed.library->QueryWL_DriverVersion(&utility.session.settings.adapter), 0)
        << "the adapter was reopened without a pick";

    Q_EMIT view->adapterSelector()->activated(0);
    EXPECT_GE(utility.bed.library->QueryWL_DriverVersion(&utility.session.settings.adapter), 0);
}

// Refresh has no use in the access-point view, which empties its caption: no blank button is
// left under the station list, and the station view brings the button back.
TEST_F(MainWindowViewTest, TheAccessPointViewLeavesNoBlankButton) {
    // A utility of its own that offers the access-point mode.
    Configuration configuration = testing::SimulatedUtility::simulatorConfiguration();
    configuration.enableAccessPoint = 1;
    testing::SimulatedUtility accessPoint(testing::settingsWorld(), configuration);
    ui::MainWindow& main = accessPoint.open();
    accessPoint.host.setMainWindow(&main);
    MainWindowView view(main, nullptr, QIcon());
    main.initialise();
    ASSERT_TRUE(main.modeSelector.visible());
    EXPECT_FALSE(view.refreshButton()->isHidden());

    main.modeSelector.select(ui::MainWindow::kModeAccessPoint);
    main.onModeSelected();
    ASSERT_EQ(main.listCaption.text(), "Connect Station List:");
    EXPECT_TRUE(view.refreshButton()->isHidden());

    main.modeSelector.select(ui::MainWindow::kModeStation);
    main.onModeSelected();
    EXPECT_FALSE(view.refreshButton()->isHidden());
    EXPECT_EQ(view.refreshButton()->text(), "Refresh");
}

// The window sizes itself to its contents: no maximise button, and a maximise asked for by
// other means (a window manager's key) leaves it as it was.
TEST_F(MainWindowViewTest, TheFixedWindowNeitherOffersNorTakesMaximising) {
    main->initialise();
    DialogWindow& window = view->window();
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    window.show();
    const QSize size = window.size();

    window.showMaximized();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.size(), size);
    EXPECT_FALSE(main->ended());
}

// The adapter's description can arrive after the window was first laid out (an empty one at
// first): the adapter box then grows, and the window with it, to show the name whole.
TEST_F(MainWindowViewTest, ADescriptionArrivingAfterTheFirstLayoutIsShownWhole) {
    main->initialise();
    main->adapterSelector.setItems({""});
    main->adapterSelector.select(0);
    view->window().show();
    QApplication::processEvents();
    const int firstWidth = view->window().width();

    const std::string name = "Nimbo K-540 Wireless USB Adapter, second generation (rev. B)";
    main->adapterSelector.setItems({name});
    main->adapterSelector.select(0);
    QApplication::processEvents();

    const QComboBox* box = view->adapterSelector();
    EXPECT_GT(box->width(), box->fontMetrics().horizontalAdvance(QString::fromStdString(name)));
    EXPECT_GT(view->window().width(), firstWidth);
}

// The station list's columns share the whole width of the list, and an SSID too long for its
// column can still be read whole in its tooltip; one that fits needs none.
TEST_F(MainWindowViewTest, TheColumnsFillTheListAndACutSsidShowsWholeInItsTooltip) {
    main->initialise();
    view->window().show();
    const std::string longSsid = "The Long Network Name Upstairs 2";
    main->networkList.removeAllRows();
    main->networkList.addRow({"Home", "80%"});
    main->networkList.addRow({longSsid, "40%"});
    QApplication::processEvents();

    QTreeWidget* list = view->networkList();
    ASSERT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
    EXPECT_GT(list->columnWidth(0), main->networkList.columns()[0].width);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->toolTip(0), "");
    EXPECT_EQ(list->topLevelItem(1)->toolTip(0).toStdString(), longSsid);
    EXPECT_EQ(list->topLevelItem(1)->toolTip(1), "");
}

}  // namespace
}  // namespace rizorivu::qt
