#include "qt/InformationView.h"

#include <QGridLayout>

namespace rizorivu::qt {

InformationView::InformationView(ui::InformationDialog& model, QWidget* parent)
    : DialogView(model, parent),
      model_(model),
      heading_(model.heading, &window()),
      driverLabel_(model.driverLabel, &window()),
      driverValue_(model.driverValue, &window()),
      utilityLabel_(model.utilityLabel, &window()),
      utilityValue_(model.utilityValue, &window()),
      macLabel_(model.macLabel, &window()),
      macValue_(model.macValue, &window()),
      okButton_(model.okButton, &window(), [this] { model_.onOk(); }) {
    layOut();
}

void InformationView::layOut() {
    auto* grid = new QGridLayout(&window());
    grid->addWidget(heading_.widget(), 0, 0, 1, 2, Qt::AlignHCenter);
    grid->addWidget(driverLabel_.widget(), 1, 0);
    grid->addWidget(driverValue_.widget(), 1, 1);
    grid->addWidget(utilityLabel_.widget(), 2, 0);
    grid->addWidget(utilityValue_.widget(), 2, 1);
    grid->addWidget(macLabel_.widget(), 3, 0);
    grid->addWidget(macValue_.widget(), 3, 1);
    grid->addWidget(okButton_.widget(), 4, 0, 1, 2, Qt::AlignHCenter);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    for (QLabel* value : {driverValue_.widget(), utilityValue_.widget(), macValue_.widget()}) {
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    okButton_.widget()->setFocus();
}

}  // namespace rizorivu::qt
