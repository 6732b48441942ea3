#pragma once

#include <optional>

#include "ui/DialogHost.h"

namespace rizorivu {

// The dialog host as the session's windows use it, with one message box kept for the first
// time the main window is shown: the main window starts hidden in the notification area, so
// that is when the user first looks at the utility. Everything else goes to the host itself.
class FirstOpeningNotice final : public ui::DialogHost {
public:
    FirstOpeningNotice(ui::DialogHost& host, std::optional<ui::MessageBox> notice)
        : host_(host), notice_(std::move(notice)) {}

    // The main window, which owns the message box; until it is known nothing is shown.
    void setOwner(ui::Dialog& owner) { owner_ = &owner; }
    bool pending() const { return notice_.has_value(); }

    ui::DialogResult runModal(ui::Dialog& dialog) override { return host_.runModal(dialog); }
    void endDialog(ui::Dialog& dialog, ui::DialogResult result) override {
        host_.endDialog(dialog, result);
    }
    void forget(const ui::Dialog& dialog) override;
    ui::MessageAnswer showMessage(ui::Dialog& owner, const ui::MessageBox& box) override {
        return host_.showMessage(owner, box);
    }
    void startTimer(ui::Dialog& owner, int timerId, int periodMs) override {
        host_.startTimer(owner, timerId, periodMs);
    }
    void killTimer(ui::Dialog& owner, int timerId) override { host_.killTimer(owner, timerId); }
    void postCommand(int commandId) override { host_.postCommand(commandId); }
    void showMainWindow() override;
    void hideMainWindow() override { host_.hideMainWindow(); }
    void centreMainWindow() override { host_.centreMainWindow(); }
    void raiseMainWindow() override { host_.raiseMainWindow(); }
    void moveMainWindow(int x, int y) override { host_.moveMainWindow(x, y); }

private:
    ui::DialogHost& host_;
    std::optional<ui::MessageBox> notice_;
    ui::Dialog* owner_ = nullptr;
};

}  // namespace rizorivu
