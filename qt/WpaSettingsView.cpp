#include "qt/WpaSettingsView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "qt/TabOrder.h"

namespace rizorivu::qt {

namespace {

// Room for a certificate's subject and issuer side by side.
constexpr int kCertificateWidth = 420;

}  // namespace

WpaSettingsView::WpaSettingsView(ui::WpaSettingsDialog& model, QWidget* parent)
    : DialogView(model, parent),
      model_(model),
      connectionFrame_(model.connectionFrame, &window()),
      methodLabel_(model.methodLabel, &window()),
      methodList_(model.methodList, &window(), [this] { model_.onMethodChosen(); }),
      userNameLabel_(model.userNameLabel, &window()),
      userNameField_(model.userNameField, &window(), nullptr),
      passwordLabel_(model.passwordLabel, &window()),
      passwordField_(model.passwordField, &window(), nullptr),
      presharedFrame_(model.presharedFrame, &window()),
      passphraseLabel_(model.passphraseLabel, &window()),
      passphraseField_(model.passphraseField, &window(), nullptr),
      passphraseHint_(model.passphraseHint, &window()),
      certificateFrame_(model.certificateFrame, &window()),
      certificateList_(model.certificateList, &window(), nullptr),
      wepFrame_(model.wepFrame, &window()),
      wepKeyButton_(model.wepKeyButton, &window(), nullptr),
      stateButton_(model.stateButton, &window(), [this] { model_.onStateButton(); }) {
    passwordField_.widget()->setEchoMode(QLineEdit::Password);
    passphraseField_.widget()->setEchoMode(QLineEdit::Password);
    layOut();
}

void WpaSettingsView::layOut() {
    auto* connection = new QGridLayout(connectionFrame_.widget());
    connection->addWidget(methodLabel_.widget(), 0, 0);
    connection->addWidget(methodList_.widget(), 0, 1);
    connection->addWidget(userNameLabel_.widget(), 1, 0);
    connection->addWidget(userNameField_.widget(), 1, 1);
    connection->addWidget(passwordLabel_.widget(), 2, 0);
    connection->addWidget(passwordField_.widget(), 2, 1);

    auto* preshared = new QGridLayout(presharedFrame_.widget());
    preshared->addWidget(passphraseLabel_.widget(), 0, 0);
    preshared->addWidget(passphraseField_.widget(), 0, 1);
    preshared->addWidget(passphraseHint_.widget(), 1, 0, 1, 2);

    auto* certificate = new QVBoxLayout(certificateFrame_.widget());
    certificate->addWidget(certificateList_.widget());
    certificateList_.widget()->setMinimumWidth(kCertificateWidth);

    auto* wep = new QHBoxLayout(wepFrame_.widget());
    wep->addWidget(wepKeyButton_.widget());
    wep->addStretch(1);

    auto* page = new QVBoxLayout(&window());
    page->addWidget(connectionFrame_.widget());
    page->addWidget(presharedFrame_.widget());
    page->addWidget(certificateFrame_.widget());
    page->addWidget(wepFrame_.widget());
    page->addWidget(stateButton_.widget(), 0, Qt::AlignRight);
    page->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder({methodList_.widget(), userNameField_.widget(), passwordField_.widget(),
                 passphraseField_.widget(), certificateList_.widget(), stateButton_.widget()});
}

}  // namespace rizorivu::qt
