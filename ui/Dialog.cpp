#include "ui/Dialog.h"

#include <algorithm>

#include "settings/LocalizedText.h"
#include "ui/DialogHost.h"
#include "ui/OpenDialogChain.h"

namespace rizorivu::ui {

Dialog::Dialog(DialogCode code, const DialogEnvironment& environment)
    : code_(code), host_(environment.host), chain_(environment.chain), texts_(environment.texts) {}

Dialog::~Dialog() {
    chain_.leave(*this);
    host_.forget(*this);
}

void Dialog::initialise() {
    ended_ = false;
    result_ = DialogResult::Closed;
    chain_.enter(*this);
    recaption();
    onInitialise();
}

void Dialog::onTimer(int) {}

void Dialog::onCommand(int) {}

void Dialog::onOk() {
    if (defaultButton_ != nullptr && defaultButton_->enabled() && defaultButton_->visible() &&
        pressDefault_) {
        pressDefault_();
    }
}

void Dialog::onCancel() {
    end(DialogResult::Cancel);
}

void Dialog::setDefaultButton(Button& button, std::function<void()> press) {
    if (defaultButton_ != nullptr && defaultButton_ != &button) {
        defaultButton_->setDefault(false);
    }
    defaultButton_ = &button;
    pressDefault_ = std::move(press);
    button.setDefault(true);
}

void Dialog::offerStateButton(bool editing, Button& stateButton, std::function<void()> press) {
    if (editing) {
        setDefaultButton(stateButton, std::move(press));
        return;
    }
    if (defaultButton_ != nullptr) {
        defaultButton_->setDefault(false);
    }
    defaultButton_ = nullptr;
    pressDefault_ = nullptr;
}

void Dialog::end(DialogResult result) {
    ended_ = true;
    result_ = result;
    host_.endDialog(*this, result);
}

DialogResult Dialog::runChild(Dialog& child) {
    child.setParentCode(code_);
    const DialogResult result = host_.runModal(child);
    chain_.leave(child);
    chain_.setTop(code_);
    return result;
}

std::string Dialog::text(std::string_view key, std::string_view defaultText) const {
    return texts_.text(key, defaultText);
}

MessageAnswer Dialog::ask(const MessageBox& box) {
    return host_.showMessage(*this, box);
}

void Dialog::startTimer(int timerId, int periodMs) {
    host_.startTimer(*this, timerId, std::max(periodMs, kMinimumTimerPeriodMs));
}

void Dialog::killTimer(int timerId) {
    host_.killTimer(*this, timerId);
}

}  // namespace rizorivu::ui
