#include "qt/UtilityViews.h"

#include "qt/AccessPointSettingsView.h"
#include "qt/AdvancedSettingsView.h"
#include "qt/GeneralSettingsView.h"
#include "qt/InformationView.h"
#include "qt/MacFilterView.h"
#include "qt/MainWindowView.h"
#include "qt/WepKeysView.h"
#include "qt/WpaSettingsView.h"

namespace rizorivu::qt {

namespace {

// A creator for a view that takes nothing but its model and parent.
template <class View, class Model>
ViewFactory::ModelCreator<Model> plainView() {
    return [](Model& model, QWidget* parent) { return std::make_unique<View>(model, parent); };
}

}  // namespace

ViewFactory utilityViews(const QIcon& applicationIcon) {
    ViewFactory views;
    views.add<ui::MainWindow>(
        ui::DialogCode::Main, [applicationIcon](ui::MainWindow& main, QWidget* parent) {
            return std::make_unique<MainWindowView>(main, parent, applicationIcon);
        });
    views.add<ui::GeneralSettingsDialog>(
        ui::DialogCode::GeneralSettings,
        plainView<GeneralSettingsView, ui::GeneralSettingsDialog>());
    views.add<ui::AdvancedSettingsDialog>(
        ui::DialogCode::AdvancedSettings,
        plainView<AdvancedSettingsView, ui::AdvancedSettingsDialog>());
    views.add<ui::WepKeysDialog>(ui::DialogCode::WepKeys,
                                 plainView<WepKeysView, ui::WepKeysDialog>());
    views.add<ui::InformationDialog>(ui::DialogCode::Information,
                                     plainView<InformationView, ui::InformationDialog>());
    views.add<ui::AccessPointSettingsDialog>(
        ui::DialogCode::AccessPointSettings,
        plainView<AccessPointSettingsView, ui::AccessPointSettingsDialog>());
    views.add<ui::MacFilterDialog>(ui::DialogCode::MacFilter,
                                   plainView<MacFilterView, ui::MacFilterDialog>());
    views.add<ui::WpaSettingsDialog>(ui::DialogCode::WpaSettings,
                                     plainView<WpaSettingsView, ui::WpaSettingsDialog>());
    return views;
}

}  // namespace rizorivu::qt
