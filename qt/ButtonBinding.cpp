#include "qt/ButtonBinding.h"

#include "qt/ControlState.h"
#include "qt/PushButton.h"
#include "qt/QtText.h"

namespace rizorivu::qt {

ButtonBinding::ButtonBinding(ui::Button& model, QWidget* parent, std::function<void()> onPressed,
                             Captionless captionless)
    : model_(model),
      onPressed_(std::move(onPressed)),
      captionless_(captionless),
      widget_(new PushButton(parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    // Qt's own choice of a default button (the first auto-default one) would draw a default
    // where the model has none.
    widget_->setAutoDefault(false);
    widget_->setDefault(model_.isDefault());
    widget_->setText(toQString(model_.text()));
    applyEnabled(*widget_, model_);
    showVisible();
    QObject::connect(widget_, &QPushButton::clicked, widget_, [this] {
        if (onPressed_) {
            onPressed_();
        }
    });
}

void ButtonBinding::showVisible() {
    const bool blank = captionless_ == Captionless::Hidden && model_.text().empty();
    widget_->setHidden(!model_.visible() || blank);
}

void ButtonBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Text:
            widget_->setText(toQString(model_.text()));
            showVisible();
            break;
        case ui::Change::Visible:
            showVisible();
            break;
        case ui::Change::Style:
            widget_->setDefault(model_.isDefault());
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
