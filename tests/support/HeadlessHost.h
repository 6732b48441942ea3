#pragma once

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ui/Dialog.h"
#include "ui/DialogHost.h"

namespace rizorivu::testing {

// A window system without windows, for tests. The "user" of each modal run is a script queued
// for the dialog's code; message boxes answer from a queue; timers run only when a test ticks
// them; posted commands wait until the test delivers them; the main window's placement is
// kept as state. What a real user or window system could not have done (a dialog its script
// left open, an answer the box does not offer, a command with no main window to take it) is
// handled sensibly and recorded in errors(). A box nobody scripted is not an error: it gets
// the unscripted answer and is flagged.
class HeadlessHost final : public ui::DialogHost {
public:
    // Acts as the user of one modal run: calls the dialog's handlers, opens children, ticks
    // timers, and ends the dialog.
    using UserScript = std::function<void(ui::Dialog&, HeadlessHost&)>;

    struct AskedMessage {
        ui::DialogCode owner;
        ui::MessageBox box;
        ui::MessageAnswer answer;
        bool scripted;
    };

    struct Timer {
        ui::Dialog* owner;
        ui::DialogCode ownerCode;
        int id;
        int periodMs;
        bool running;
    };

    struct TimerEvent {
        ui::DialogCode owner;
        int id;
        int periodMs;  // 0 for a kill
        bool started;
    };

    struct Run {
        ui::DialogCode code;
        ui::DialogCode parent;
    };

    struct Ending {
        ui::DialogCode code;
        ui::DialogResult result;
    };

    // As with a real modal dialog, the main window shows once its initialisation is over,
    // whatever that initialisation did; only later calls can hide it.
    struct MainWindowState {
        bool visible = false;
        int x = 0;
        int y = 0;
        bool centred = false;
        int raiseCount = 0;
    };

    // The screen and main window sizes that centring works with.
    static constexpr int kScreenWidth = 1024;
    static constexpr int kScreenHeight = 768;
    static constexpr int kMainWidth = 400;
    static constexpr int kMainHeight = 300;

    HeadlessHost() = default;
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    // --- scripting
    void script(ui::DialogCode code, UserScript user);
    // A script for a concrete dialog type; a run of another type is an error.
    template <class D>
    void script(ui::DialogCode code, std::function<void(D&, HeadlessHost&)> user);
    // A script that only ends the dialog, as the close box or a button would.
    static UserScript endWith(ui::DialogResult result);
    std::size_t pendingScripts(ui::DialogCode code) const;

    void answer(ui::MessageAnswer answer);
    // The answer to a box nobody scripted; when the box does not offer it, its first button
    // answers, as Enter would.
    void setUnscriptedAnswer(ui::MessageAnswer answer) { unscriptedAnswer_ = answer; }
    std::size_t pendingAnswers() const { return answers_.size(); }

    // For tests that drive a main window without running it modally.
    void setMainWindow(ui::Dialog* main) { main_ = main; }
    ui::Dialog* mainWindow() const { return main_; }

    // --- driving
    // Runs the timer handler of the running timer `timerId` (the latest started if several
    // dialogs have one); false when no such timer runs.
    bool tick(int timerId);
    // Delivers the queued commands to the main window in order, including those posted while
    // delivering; answers how many were delivered.
    int deliverPosted();

    // --- records
    const std::vector<AskedMessage>& messages() const { return messages_; }
    bool unscriptedMessageAsked() const { return unscriptedMessageAsked_; }
    const std::vector<Run>& runs() const { return runs_; }
    const std::vector<Ending>& endings() const { return endings_; }
    // Codes of the dialogs whose modal runs are in progress, outermost first.
    std::vector<ui::DialogCode> running() const;
    const Timer* timer(int timerId) const;
    const std::vector<TimerEvent>& timerEvents() const { return timerEvents_; }
    // Commands may be posted from another thread (the WPA worker's notices).
    std::deque<int> posted() const;
    const MainWindowState& mainWindowState() const { return mainWindowState_; }
    const std::vector<std::string>& errors() const { return errors_; }

    // --- ui::DialogHost
    ui::DialogResult runModal(ui::Dialog& dialog) override;
    void endDialog(ui::Dialog& dialog, ui::DialogResult result) override;
    void forget(const ui::Dialog& dialog) override;
    ui::MessageAnswer showMessage(ui::Dialog& owner, const ui::MessageBox& box) override;
    void startTimer(ui::Dialog& owner, int timerId, int periodMs) override;
    void killTimer(ui::Dialog& owner, int timerId) override;
    void postCommand(int commandId) override;
    void showMainWindow() override;
    void hideMainWindow() override;
    void centreMainWindow() override;
    void raiseMainWindow() override;
    void moveMainWindow(int x, int y) override;

private:
    // Posted commands that keep posting more give up after this many in one delivery.
    static constexpr int kMaxDeliveries = 10000;

    UserScript takeScript(ui::DialogCode code);
    void stopTimersOf(const ui::Dialog& dialog);
    void error(std::string message);

    std::map<ui::DialogCode, std::deque<UserScript>> scripts_;
    std::deque<ui::MessageAnswer> answers_;
    ui::MessageAnswer unscriptedAnswer_ = ui::MessageAnswer::Ok;
    bool unscriptedMessageAsked_ = false;
    std::vector<AskedMessage> messages_;
    std::vector<ui::Dialog*> stack_;
    std::vector<Run> runs_;
    std::vector<Ending> endings_;
    std::vector<Timer> timers_;
    std::vector<TimerEvent> timerEvents_;
    mutable std::mutex postedLock_;
    std::deque<int> posted_;
    ui::Dialog* main_ = nullptr;
    MainWindowState mainWindowState_;
    std::vector<std::string> errors_;
};

template <class D>
void HeadlessHost::script(ui::DialogCode code, std::function<void(D&, HeadlessHost&)> user) {
    script(code, [this, code, user = std::move(user)](ui::Dialog& dialog, HeadlessHost& host) {
        if (auto* typed = dynamic_cast<D*>(&dialog)) {
            user(*typed, host);
        } else {
            error("the script for dialog " + std::to_string(ui::toInt(code)) +
                  " expected another dialog type");
        }
    });
}

}  // namespace rizorivu::testing
