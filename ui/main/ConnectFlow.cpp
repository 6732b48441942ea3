#include "ui/main/ConnectFlow.h"

#include <vector>

#include "adapter/SurveyBuffer.h"
#include "adapter/ZeroConfigHandover.h"
#include "settings/LocalizedText.h"
#include "settings/SettingsContext.h"
#include "ui/main/ConnectWindow.h"
#include "ui/main/LinkStatus.h"
#include "ui/main/MainWindowControls.h"
#include "ui/main/StationView.h"
#include "ui/main/SurveyCycle.h"

namespace rizorivu::ui {

ConnectFlow::ConnectFlow(MainWindowControls& controls, SettingsContext& settings,
                         const Configuration& configuration, const LocalizedText& texts,
                         const SurveyCycle& survey, LinkStatus& link, StationView& station,
                         const ZeroConfigHandover& handover, ConnectWindow& window)
    : controls_(controls),
      settings_(settings),
      texts_(texts),
      survey_(survey),
      link_(link),
      station_(station),
      handover_(handover),
      window_(window),
      join_(settings, configuration, texts, window) {}

void ConnectFlow::connectTo(int row) {
    if (handover_.state() == ZeroConfigHandover::kServiceControls) {
        return;
    }
    // The row is checked before anything is stopped: a click on nothing must not drop a
    // working link.
    if (row < 0 || row >= controls_.networkList.rowCount()) {
        return;
    }
    const auto record = ConstSurveyBuffer(survey_.buffer()).record(static_cast<std::size_t>(row));
    if (!record) {
        return;
    }
    // A copy: the questions and dialogs below run the event loop, and the record must stay
    // what the user chose whatever happens to the buffer meanwhile.
    const std::vector<std::uint8_t> chosen(record->bytes().begin(), record->bytes().end());

    controls_.linkStatusValue.setText(
        texts_.text("MP_STA_Link_Status_Disconnecting", "Disconnecting..."));
    settings_.wpa.stopWpaConnection();
    link_.restartConnecting();

    window_.stopPolling();
    join_.join(chosen);
    link_.resetAverages();
    window_.resumePolling();
    station_.showCurrentNetwork();
}

}  // namespace rizorivu::ui
