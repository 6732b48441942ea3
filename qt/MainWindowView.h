#pragma once

#include <QIcon>
#include <array>
#include <memory>

#include "qt/ButtonBinding.h"
#include "qt/DialogView.h"
#include "qt/DropDownListBinding.h"
#include "qt/GroupBoxBinding.h"
#include "qt/LabelBinding.h"
#include "qt/ProgressBarBinding.h"
#include "qt/ReportListBinding.h"
#include "ui/main/MainWindow.h"

namespace rizorivu::qt {

// The main window: adapter and mode on top, the network list on the left, the information
// box on the right, link status, signal, quality and frame counters below. Enter and Escape
// are swallowed; the close and minimise boxes go to the model with where they came from.
class MainWindowView final : public DialogView {
public:
    MainWindowView(ui::MainWindow& model, QWidget* parent, const QIcon& windowIcon);

    ui::MainWindow& model() const { return model_; }

    // The widgets, for tests and screenshots.
    QComboBox* adapterSelector() const { return adapterSelector_.widget(); }
    QComboBox* modeSelector() const { return modeSelector_.widget(); }
    QLabel* modeLabel() const { return modeLabel_.widget(); }
    QLabel* listCaption() const { return listCaption_.widget(); }
    QTreeWidget* networkList() const { return networkList_.widget(); }
    QPushButton* refreshButton() const { return refreshButton_.widget(); }
    QGroupBox* infoBox() const { return infoBox_.widget(); }
    QLabel* infoLabel(int row) const { return infoLabels_.at(row)->widget(); }
    QLabel* infoValue(int row) const { return infoValues_.at(row)->widget(); }
    QPushButton* infoButton() const { return infoButton_.widget(); }
    QLabel* linkStatusValue() const { return linkStatusValue_.widget(); }
    QProgressBar* signalBar() const { return signalBar_.widget(); }
    QLabel* signalPercent() const { return signalPercent_.widget(); }
    QProgressBar* qualityBar() const { return qualityBar_.widget(); }
    QLabel* txFrameValue() const { return txFrameValue_.widget(); }
    QLabel* rxFrameValue() const { return rxFrameValue_.widget(); }

private:
    using LabelRow = std::array<std::unique_ptr<LabelBinding>, ui::MainWindow::kInfoRows>;

    void layOut();

    ui::MainWindow& model_;
    LabelBinding adapterLabel_;
    DropDownListBinding adapterSelector_;
    LabelBinding modeLabel_;
    DropDownListBinding modeSelector_;
    LabelBinding listCaption_;
    ReportListBinding networkList_;
    ButtonBinding refreshButton_;
    GroupBoxBinding infoBox_;
    LabelRow infoLabels_;
    LabelRow infoValues_;
    ButtonBinding infoButton_;
    LabelBinding linkStatusLabel_;
    LabelBinding linkStatusValue_;
    LabelBinding signalLabel_;
    ProgressBarBinding signalBar_;
    LabelBinding signalPercent_;
    LabelBinding qualityLabel_;
    ProgressBarBinding qualityBar_;
    LabelBinding qualityPercent_;
    LabelBinding txFrameLabel_;
    LabelBinding txFrameValue_;
    LabelBinding rxFrameLabel_;
    LabelBinding rxFrameValue_;
};

}  // namespace rizorivu::qt
