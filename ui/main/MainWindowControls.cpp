#include "ui/main/MainWindowControls.h"

namespace rizorivu::ui {

void MainWindowControls::clearValueFields() {
    for (Label& value : infoValues) {
        value.setText("");
    }
    linkStatusValue.setText("");
    signalPercent.setText("");
    qualityPercent.setText("");
    txFrameValue.setText("");
    rxFrameValue.setText("");
}

void MainWindowControls::showModeChoice(bool shown) {
    modeLabel.setVisible(shown);
    modeSelector.setVisible(shown);
}

}  // namespace rizorivu::ui
