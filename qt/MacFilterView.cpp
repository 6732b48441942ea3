#include "qt/MacFilterView.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <vector>

#include "qt/TabOrder.h"

namespace rizorivu::qt {

namespace {

constexpr int kRowsPerColumn = ui::MacFilterDialog::kSlots / 2;

}  // namespace

MacFilterView::MacFilterView(ui::MacFilterDialog& model, QWidget* parent)
    : DialogView(model, parent),
      model_(model),
      typeLabel_(model.typeLabel, &window()),
      typeList_(model.typeList, &window(), [this] { model_.onTypeChosen(); }),
      addressGroup_(model.addressGroup, &window()),
      applyButton_(model.applyButton, &window(), [this] { model_.onApply(); }) {
    for (int i = 0; i < ui::MacFilterDialog::kSlots; ++i) {
        slotLabels_[i] = std::make_unique<LabelBinding>(model.slotLabels[i], &window());
        slotFields_[i] =
            std::make_unique<TextFieldBinding>(model.slotFields[i], &window(), nullptr);
    }
    layOut();
}

void MacFilterView::layOut() {
    auto* type = new QHBoxLayout;
    type->addWidget(typeLabel_.widget());
    type->addWidget(typeList_.widget(), 1);

    auto* grid = new QGridLayout(addressGroup_.widget());
    // Room for "00 0A 95 9D 68 16" and a little more.
    const int fieldWidth =
        QFontMetrics(window().font()).horizontalAdvance(QStringLiteral("00 0A 95 9D 68 16 ")) + 16;
    for (int i = 0; i < ui::MacFilterDialog::kSlots; ++i) {
        const int row = i % kRowsPerColumn;
        const int column = (i / kRowsPerColumn) * 2;
        grid->addWidget(slotLabels_[i]->widget(), row, column, Qt::AlignRight);
        grid->addWidget(slotFields_[i]->widget(), row, column + 1);
        slotFields_[i]->widget()->setMinimumWidth(fieldWidth);
    }

    auto* page = new QVBoxLayout(&window());
    page->addLayout(type);
    page->addWidget(addressGroup_.widget());
    page->addWidget(applyButton_.widget(), 0, Qt::AlignRight);
    page->setSizeConstraint(QLayout::SetFixedSize);

    std::vector<QWidget*> order{typeList_.widget()};
    for (const auto& field : slotFields_) {
        order.push_back(field->widget());
    }
    order.push_back(applyButton_.widget());
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

}  // namespace rizorivu::qt
