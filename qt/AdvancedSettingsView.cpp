#include "qt/AdvancedSettingsView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "qt/TabOrder.h"

namespace rizorivu::qt {

namespace {

constexpr int kSliderWidth = 260;

// A threshold frame: the slider between its end labels, the value label centred below.
void layOutThreshold(QGroupBox* group, QSlider* slider, QLabel* minimum, QLabel* maximum,
                     QLabel* value) {
    auto* grid = new QGridLayout(group);
    grid->addWidget(minimum, 0, 0);
    grid->addWidget(slider, 0, 1);
    grid->addWidget(maximum, 0, 2);
    grid->addWidget(value, 1, 1, Qt::AlignHCenter);
    slider->setMinimumWidth(kSliderWidth);
    slider->setTickPosition(QSlider::TicksBelow);
}

}  // namespace

AdvancedSettingsView::AdvancedSettingsView(ui::AdvancedSettingsDialog& model, QWidget* parent)
    : DialogView(model, parent),
      model_(model),
      languageGroup_(model.languageGroup, &window()),
      languageLabel_(model.languageLabel, &window()),
      languageList_(model.languageList, &window(), [this] { model_.onLanguageChosen(); }),
      powerGroup_(model.powerGroup, &window()),
      powerRadios_(model.powerRadios, &window(), [this] { model_.onPowerChosen(); }),
      roamingGroup_(model.roamingGroup, &window()),
      roamingRadios_(model.roamingRadios, &window(), [this] { model_.onRoamingChosen(); }),
      regionList_(model.regionList, &window(), [this] { model_.onRegionChosen(); }),
      fragmentationGroup_(model.fragmentationGroup, &window()),
      fragmentationSlider_(model.fragmentationSlider, &window(),
                           [this] { model_.onSliderMoved(); }),
      fragmentationMinimum_(model.fragmentationMinimum, &window()),
      fragmentationMaximum_(model.fragmentationMaximum, &window()),
      fragmentationValue_(model.fragmentationValue, &window()),
      rtsGroup_(model.rtsGroup, &window()),
      rtsSlider_(model.rtsSlider, &window(), [this] { model_.onSliderMoved(); }),
      rtsMinimum_(model.rtsMinimum, &window()),
      rtsMaximum_(model.rtsMaximum, &window()),
      rtsValue_(model.rtsValue, &window()) {
    layOut();
}

void AdvancedSettingsView::layOut() {
    auto* language = new QHBoxLayout(languageGroup_.widget());
    language->addWidget(languageLabel_.widget());
    language->addWidget(languageList_.widget(), 1);

    auto* power = new QVBoxLayout(powerGroup_.widget());
    for (int i = 0; i < powerRadios_.count(); ++i) {
        power->addWidget(powerRadios_.button(i));
    }

    auto* roaming = new QGridLayout(roamingGroup_.widget());
    roaming->addWidget(roamingRadios_.button(ui::AdvancedSettingsDialog::kWorldMode), 0, 0, 1, 2);
    roaming->addWidget(roamingRadios_.button(ui::AdvancedSettingsDialog::kUserSelect), 1, 0);
    roaming->addWidget(regionList_.widget(), 1, 1);

    layOutThreshold(fragmentationGroup_.widget(), fragmentationSlider_.widget(),
                    fragmentationMinimum_.widget(), fragmentationMaximum_.widget(),
                    fragmentationValue_.widget());
    layOutThreshold(rtsGroup_.widget(), rtsSlider_.widget(), rtsMinimum_.widget(),
                    rtsMaximum_.widget(), rtsValue_.widget());

    auto* page = new QVBoxLayout(&window());
    page->addWidget(languageGroup_.widget());
    page->addWidget(powerGroup_.widget());
    page->addWidget(roamingGroup_.widget());
    page->addWidget(fragmentationGroup_.widget());
    page->addWidget(rtsGroup_.widget());
    page->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder({languageList_.widget(), powerRadios_.button(0), powerRadios_.button(1),
                 powerRadios_.button(2),
                 roamingRadios_.button(ui::AdvancedSettingsDialog::kWorldMode),
                 roamingRadios_.button(ui::AdvancedSettingsDialog::kUserSelect),
                 regionList_.widget(), fragmentationSlider_.widget(), rtsSlider_.widget()});
}

}  // namespace rizorivu::qt
