#include "qt/MainWindowView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace rizorivu::qt {

namespace {

// Values read like the sunken read-only fields of the window they stand in for.
void styleValue(QLabel& value, int minimumWidth) {
    value.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value.setMinimumWidth(minimumWidth);
    value.setTextInteractionFlags(Qt::TextSelectableByMouse);
}

constexpr int kValueWidth = 150;
constexpr int kPercentWidth = 44;
constexpr int kCounterWidth = 90;
constexpr int kBarWidth = 160;
constexpr int kBarHeight = 14;
constexpr int kListWidth = 230;
constexpr int kListHeight = 170;

}  // namespace

MainWindowView::MainWindowView(ui::MainWindow& model, QWidget* parent, const QIcon& windowIcon)
    : DialogView(model, parent),
      model_(model),
      adapterLabel_(model.adapterLabel, &window()),
      adapterSelector_(model.adapterSelector, &window(), [this] { model_.onAdapterSelected(); }),
      modeLabel_(model.modeLabel, &window()),
      modeSelector_(model.modeSelector, &window(), [this] { model_.onModeSelected(); }),
      listCaption_(model.listCaption, &window()),
      networkList_(
          model.networkList, &window(),
          {.onClicked = [this] { model_.onListClick(model_.networkList.selected()); },
           .onDoubleClicked = [this] { model_.onListDoubleClick(model_.networkList.selected()); },
           .onSelectionMoved =
               [this] { model_.onListSelectionMoved(model_.networkList.selected()); },
           .onEnter = [this] { model_.onListEnter(model_.networkList.selected()); }},
          ReportListBinding::ColumnWidths::FillList),
      // The access-point view empties the caption of a button it has no use for.
      refreshButton_(
          model.refreshButton, &window(), [this] { model_.onRefresh(); },
          ButtonBinding::Captionless::Hidden),
      infoBox_(model.infoBox, &window()),
      infoButton_(model.infoButton, &window(), [this] { model_.onInfoButton(); }),
      linkStatusLabel_(model.linkStatusLabel, &window()),
      linkStatusValue_(model.linkStatusValue, &window()),
      signalLabel_(model.signalLabel, &window()),
      signalBar_(model.signalBar, &window()),
      signalPercent_(model.signalPercent, &window()),
      qualityLabel_(model.qualityLabel, &window()),
      qualityBar_(model.qualityBar, &window()),
      qualityPercent_(model.qualityPercent, &window()),
      txFrameLabel_(model.txFrameLabel, &window()),
      txFrameValue_(model.txFrameValue, &window()),
      rxFrameLabel_(model.rxFrameLabel, &window()),
      rxFrameValue_(model.rxFrameValue, &window()) {
    for (int row = 0; row < ui::MainWindow::kInfoRows; ++row) {
        infoLabels_[row] = std::make_unique<LabelBinding>(model.infoLabels[row], infoBox_.widget());
        infoValues_[row] = std::make_unique<LabelBinding>(model.infoValues[row], infoBox_.widget());
    }
    window().setWindowIcon(windowIcon);
    window().setBehaviour({
        // Swallowed before the dialog sees them: neither ever ends the main window.
        .onEnter = nullptr,
        .onEscape = nullptr,
        .onCloseBox = [this](bool fromMouse) { model_.onCloseBox(fromMouse); },
        .onMinimiseBox = [this](bool fromMouse) { model_.onMinimiseBox(fromMouse); },
        // A close request from outside (a session ending) gets the ordinary dialog handling:
        // the window ends as cancelled, and with it the process.
        .onCloseRequest = [this] { model_.end(ui::DialogResult::Cancel); },
    });
    layOut();
}

void MainWindowView::layOut() {
    auto* top = new QHBoxLayout;
    top->addWidget(adapterLabel_.widget());
    top->addWidget(adapterSelector_.widget(), 1);
    top->addSpacing(12);
    top->addWidget(modeLabel_.widget());
    top->addWidget(modeSelector_.widget());
    adapterSelector_.widget()->setMinimumWidth(220);
    // The adapter's description may arrive after the first layout: the box, and with it the
    // fixed window, grows to show it whole.
    adapterSelector_.widget()->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(listCaption_.widget());
    listColumn->addWidget(networkList_.widget(), 1);
    listColumn->addWidget(refreshButton_.widget(), 0, Qt::AlignRight);
    networkList_.widget()->setMinimumSize(kListWidth, kListHeight);

    auto* info = new QGridLayout(infoBox_.widget());
    for (int row = 0; row < ui::MainWindow::kInfoRows; ++row) {
        info->addWidget(infoLabels_[row]->widget(), row, 0);
        info->addWidget(infoValues_[row]->widget(), row, 1);
        styleValue(*infoValues_[row]->widget(), kValueWidth);
    }
    info->setRowStretch(ui::MainWindow::kInfoRows, 1);
    info->addWidget(infoButton_.widget(), ui::MainWindow::kInfoRows + 1, 0, 1, 2, Qt::AlignRight);

    auto* middle = new QHBoxLayout;
    middle->addLayout(listColumn, 1);
    middle->addWidget(infoBox_.widget());

    auto* lower = new QGridLayout;
    lower->addWidget(linkStatusLabel_.widget(), 0, 0);
    lower->addWidget(linkStatusValue_.widget(), 0, 1, 1, 4);
    lower->addWidget(signalLabel_.widget(), 1, 0);
    lower->addWidget(signalBar_.widget(), 1, 1, 1, 3);
    lower->addWidget(signalPercent_.widget(), 1, 4);
    lower->addWidget(qualityLabel_.widget(), 2, 0);
    lower->addWidget(qualityBar_.widget(), 2, 1, 1, 3);
    lower->addWidget(qualityPercent_.widget(), 2, 4);
    lower->addWidget(txFrameLabel_.widget(), 3, 0);
    lower->addWidget(txFrameValue_.widget(), 3, 1);
    lower->addWidget(rxFrameLabel_.widget(), 3, 2, Qt::AlignRight);
    lower->addWidget(rxFrameValue_.widget(), 3, 3, 1, 2);
    lower->setColumnStretch(1, 1);
    lower->setColumnStretch(3, 1);
    styleValue(*linkStatusValue_.widget(), kValueWidth);
    styleValue(*signalPercent_.widget(), kPercentWidth);
    styleValue(*qualityPercent_.widget(), kPercentWidth);
    styleValue(*txFrameValue_.widget(), kCounterWidth);
    styleValue(*rxFrameValue_.widget(), kCounterWidth);
    for (QProgressBar* bar : {signalBar_.widget(), qualityBar_.widget()}) {
        bar->setMinimumWidth(kBarWidth);
        bar->setFixedHeight(kBarHeight);
    }

    auto* page = new QVBoxLayout(&window());
    page->addLayout(top);
    page->addLayout(middle, 1);
    page->addLayout(lower);
    // A fixed dialog, as the window it re-creates: it sizes itself to its contents.
    page->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace rizorivu::qt
