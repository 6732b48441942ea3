#pragma once

#include <algorithm>
#include <functional>
#include <string>

#include "tests/ui/station/StationBed.h"
#include "ui/ap/AccessPointSettingsDialog.h"
#include "ui/ap/MacFilterDialog.h"

namespace rizorivu::testing {

// The access-point dialogs' world: the station dialogs' bed with the adapter switched to
// access-point mode, which is where the main window opens them.
struct ApBed : StationBed {
    explicit ApBed(const std::string& worldText = settingsWorld(),
                   std::string_view codePage = CodePage::kDefaultName)
        : StationBed(worldText, productConfiguration(), codePage) {
        settings.mode.set(OperatingMode::kAccessPoint);
        EXPECT_EQ(library.SetWL_OperationMode_STA_AP(&settings.adapter, 1), 0);
    }

    void openSettings(const std::function<void(ui::AccessPointSettingsDialog&)>& user) {
        ui::AccessPointSettingsDialog dialog(settings, configuration, environment);
        dialog.setParentCode(ui::DialogCode::Main);
        run<ui::AccessPointSettingsDialog>(dialog, user);
    }
    void openFilter(const std::function<void(ui::MacFilterDialog&)>& user) {
        ui::MacFilterDialog dialog(settings, environment);
        dialog.setParentCode(ui::DialogCode::AccessPointSettings);
        run<ui::MacFilterDialog>(dialog, user);
    }

    std::string ap(std::string_view name) const {
        return settings.last.lastSettingText(OperatingMode::kAccessPoint, name);
    }
    void storeAp(std::string_view name, std::string_view value) {
        settings.last.writeLastSetting(OperatingMode::kAccessPoint, name, value);
    }
    long count(std::string_view call) const {
        return std::count(library.calls.begin(), library.calls.end(), call);
    }
};

}  // namespace rizorivu::testing
