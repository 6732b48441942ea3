#include "qt/GeneralSettingsView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "qt/TabOrder.h"

namespace rizorivu::qt {

namespace {

constexpr int kListWidth = 170;

}  // namespace

GeneralSettingsView::GeneralSettingsView(ui::GeneralSettingsDialog& model, QWidget* parent)
    : DialogView(model, parent),
      model_(model),
      settingsFrame_(model.settingsFrame, &window()),
      networkTypeLabel_(model.networkTypeLabel, &window()),
      networkTypeList_(model.networkTypeList, &window(), [this] { model_.onNetworkTypePicked(); }),
      channelLabel_(model.channelLabel, &window()),
      channelList_(model.channelList, &window(), nullptr),
      rateLabel_(model.rateLabel, &window()),
      rateList_(model.rateList, &window(), nullptr),
      ssidLabel_(model.ssidLabel, &window()),
      ssidField_(model.ssidField, &window(), nullptr),
      anyCheck_(model.anyCheck, &window(), [this] { model_.onAnyClicked(); }),
      encryptionLabel_(model.encryptionLabel, &window()),
      encryptionList_(model.encryptionList, &window(), nullptr),
      authenticationLabel_(model.authenticationLabel, &window()),
      authenticationList_(model.authenticationList, &window(), nullptr),
      stateButton_(model.stateButton, &window(), [this] { model_.onStateButton(); }),
      encryptionFrame_(model.encryptionFrame, &window()),
      wepKeysButton_(model.wepKeysButton, &window(), [this] { model_.onWepKeys(); }),
      wpaButton_(model.wpaButton, &window(), [this] { model_.onWpa(); }),
      profileFrame_(model.profileFrame, &window()),
      profileNameLabel_(model.profileNameLabel, &window()),
      profileList_(model.profileList, &window(), nullptr),
      loadButton_(model.loadButton, &window(), [this] { model_.onLoadProfile(); }),
      saveButton_(model.saveButton, &window(), [this] { model_.onSaveProfile(); }),
      deleteButton_(model.deleteButton, &window(), [this] { model_.onDeleteProfile(); }),
      otherFrame_(model.otherFrame, &window()),
      otherDescription_(model.otherDescription, &window()),
      advancedButton_(model.advancedButton, &window(), [this] { model_.onAdvanced(); }),
      informationButton_(model.informationButton, &window(), [this] { model_.onInformation(); }) {
    layOut();
}

void GeneralSettingsView::layOut() {
    auto* settings = new QGridLayout(settingsFrame_.widget());
    int row = 0;
    const auto addRow = [&](QWidget* label, QWidget* field) {
        settings->addWidget(label, row, 0);
        settings->addWidget(field, row, 1);
        ++row;
    };
    addRow(networkTypeLabel_.widget(), networkTypeList_.widget());
    addRow(channelLabel_.widget(), channelList_.widget());
    addRow(rateLabel_.widget(), rateList_.widget());
    settings->addWidget(ssidLabel_.widget(), row, 0);
    settings->addWidget(ssidField_.widget(), row, 1);
    settings->addWidget(anyCheck_.widget(), row, 2);
    ++row;
    addRow(encryptionLabel_.widget(), encryptionList_.widget());
    addRow(authenticationLabel_.widget(), authenticationList_.widget());
    settings->addWidget(stateButton_.widget(), row, 1, 1, 2, Qt::AlignRight);
    networkTypeList_.widget()->setMinimumWidth(kListWidth);

    auto* encryption = new QVBoxLayout(encryptionFrame_.widget());
    encryption->addWidget(wepKeysButton_.widget());
    encryption->addWidget(wpaButton_.widget());

    auto* profile = new QGridLayout(profileFrame_.widget());
    profile->addWidget(profileNameLabel_.widget(), 0, 0);
    profile->addWidget(profileList_.widget(), 0, 1, 1, 3);
    profile->addWidget(loadButton_.widget(), 1, 1);
    profile->addWidget(saveButton_.widget(), 1, 2);
    profile->addWidget(deleteButton_.widget(), 1, 3);

    auto* other = new QVBoxLayout(otherFrame_.widget());
    other->addWidget(otherDescription_.widget());
    auto* otherButtons = new QHBoxLayout;
    otherButtons->addWidget(advancedButton_.widget());
    otherButtons->addWidget(informationButton_.widget());
    other->addLayout(otherButtons);

    auto* right = new QVBoxLayout;
    right->addWidget(encryptionFrame_.widget());
    right->addWidget(profileFrame_.widget());
    right->addWidget(otherFrame_.widget());
    right->addStretch(1);

    auto* page = new QHBoxLayout(&window());
    page->addWidget(settingsFrame_.widget(), 1, Qt::AlignTop);
    page->addLayout(right);
    page->setSizeConstraint(QLayout::SetFixedSize);

    // Down the settings, then the buttons on the right from top to bottom.
    setTabOrder({networkTypeList_.widget(), channelList_.widget(), rateList_.widget(),
                 ssidField_.widget(), anyCheck_.widget(), encryptionList_.widget(),
                 authenticationList_.widget(), stateButton_.widget(), wepKeysButton_.widget(),
                 wpaButton_.widget(), profileList_.widget(), loadButton_.widget(),
                 saveButton_.widget(), deleteButton_.widget(), advancedButton_.widget(),
                 informationButton_.widget()});
}

}  // namespace rizorivu::qt
