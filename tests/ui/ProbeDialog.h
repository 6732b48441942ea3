#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/PrivateProfile.h"
#include "settings/LocalizedText.h"
#include "tests/support/HeadlessHost.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/OpenDialogChain.h"

namespace rizorivu::testing {

// What a dialog needs, with a headless host. Declared before the dialogs of a test, so that
// it outlives them.
struct DialogBed {
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    LocalizedText texts{profile};
    HeadlessHost host;
    ui::OpenDialogChain chain;
    ui::DialogEnvironment environment{host, chain, texts};
};

// A dialog for the framework's own tests: it records what happens to it, in a log it may
// share with other probes ("<code>:<event>"), and lets a test attach actions to its events.
class ProbeDialog : public ui::Dialog {
public:
    ProbeDialog(ui::DialogCode code, const ui::DialogEnvironment& environment,
                std::vector<std::string>* log = nullptr)
        : ui::Dialog(code, environment), log_(log) {}

    void recaption() override {
        const std::string n = std::to_string(ui::toInt(code()));
        title().setText(text("Probe_Title_" + n, "Probe " + n));
        caption.setText(text("Probe_Caption", "Name:"));
        note("recaption");
    }
    void onTimer(int timerId) override {
        ticks.push_back(timerId);
        if (timerAction) {
            timerAction(timerId);
        }
    }
    void onCommand(int commandId) override {
        commands.push_back(commandId);
        if (commandAction) {
            commandAction(commandId);
        }
    }

    // User handlers.
    void onNameEdited() { ++nameEdits; }
    void onChoicePicked() { ++choicePicks; }
    ui::DialogResult openChild(ui::Dialog& child) { return runChild(child); }

    using ui::Dialog::ask;
    using ui::Dialog::chain;
    using ui::Dialog::killTimer;
    using ui::Dialog::startTimer;

    ui::Label caption;
    ui::TextField name;
    ui::DropDownList choice;

    std::function<void()> initialiseAction;
    std::function<void(int)> timerAction;
    std::function<void(int)> commandAction;
    std::vector<int> ticks;
    std::vector<int> commands;
    int nameEdits = 0;
    int choicePicks = 0;

protected:
    void onInitialise() override {
        note("initialise");
        if (initialiseAction) {
            initialiseAction();
        }
    }

private:
    void note(const std::string& event) {
        if (log_ != nullptr) {
            log_->push_back(std::to_string(ui::toInt(code())) + ":" + event);
        }
    }

    std::vector<std::string>* log_;
};

}  // namespace rizorivu::testing
