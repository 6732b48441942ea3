#include "qt/UtilityViews.h"

#include "qt/MainWindowView.h"

namespace rizorivu::qt {

ViewFactory utilityViews(const QIcon& applicationIcon) {
    ViewFactory views;
    views.add<ui::MainWindow>(
        ui::DialogCode::Main, [applicationIcon](ui::MainWindow& main, QWidget* parent) {
            return std::make_unique<MainWindowView>(main, parent, applicationIcon);
        });
    return views;
}

}  // namespace rizorivu::qt
