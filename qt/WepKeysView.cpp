#include "qt/WepKeysView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "qt/TabOrder.h"

namespace rizorivu::qt {

namespace {

// Room for the 58 digits of a 256-bit key.
constexpr int kKeyFieldWidth = 420;

}  // namespace

WepKeysView::WepKeysView(ui::WepKeysDialog& model, QWidget* parent)
    : DialogView(model, parent),
      model_(model),
      frame_(model.frame, &window()),
      lengthLabel_(model.lengthLabel, &window()),
      lengthRadios_(model.lengthRadios, &window(), [this] { model_.onLengthChosen(); }),
      transmitKeyLabel_(model.transmitKeyLabel, &window()),
      transmitKeyList_(model.transmitKeyList, &window(), nullptr),
      formatLabel_(model.formatLabel, &window()),
      formatRadios_(model.formatRadios, &window(), [this] { model_.onFormatChosen(); }),
      valueLabel_(model.valueLabel, &window()),
      stateButton_(model.stateButton, &window(), [this] { model_.onStateButton(); }) {
    for (int i = 0; i < ui::WepKeysDialog::kKeys; ++i) {
        keyLabels_[i] = std::make_unique<LabelBinding>(model.keyLabels[i], &window());
        keyFields_[i] = std::make_unique<TextFieldBinding>(model.keyFields[i], &window(),
                                                           [this, i] { model_.onKeyEdited(i); });
    }
    layOut();
}

void WepKeysView::layOut() {
    auto* grid = new QGridLayout(frame_.widget());
    grid->addWidget(lengthLabel_.widget(), 0, 0);
    auto* lengths = new QHBoxLayout;
    for (int i = 0; i < lengthRadios_.count(); ++i) {
        lengths->addWidget(lengthRadios_.button(i));
    }
    lengths->addStretch(1);
    grid->addLayout(lengths, 0, 1);
    grid->addWidget(transmitKeyLabel_.widget(), 1, 0);
    grid->addWidget(transmitKeyList_.widget(), 1, 1, Qt::AlignLeft);
    grid->addWidget(formatLabel_.widget(), 2, 0);
    auto* formats = new QHBoxLayout;
    for (int i = 0; i < formatRadios_.count(); ++i) {
        formats->addWidget(formatRadios_.button(i));
    }
    formats->addStretch(1);
    grid->addLayout(formats, 2, 1);
    grid->addWidget(valueLabel_.widget(), 3, 0, 1, 2);
    for (int i = 0; i < ui::WepKeysDialog::kKeys; ++i) {
        grid->addWidget(keyLabels_[i]->widget(), 4 + i, 0, Qt::AlignRight);
        grid->addWidget(keyFields_[i]->widget(), 4 + i, 1);
        keyFields_[i]->widget()->setMinimumWidth(kKeyFieldWidth);
    }
    grid->addWidget(stateButton_.widget(), 8, 1, Qt::AlignRight);

    auto* page = new QVBoxLayout(&window());
    page->addWidget(frame_.widget());
    page->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder({lengthRadios_.button(0), lengthRadios_.button(1), lengthRadios_.button(2),
                 transmitKeyList_.widget(), formatRadios_.button(0), formatRadios_.button(1),
                 keyFields_[0]->widget(), keyFields_[1]->widget(), keyFields_[2]->widget(),
                 keyFields_[3]->widget(), stateButton_.widget()});
}

}  // namespace rizorivu::qt
