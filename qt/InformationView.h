#pragma once

#include "qt/ButtonBinding.h"
#include "qt/DialogView.h"
#include "qt/LabelBinding.h"
#include "ui/station/InformationDialog.h"

namespace rizorivu::qt {

// The information: a heading, three label and value rows, and OK, which is the only focus.
class InformationView final : public DialogView {
public:
    InformationView(ui::InformationDialog& model, QWidget* parent);

    QLabel* driverValue() const { return driverValue_.widget(); }
    QLabel* macValue() const { return macValue_.widget(); }
    QPushButton* okButton() const { return okButton_.widget(); }

private:
    void layOut();

    ui::InformationDialog& model_;
    LabelBinding heading_;
    LabelBinding driverLabel_;
    LabelBinding driverValue_;
    LabelBinding utilityLabel_;
    LabelBinding utilityValue_;
    LabelBinding macLabel_;
    LabelBinding macValue_;
    ButtonBinding okButton_;
};

}  // namespace rizorivu::qt
