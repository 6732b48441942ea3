#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ui/Button.h"
#include "ui/DialogCode.h"
#include "ui/DialogEnvironment.h"
#include "ui/DialogResult.h"
#include "ui/Label.h"
#include "ui/MessageBox.h"

namespace rizorivu::ui {

// The base of every dialog: its code and its opener's code in the open-dialog chain, its
// window title, its one re-captioning routine, its end state, and the host it asks for
// everything a window system does. A dialog owns its controls as models and handles user
// actions in methods that its view calls; programmatic changes of its controls run no handler.
class Dialog {
public:
    Dialog(DialogCode code, const DialogEnvironment& environment);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    DialogCode code() const { return code_; }
    // The code of the dialog that opened this one; None until an opener sets it.
    DialogCode parentCode() const { return parentCode_; }
    void setParentCode(DialogCode parent) { parentCode_ = parent; }
    // The window title.
    Label& title() { return title_; }
    const Label& title() const { return title_; }

    // Called by the host when a modal run starts: clears the end state, takes the dialog's
    // slot in the chain and makes it the top dialog, re-captions, then onInitialise().
    void initialise();
    // Sets the title and the text of every captioned control through text(key, default).
    // Runs from initialise() and again whenever the language changes.
    virtual void recaption() = 0;

    // Window-system events, delivered by the host.
    virtual void onTimer(int timerId);
    // A command posted to the main window (see DialogHost::postCommand).
    virtual void onCommand(int commandId);
    // Enter presses the default button, when the dialog has one that is enabled and shown;
    // otherwise it does nothing, so that what the user typed is never thrown away.
    virtual void onOk();
    // Escape and the close box: the dialog ends as cancelled.
    virtual void onCancel();
    // The button Enter presses; null while Enter does nothing.
    const Button* defaultButton() const { return defaultButton_; }

    // Asks the host to leave the modal run with `result` once the current handler returns;
    // the rest of the handler still runs.
    void end(DialogResult result);
    bool ended() const { return ended_; }
    DialogResult result() const { return result_; }

protected:
    // The dialog's own opening steps, after it has been registered and re-captioned.
    virtual void onInitialise() {}

    // Opens `child` modally above this dialog: the child's parent code becomes this dialog's
    // code, and when it returns its slot is freed and this dialog is the top dialog again.
    DialogResult runChild(Dialog& child);

    // Makes `button` the default button, whose press runs `press`; the previous default button
    // stops being one.
    void setDefaultButton(Button& button, std::function<void()> press);
    // The settings dialogs' state button is the default button while they edit ("Apply"), so
    // that Enter applies what was typed; while they only show values, Enter does nothing.
    void offerStateButton(bool editing, Button& stateButton, std::function<void()> press);

    std::string text(std::string_view key, std::string_view defaultText) const;
    MessageAnswer ask(const MessageBox& box);
    // A period below the floor (0 or a non-number in the configuration file) would make a
    // timer that fires without pause and keeps a core busy: it runs at the floor instead.
    static constexpr int kMinimumTimerPeriodMs = 10;
    void startTimer(int timerId, int periodMs);
    void killTimer(int timerId);

    DialogHost& host() const { return host_; }
    OpenDialogChain& chain() const { return chain_; }
    const LocalizedText& texts() const { return texts_; }

private:
    const DialogCode code_;
    DialogCode parentCode_ = DialogCode::None;
    DialogHost& host_;
    OpenDialogChain& chain_;
    const LocalizedText& texts_;
    Label title_;
    Button* defaultButton_ = nullptr;
    std::function<void()> pressDefault_;
    bool ended_ = false;
    DialogResult result_ = DialogResult::Closed;
};

}  // namespace rizorivu::ui
