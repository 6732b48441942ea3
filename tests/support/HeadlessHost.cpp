#include "tests/support/HeadlessHost.h"

#include <algorithm>

namespace rizorivu::testing {

using ui::Dialog;
using ui::DialogCode;
using ui::DialogResult;
using ui::MessageAnswer;
using ui::MessageButtons;

namespace {

std::string nameOf(DialogCode code) {
    return "dialog " + std::to_string(ui::toInt(code));
}

}  // namespace

void HeadlessHost::script(DialogCode code, UserScript user) {
    scripts_[code].push_back(std::move(user));
}

HeadlessHost::UserScript HeadlessHost::endWith(DialogResult result) {
    return [result](Dialog& dialog, HeadlessHost&) { dialog.end(result); };
}

std::size_t HeadlessHost::pendingScripts(DialogCode code) const {
    const auto it = scripts_.find(code);
    return it == scripts_.end() ? 0 : it->second.size();
}

void HeadlessHost::answer(MessageAnswer answer) {
    answers_.push_back(answer);
}

bool HeadlessHost::tick(int timerId) {
    // Latest started first, as the most recent SetTimer is the one a test means.
    for (auto it = timers_.rbegin(); it != timers_.rend(); ++it) {
        if (it->id == timerId && it->running) {
            // The handler may start or kill timers, so the entry is not used afterwards.
            Dialog* owner = it->owner;
            owner->onTimer(timerId);
            return true;
        }
    }
    return false;
}

int HeadlessHost::deliverPosted() {
    int delivered = 0;
    for (;;) {
        int command = 0;
        {
            const std::lock_guard lock(postedLock_);
            if (posted_.empty()) {
                break;
            }
            if (delivered == kMaxDeliveries) {
                error("posted commands keep posting more; delivery stopped");
                return delivered;
            }
            command = posted_.front();
            posted_.pop_front();
        }
        if (main_ == nullptr) {
            error("command " + std::to_string(command) + " posted with no main window");
            continue;
        }
        main_->onCommand(command);
        ++delivered;
    }
    return delivered;
}

std::vector<DialogCode> HeadlessHost::running() const {
    std::vector<DialogCode> codes;
    for (const Dialog* dialog : stack_) {
        codes.push_back(dialog->code());
    }
    return codes;
}

const HeadlessHost::Timer* HeadlessHost::timer(int timerId) const {
    for (auto it = timers_.rbegin(); it != timers_.rend(); ++it) {
        if (it->id == timerId) {
            return &*it;
        }
    }
    return nullptr;
}

DialogResult HeadlessHost::runModal(Dialog& dialog) {
    runs_.push_back({dialog.code(), dialog.parentCode()});
    stack_.push_back(&dialog);
    Dialog* const previousMain = main_;
    const bool isMain = dialog.code() == DialogCode::Main;
    if (isMain) {
        main_ = &dialog;
    }

    dialog.initialise();
    if (isMain) {
        mainWindowState_.visible = true;
    }
    // A dialog that ended itself while initialising never meets its user.
    if (!dialog.ended()) {
        if (UserScript user = takeScript(dialog.code())) {
            user(dialog, *this);
            if (!dialog.ended()) {
                error(nameOf(dialog.code()) + " was left running by its script");
            }
        } else {
            error(nameOf(dialog.code()) + " ran with no script");
        }
    }
    if (!dialog.ended()) {
        dialog.end(DialogResult::Cancel);
    }

    // The window goes, and its timers with it.
    stopTimersOf(dialog);
    stack_.pop_back();
    if (isMain) {
        main_ = previousMain;
        mainWindowState_.visible = false;
    }
    return dialog.result();
}

void HeadlessHost::endDialog(Dialog& dialog, DialogResult result) {
    endings_.push_back({dialog.code(), result});
}

void HeadlessHost::forget(const Dialog& dialog) {
    std::erase_if(timers_, [&dialog](const Timer& t) { return t.owner == &dialog; });
    if (main_ == &dialog) {
        main_ = nullptr;
    }
    if (std::find(stack_.begin(), stack_.end(), &dialog) != stack_.end()) {
        error(nameOf(dialog.code()) + " was destroyed during its modal run");
    }
}

MessageAnswer HeadlessHost::showMessage(Dialog& owner, const ui::MessageBox& box) {
    const bool scripted = !answers_.empty();
    MessageAnswer answer = unscriptedAnswer_;
    if (scripted) {
        answer = answers_.front();
        answers_.pop_front();
    } else {
        unscriptedMessageAsked_ = true;
    }
    if (!ui::offers(box.buttons, answer)) {
        if (scripted) {
            error("scripted answer not offered by message box \"" + box.caption + "\"");
        }
        answer = box.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    messages_.push_back({owner.code(), box, answer, scripted});
    return answer;
}

void HeadlessHost::startTimer(Dialog& owner, int timerId, int periodMs) {
    timerEvents_.push_back({owner.code(), timerId, periodMs, true});
    for (Timer& t : timers_) {
        if (t.owner == &owner && t.id == timerId) {
            t.periodMs = periodMs;
            t.running = true;
            return;
        }
    }
    timers_.push_back({&owner, owner.code(), timerId, periodMs, true});
}

void HeadlessHost::killTimer(Dialog& owner, int timerId) {
    timerEvents_.push_back({owner.code(), timerId, 0, false});
    for (Timer& t : timers_) {
        if (t.owner == &owner && t.id == timerId) {
            t.running = false;
        }
    }
}

void HeadlessHost::postCommand(int commandId) {
    const std::lock_guard lock(postedLock_);
    posted_.push_back(commandId);
}

std::deque<int> HeadlessHost::posted() const {
    const std::lock_guard lock(postedLock_);
    return posted_;
}

void HeadlessHost::showMainWindow() {
    mainWindowState_.visible = true;
}

void HeadlessHost::hideMainWindow() {
    mainWindowState_.visible = false;
}

void HeadlessHost::centreMainWindow() {
    mainWindowState_.x = (kScreenWidth - kMainWidth) / 2;
    mainWindowState_.y = (kScreenHeight - kMainHeight) / 2;
    mainWindowState_.centred = true;
}

void HeadlessHost::raiseMainWindow() {
    ++mainWindowState_.raiseCount;
}

void HeadlessHost::moveMainWindow(int x, int y) {
    mainWindowState_.x = x;
    mainWindowState_.y = y;
    mainWindowState_.centred = false;
}

HeadlessHost::UserScript HeadlessHost::takeScript(DialogCode code) {
    const auto it = scripts_.find(code);
    if (it == scripts_.end() || it->second.empty()) {
        return nullptr;
    }
    UserScript user = std::move(it->second.front());
    it->second.pop_front();
    return user;
}

void HeadlessHost::stopTimersOf(const Dialog& dialog) {
    for (Timer& t : timers_) {
        if (t.owner == &dialog) {
            t.running = false;
        }
    }
}

void HeadlessHost::error(std::string message) {
    errors_.push_back(std::move(message));
}

}  // namespace rizorivu::testing
