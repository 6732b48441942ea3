// The notification area on Qt: activations become the mouse events the tray logic expects, so
// that a double click opens the utility window exactly once and a single click does nothing;
// the five status pictures are there, distinct and drawn at panel sizes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>

#include "qt/QtTrayService.h"
#include "ui/CTrayIcon.h"

namespace rizorivu::qt {
namespace {

using MouseEvent = TrayService::MouseEvent;

// The Qt service as the tray logic would meet it on a desktop with a notification area: the
// offscreen platform has none, so only `available` is answered here; everything else is the
// service's own.
class DesktopTray final : public TrayService {
public:
    explicit DesktopTray(QtTrayService& service) : service_(service) {}
    bool available() const override { return true; }
    bool add(int iconIndex, const std::string& tooltip) override {
        return service_.add(iconIndex, tooltip);
    }
    void setIcon(int iconIndex) override { service_.setIcon(iconIndex); }
    void setTooltip(const std::string& tooltip) override { service_.setTooltip(tooltip); }
    void remove() override { service_.remove(); }
    int popUpMenu(const std::string&, int, const std::string&, int, int) override { return 0; }
    void setMouseHandler(std::function<void(MouseEvent)> handler) override {
        service_.setMouseHandler(std::move(handler));
    }
    void setMenu(const std::string& openText, int openCommand, const std::string& exitText,
                 int exitCommand, int defaultCommand) override {
        service_.setMenu(openText, openCommand, exitText, exitCommand, defaultCommand);
    }
    void setMenuHandler(std::function<void(int)> handler) override {
        service_.setMenuHandler(std::move(handler));
    }

private:
    QtTrayService& service_;
};

class QtTray : public ::testing::Test {
protected:
    std::vector<MouseEvent> eventsOf(QSystemTrayIcon::ActivationReason reason) {
        std::vector<MouseEvent> events;
        service.setMouseHandler([&](MouseEvent event) { events.push_back(event); });
        Q_EMIT service.systemTrayIcon().activated(reason);
        service.setMouseHandler(nullptr);
        return events;
    }

    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};
    QtTrayService service{false};  // an XEmbed tray, which reports double clicks
};

// Lets the event loop run for longer than the double-click interval.
void waitPastDoubleClickInterval(const QtTrayService& service) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < service.activationDelayMs() + 60) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// A tray logic on `service` that records what reached the main window.
struct TrayUser {
    explicit TrayUser(QtTrayService& service)
        : desktop(service),
          icon(desktop, "RIZorivu", 0, CTrayIcon::kOpenUtilityWindow, false,
               {[this](int command) { posted.push_back(command); }, [this] { ++raised; }}) {}

    DesktopTray desktop;
    std::vector<int> posted;
    int raised = 0;
    CTrayIcon icon;
};

TEST_F(QtTray, ActivationsBecomeTheMouseEventsOfTheTrayLogic) {
    EXPECT_EQ(eventsOf(QSystemTrayIcon::DoubleClick),
              (std::vector<MouseEvent>{MouseEvent::LeftDoubleClick, MouseEvent::LeftRelease}));
    EXPECT_EQ(eventsOf(QSystemTrayIcon::Trigger), std::vector<MouseEvent>{});
    EXPECT_EQ(eventsOf(QSystemTrayIcon::Context), std::vector<MouseEvent>{})
        << "Qt shows the context menu itself";
    EXPECT_EQ(eventsOf(QSystemTrayIcon::MiddleClick), std::vector<MouseEvent>{MouseEvent::Other});
}

TEST_F(QtTray, ADoubleClickOpensTheUtilityWindowExactlyOnce) {
    DesktopTray desktop(service);
    std::vector<int> posted;
    int raised = 0;
    CTrayIcon tray(desktop, "RIZorivu", 0, CTrayIcon::kOpenUtilityWindow, false,
                   {[&](int command) { posted.push_back(command); }, [&] { ++raised; }});
    ASSERT_TRUE(tray.enabled());

    // Platforms report the first click of a double click as a single click first.
    Q_EMIT service.systemTrayIcon().activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(posted.empty());
    Q_EMIT service.systemTrayIcon().activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(posted, std::vector<int>{CTrayIcon::kOpenUtilityWindow});
    EXPECT_EQ(raised, 1);
}

TEST_F(QtTray, ActivationOpensTheWindowOnlyWhereTheTrayCannotDoubleClick) {
    QApplication::setDoubleClickInterval(40);
    QtTrayService notifierItem(true);
    struct Case {
        const char* name;
        QtTrayService& service;
        std::vector<QSystemTrayIcon::ActivationReason> reasons;
        std::vector<int> posted;
    };
    const std::vector<int> open{CTrayIcon::kOpenUtilityWindow};
    const std::vector<Case> cases = {
        {"XEmbed single click", service, {QSystemTrayIcon::Trigger}, {}},
        {"XEmbed double click",
         service,
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick},
         open},
        {"StatusNotifierItem activation", notifierItem, {QSystemTrayIcon::Trigger}, open},
        {"StatusNotifierItem host that double-clicks after all",
         notifierItem,
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick},
         open},
        {"StatusNotifierItem secondary activation",
         notifierItem,
         {QSystemTrayIcon::MiddleClick},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrayUser user(c.service);
        for (const auto reason : c.reasons) {
            Q_EMIT c.service.systemTrayIcon().activated(reason);
        }
        waitPastDoubleClickInterval(c.service);
        EXPECT_EQ(user.posted, c.posted);
    }
}

TEST_F(QtTray, TheContextMenuIsQtsSoThatANotifierHostGetsItExported) {
    TrayUser user(service);
    user.icon.setMenuTexts("Öffnen", "Beenden");
    QMenu* menu = service.systemTrayIcon().contextMenu();
    ASSERT_EQ(menu, &service.menu());
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("Öffnen"));
    EXPECT_EQ(menu->actions()[1]->text(), "Beenden");
    EXPECT_EQ(menu->defaultAction(), menu->actions()[0]);
    user.icon.setDefaultItem(CTrayIcon::kExit, false);
    EXPECT_EQ(menu->defaultAction(), menu->actions()[1]);

    menu->actions()[1]->trigger();
    EXPECT_EQ(user.posted, std::vector<int>{CTrayIcon::kExit});
    menu->actions()[0]->trigger();
    EXPECT_EQ(user.posted, (std::vector<int>{CTrayIcon::kExit, CTrayIcon::kOpenUtilityWindow}));
    EXPECT_EQ(user.raised, 2);
}

TEST_F(QtTray, TheIconAndTooltipFollowTheLogic) {
    DesktopTray desktop(service);
    CTrayIcon tray(desktop, "RIZorivu", 0, CTrayIcon::kOpenUtilityWindow, false, {});
    tray.setIcon(3);
    tray.setTooltip("Access point");
    EXPECT_EQ(service.iconIndex(), 3);
    EXPECT_EQ(service.systemTrayIcon().toolTip(), "Access point");
    EXPECT_TRUE(service.systemTrayIcon().isVisible());
    tray.removeIcon();
    EXPECT_FALSE(service.systemTrayIcon().isVisible());
}

// The user works the menu with the keys once it has popped up; answers what the menu showed.
struct MenuUser {
    std::vector<Qt::Key> keys;
    QStringList texts;
    QString boldText;

    void playOnceOpen(QObject& context) {
        QMetaObject::invokeMethod(
            &context,
            [this] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu == nullptr) {
                    return;
                }
                for (const QAction* action : menu->actions()) {
                    texts.push_back(action->text());
                }
                boldText = menu->defaultAction() != nullptr ? menu->defaultAction()->text() : "";
                for (const Qt::Key key : keys) {
                    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                    QApplication::sendEvent(menu, &press);
                }
            },
            Qt::QueuedConnection);
    }
};

TEST_F(QtTray, TheMenuShowsBothItemsWithTheDefaultBoldAndAnswersTheChoice) {
    MenuUser exitPicker{{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, {}, {}};
    exitPicker.playOnceOpen(app_);
    EXPECT_EQ(service.popUpMenu("Öffnen", 32771, "Beenden", 32773, 32771), 32773);
    EXPECT_EQ(exitPicker.texts, (QStringList{QString::fromUtf8("Öffnen"), "Beenden"}));
    EXPECT_EQ(exitPicker.boldText, QString::fromUtf8("Öffnen"));

    MenuUser openPicker{{Qt::Key_Down, Qt::Key_Return}, {}, {}};
    openPicker.playOnceOpen(app_);
    EXPECT_EQ(service.popUpMenu("Open", 32771, "Exit", 32773, 32773), 32771);
    EXPECT_EQ(openPicker.boldText, "Exit");

    MenuUser nothing{{Qt::Key_Escape}, {}, {}};
    nothing.playOnceOpen(app_);
    EXPECT_EQ(service.popUpMenu("Open", 32771, "Exit", 32773, 32771), 0);
}

TEST_F(QtTray, TheFiveStatusPicturesAreDistinctAtEveryPanelSize) {
    const StatusIcons& icons = service.icons();
    for (const int size : {16, 22, 32, 48}) {
        std::vector<QImage> images;
        for (int index = 0; index < StatusIcons::kCount; ++index) {
            const QImage image = icons.icon(index).pixmap(size, size).toImage();
            ASSERT_EQ(image.width(), size) << "icon " << index;
            int opaque = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
                }
            }
            // Legible: a good part of the square is drawn.
            EXPECT_GT(opaque, size * size / 6) << "icon " << index << " at " << size;
            images.push_back(image);
        }
        for (int a = 0; a < StatusIcons::kCount; ++a) {
            for (int b = a + 1; b < StatusIcons::kCount; ++b) {
                EXPECT_NE(images[a], images[b]) << "icons " << a << " and " << b << " at " << size;
            }
        }
    }
}

TEST_F(QtTray, AnUnknownIndexShowsNotConnected) {
    EXPECT_EQ(service.icons().icon(7).pixmap(16, 16).toImage(),
              service.icons().icon(2).pixmap(16, 16).toImage());
}

}  // namespace
}  // namespace rizorivu::qt
