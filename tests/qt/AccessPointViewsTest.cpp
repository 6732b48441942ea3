// The access-point dialogs' views on their real models and the simulated adapter: the widgets
// show the models, the user's actions reach the handlers, and Tab walks the dialogs in order.
#include <gtest/gtest.h>

#include <QApplication>

#include "qt/AccessPointSettingsView.h"
#include "qt/MacFilterView.h"
#include "tests/ui/ap/ApBed.h"

namespace rizorivu::qt {
namespace {

QWidget* nextTabStop(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && (next->focusPolicy() & Qt::TabFocus) == 0) {
        next = next->nextInFocusChain();
    }
    return next;
}

class AccessPointViewsTest : public ::testing::Test {
protected:
    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};
    testing::ApBed bed;
};

TEST_F(AccessPointViewsTest, SettingsShowTheModelAndTakeTheStateButtonAndSliders) {
    ui::AccessPointSettingsDialog model(bed.settings, bed.configuration, bed.environment);
    model.setParentCode(ui::DialogCode::Main);
    AccessPointSettingsView view(model, nullptr);
    model.initialise();
    EXPECT_EQ(view.window().windowTitle(), "Access Point Setting");
    EXPECT_EQ(view.channelList()->count(), model.channelList.count());
    EXPECT_FALSE(view.ssidField()->isEnabled());
    view.stateButton()->click();
    EXPECT_EQ(view.stateButton()->text(), "Apply");
    EXPECT_TRUE(view.ssidField()->isEnabled());
    EXPECT_EQ(view.rtsValue()->text(), "Disable");
    view.rtsSlider()->setValue(1000);
    EXPECT_EQ(view.rtsValue()->text(), "1000");
    EXPECT_EQ(bed.ap("RTSThreshold"), "1000");
}

TEST_F(AccessPointViewsTest, FilterTypeActsAtOnceAndApplySendsTheSlots) {
    ui::MacFilterDialog model(bed.settings, bed.environment);
    MacFilterView view(model, nullptr);
    model.initialise();
    EXPECT_EQ(view.typeList()->count(), 3);
    view.typeList()->setCurrentIndex(2);
    emit view.typeList()->activated(2);
    EXPECT_EQ(bed.ap("MACFilterMode"), "2");
    view.slotField(9)->setText("02:c0:00:00:00:0b");
    emit view.slotField(9)->textEdited("02:c0:00:00:00:0b");
    view.applyButton()->click();
    EXPECT_EQ(bed.ap("MACFilterAddr9"), "02 C0 00 00 00 0B");
    EXPECT_EQ(nextTabStop(view.slotField(7)), view.slotField(8));
}

}  // namespace
}  // namespace rizorivu::qt
