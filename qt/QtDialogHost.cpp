#include "qt/QtDialogHost.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace rizorivu::qt {

namespace {

bool onSomeScreen(const QRect& frame) {
    return QGuiApplication::screenAt(frame.topLeft()) != nullptr ||
           QGuiApplication::screenAt(frame.bottomRight()) != nullptr;
}

}  // namespace

QtDialogHost::QtDialogHost(ViewFactory factory) : factory_(std::move(factory)) {}

QtDialogHost::~QtDialogHost() {
    for (auto& [key, timer] : timers_) {
        delete timer.data();
    }
}

QtDialogHost::Run* QtDialogHost::runOf(const ui::Dialog& dialog) {
    for (auto it = runs_.rbegin(); it != runs_.rend(); ++it) {
        if ((*it)->dialog == &dialog) {
            return it->get();
        }
    }
    return nullptr;
}

DialogWindow* QtDialogHost::windowOf(const ui::Dialog& dialog) const {
    for (auto it = runs_.rbegin(); it != runs_.rend(); ++it) {
        if ((*it)->dialog == &dialog) {
            return &(*it)->view->window();
        }
    }
    return nullptr;
}

DialogWindow* QtDialogHost::mainDialogWindow() const {
    return main_ == nullptr ? nullptr : windowOf(*main_);
}

bool QtDialogHost::unwinding() const {
    return std::any_of(runs_.begin(), runs_.end(),
                       [](const auto& run) { return run->dialog->ended(); });
}

ui::DialogResult QtDialogHost::runModal(ui::Dialog& dialog) {
    // Shown now, it would hold up the runs beneath it until the user closed it.
    if (unwinding()) {
        return ui::DialogResult::Closed;
    }
    QWidget* parent = runs_.empty() ? nullptr : &runs_.back()->view->window();
    std::unique_ptr<DialogView> view = factory_.create(dialog, parent);
    if (!view) {
        view = std::make_unique<DialogView>(dialog, parent);
    }
    QEventLoop loop;
    runs_.push_back(std::make_unique<Run>(Run{&dialog, std::move(view), &loop}));
    DialogWindow& window = runs_.back()->view->window();

    ui::Dialog* const previousMain = main_;
    const bool isMain = dialog.code() == ui::DialogCode::Main;
    if (isMain) {
        main_ = &dialog;
        mainParked_ = false;
    } else {
        // Modal to the windows beneath it only: the tray icon's window stays live.
        window.setWindowModality(Qt::WindowModal);
    }

    dialog.initialise();
    // A dialog that ended itself while initialising is never shown.
    if (!dialog.ended()) {
        if (isMain) {
            // As a modal dialog does, the main window shows once initialised, whatever the
            // initialisation did; only later calls hide it.
            mainShown_ = true;
            placeMainWindow();
        } else {
            window.show();
            window.raise();
            window.activateWindow();
        }
        loop.exec(QEventLoop::DialogExec);
    }

    stopTimersOf(dialog);
    window.hide();
    if (isMain) {
        main_ = previousMain;
        mainShown_ = false;
    }
    // The run may not be the last one any more only if a nested run is still unwinding,
    // which the nested event loops rule out; search anyway rather than trust the order.
    const auto it = std::find_if(runs_.begin(), runs_.end(),
                                 [&dialog](const auto& run) { return run->dialog == &dialog; });
    if (it != runs_.end()) {
        runs_.erase(it);
    }
    return dialog.result();
}

void QtDialogHost::endDialog(ui::Dialog& dialog, ui::DialogResult) {
    const auto it = std::find_if(runs_.begin(), runs_.end(),
                                 [&dialog](const auto& run) { return run->dialog == &dialog; });
    if (it == runs_.end()) {
        return;
    }
    Run* run = it->get();
    // A message box asked in this run or above it would keep its loop, and so this run's,
    // waiting for an answer.
    const auto level = static_cast<std::size_t>(it - runs_.begin());
    for (const OpenBox& box : boxes_) {
        if (box.runsBelow > level && box.window) {
            box.window->done(QDialog::Rejected);
        }
    }
    run->view->window().hide();
    // The loop returns once the handler that ended the dialog has returned to it (or, for an
    // outer run, once the runs above it have unwound).
    run->loop->exit(0);
}

void QtDialogHost::forget(const ui::Dialog& dialog) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first == &dialog) {
            if (QTimer* timer = it->second) {
                timer->stop();
                timer->disconnect();
                // Perhaps inside this very timer's handler: let the event loop delete it.
                timer->deleteLater();
            }
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
    if (main_ == &dialog) {
        main_ = nullptr;
    }
}

ui::MessageAnswer QtDialogHost::showMessage(ui::Dialog& owner, const ui::MessageBox& box) {
    if (unwinding()) {
        return box.buttons == ui::MessageButtons::YesNo ? ui::MessageAnswer::No
                                                        : ui::MessageAnswer::Ok;
    }
    DialogWindow* ownerWindow = windowOf(owner);
    QWidget* parent = ownerWindow != nullptr && ownerWindow->isVisible() ? ownerWindow : nullptr;
    MessageBoxWindow message(box, parent);
    message.setWindowModality(Qt::WindowModal);
    boxes_.push_back({&message, runs_.size()});
    const int result = message.exec();
    boxes_.erase(
        std::remove_if(boxes_.begin(), boxes_.end(),
                       [&message](const OpenBox& open) { return open.window == &message; }),
        boxes_.end());
    return message.answer(result);
}

void QtDialogHost::startTimer(ui::Dialog& owner, int timerId, int periodMs) {
    QPointer<QTimer>& timer = timers_[{&owner, timerId}];
    if (!timer) {
        timer = new QTimer;
        ui::Dialog* dialog = &owner;
        QObject::connect(timer, &QTimer::timeout, timer,
                         [dialog, timerId] { dialog->onTimer(timerId); });
    }
    timer->start(std::max(periodMs, 0));
}

void QtDialogHost::killTimer(ui::Dialog& owner, int timerId) {
    const auto it = timers_.find({&owner, timerId});
    if (it != timers_.end() && it->second) {
        // Stopped, not deleted: the handler now running may be this timer's.
        it->second->stop();
    }
}

bool QtDialogHost::timerRunning(const ui::Dialog& owner, int timerId) const {
    const auto it = timers_.find({&owner, timerId});
    return it != timers_.end() && it->second && it->second->isActive();
}

void QtDialogHost::stopTimersOf(const ui::Dialog& dialog) {
    for (auto& [key, timer] : timers_) {
        if (key.first == &dialog && timer) {
            timer->stop();
        }
    }
}

void QtDialogHost::postCommand(int commandId) {
    QMetaObject::invokeMethod(
        &queue_,
        [this, commandId] {
            if (main_ != nullptr) {
                main_->onCommand(commandId);
            }
        },
        Qt::QueuedConnection);
}

void QtDialogHost::placeMainWindow() {
    DialogWindow* window = mainDialogWindow();
    if (window == nullptr) {
        return;
    }
    if (mainShown_ && !mainParked_) {
        // Minimised and then hidden by its model: it comes back as it was before. The state
        // is changed only now, on a window that has long been unmapped.
        if (window->isMinimized() && !window->isVisible()) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        }
        window->show();
    } else {
        window->hide();
    }
}

void QtDialogHost::showMainWindow() {
    mainShown_ = true;
    placeMainWindow();
}

void QtDialogHost::hideMainWindow() {
    mainShown_ = false;
    placeMainWindow();
}

void QtDialogHost::centreMainWindow() {
    DialogWindow* window = mainDialogWindow();
    if (window == nullptr) {
        return;
    }
    QScreen* screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        window->adjustSize();
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    mainParked_ = false;
    placeMainWindow();
}

void QtDialogHost::raiseMainWindow() {
    // The main window first, then what is open above it in the order it was opened, so that
    // the window waiting for the user ends in front.
    std::vector<QWidget*> windows;
    bool aboveMain = false;
    for (const auto& run : runs_) {
        aboveMain = aboveMain || run->dialog == main_;
        if (aboveMain) {
            windows.push_back(&run->view->window());
        }
    }
    for (const OpenBox& box : boxes_) {
        if (box.window) {
            windows.push_back(box.window);
        }
    }
    for (QWidget* window : windows) {
        if (!window->isVisible()) {
            continue;
        }
        if (window->isMinimized()) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        }
        window->raise();
        window->activateWindow();
    }
}

void QtDialogHost::moveMainWindow(int x, int y) {
    DialogWindow* window = mainDialogWindow();
    if (window == nullptr) {
        return;
    }
    window->move(x, y);
    mainParked_ = !onSomeScreen(QRect(QPoint(x, y), window->frameGeometry().size()));
    placeMainWindow();
}

}  // namespace rizorivu::qt
