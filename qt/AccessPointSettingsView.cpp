#include "qt/AccessPointSettingsView.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "qt/TabOrder.h"

namespace rizorivu::qt {

namespace {

constexpr int kSliderWidth = 220;
// Wide enough for "2347" and a translated "Disable".
constexpr int kValueWidth = 90;

}  // namespace

AccessPointSettingsView::AccessPointSettingsView(ui::AccessPointSettingsDialog& model,
                                                 QWidget* parent)
    : DialogView(model, parent),
      model_(model),
      radioGroup_(model.radioGroup, &window()),
      channelLabel_(model.channelLabel, &window()),
      channelList_(model.channelList, &window(), nullptr),
      basicRateLabel_(model.basicRateLabel, &window()),
      basicRateList_(model.basicRateList, &window(), nullptr),
      ssidLabel_(model.ssidLabel, &window()),
      ssidField_(model.ssidField, &window(), nullptr),
      hideSsidCheck_(model.hideSsidCheck, &window(), nullptr),
      txPowerLabel_(model.txPowerLabel, &window()),
      txPowerList_(model.txPowerList, &window(), nullptr),
      stateButton_(model.stateButton, &window(), [this] { model_.onStateButton(); }),
      wepLabel_(model.wepLabel, &window()),
      wepList_(model.wepList, &window(), [this] { model_.onWepChosen(); }),
      wepKeysButton_(model.wepKeysButton, &window(), [this] { model_.onWepKeys(); }),
      authenticationLabel_(model.authenticationLabel, &window()),
      authenticationList_(model.authenticationList, &window(),
                          [this] { model_.onAuthenticationChosen(); }),
      fragmentationLabel_(model.fragmentationLabel, &window()),
      fragmentationSlider_(model.fragmentationSlider, &window(),
                           [this] { model_.onSliderMoved(); }),
      fragmentationValue_(model.fragmentationValue, &window()),
      rtsLabel_(model.rtsLabel, &window()),
      rtsSlider_(model.rtsSlider, &window(), [this] { model_.onSliderMoved(); }),
      rtsValue_(model.rtsValue, &window()),
      preambleLabel_(model.preambleLabel, &window()),
      preambleList_(model.preambleList, &window(), [this] { model_.onPreambleChosen(); }),
      macFilterLabel_(model.macFilterLabel, &window()),
      macFilterButton_(model.macFilterButton, &window(), [this] { model_.onMacFilter(); }) {
    layOut();
}

void AccessPointSettingsView::layOut() {
    auto* radio = new QGridLayout(radioGroup_.widget());
    radio->addWidget(channelLabel_.widget(), 0, 0);
    radio->addWidget(channelList_.widget(), 0, 1);
    radio->addWidget(basicRateLabel_.widget(), 1, 0);
    radio->addWidget(basicRateList_.widget(), 1, 1);
    radio->addWidget(ssidLabel_.widget(), 2, 0);
    radio->addWidget(ssidField_.widget(), 2, 1);
    radio->addWidget(hideSsidCheck_.widget(), 3, 1);
    radio->addWidget(txPowerLabel_.widget(), 4, 0);
    radio->addWidget(txPowerList_.widget(), 4, 1);
    radio->addWidget(stateButton_.widget(), 5, 1, Qt::AlignRight);

    auto* grid = new QGridLayout;
    grid->addWidget(wepLabel_.widget(), 0, 0);
    grid->addWidget(wepList_.widget(), 0, 1);
    grid->addWidget(wepKeysButton_.widget(), 0, 2);
    grid->addWidget(authenticationLabel_.widget(), 1, 0);
    grid->addWidget(authenticationList_.widget(), 1, 1, 1, 2);
    grid->addWidget(fragmentationLabel_.widget(), 2, 0);
    grid->addWidget(fragmentationSlider_.widget(), 2, 1);
    grid->addWidget(fragmentationValue_.widget(), 2, 2);
    grid->addWidget(rtsLabel_.widget(), 3, 0);
    grid->addWidget(rtsSlider_.widget(), 3, 1);
    grid->addWidget(rtsValue_.widget(), 3, 2);
    grid->addWidget(preambleLabel_.widget(), 4, 0);
    grid->addWidget(preambleList_.widget(), 4, 1, 1, 2);
    grid->addWidget(macFilterLabel_.widget(), 5, 0);
    grid->addWidget(macFilterButton_.widget(), 5, 2);
    for (QSlider* slider : {fragmentationSlider_.widget(), rtsSlider_.widget()}) {
        slider->setMinimumWidth(kSliderWidth);
        slider->setTickPosition(QSlider::TicksBelow);
    }
    fragmentationValue_.widget()->setMinimumWidth(kValueWidth);
    rtsValue_.widget()->setMinimumWidth(kValueWidth);

    auto* page = new QVBoxLayout(&window());
    page->addWidget(radioGroup_.widget());
    page->addLayout(grid);
    page->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder({channelList_.widget(), basicRateList_.widget(), ssidField_.widget(),
                 hideSsidCheck_.widget(), txPowerList_.widget(), stateButton_.widget(),
                 wepList_.widget(), wepKeysButton_.widget(), authenticationList_.widget(),
                 fragmentationSlider_.widget(), rtsSlider_.widget(), preambleList_.widget(),
                 macFilterButton_.widget()});
}

}  // namespace rizorivu::qt
