// The station dialogs' views on their real models and the simulated adapter: the widgets show
// the models, the user's actions reach the handlers, and Tab walks the dialogs in order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <functional>
#include <vector>

#include "qt/AdvancedSettingsView.h"
#include "qt/GeneralSettingsView.h"
#include "qt/InformationView.h"
#include "qt/WepKeysView.h"
#include "qt/WpaSettingsView.h"
#include "tests/support/ChosenCertificates.h"
#include "tests/ui/station/StationBed.h"

namespace rizorivu::qt {
namespace {

// The next widget Tab reaches, skipping labels and frames.
QWidget* nextTabStop(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && (next->focusPolicy() & Qt::TabFocus) == 0) {
        next = next->nextInFocusChain();
    }
    return next;
}

class StationViewsTest : public ::testing::Test {
protected:
    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};
    testing::StationBed bed;
};

TEST_F(StationViewsTest, GeneralSettingsShowTheModelAndTakeTheStateButton) {
    ui::GeneralSettingsDialog model(bed.settings, bed.configuration, bed.environment,
                                    bed.languages);
    model.setParentCode(ui::DialogCode::Main);
    GeneralSettingsView view(model, nullptr);
    model.initialise();
    EXPECT_EQ(view.window().windowTitle(), "More Setting...");
    EXPECT_EQ(view.networkTypeList()->count(), 3);
    EXPECT_EQ(view.channelList()->count(), model.channelList.count());
    EXPECT_FALSE(view.wpaButton()->isHidden());  // the product's configuration has WPA
    EXPECT_FALSE(view.ssidField()->isEnabled());
    view.stateButton()->click();
    EXPECT_EQ(view.stateButton()->text(), "Apply");
    EXPECT_TRUE(view.networkTypeList()->isEnabled());
    EXPECT_EQ(nextTabStop(view.networkTypeList()), view.channelList());
}

TEST_F(StationViewsTest, WepKeysFilterWhatTheUserTypes) {
    ui::WepKeysDialog model(bed.settings, bed.configuration, bed.environment);
    WepKeysView view(model, nullptr);
    model.initialise();
    EXPECT_EQ(view.keyField(0)->text(), "**********");
    EXPECT_FALSE(view.keyField(0)->isEnabled());
    view.stateButton()->click();
    ASSERT_TRUE(view.keyField(1)->isEnabled());
    view.keyField(1)->setText("0x1F");
    emit view.keyField(1)->textEdited("0x1F");
    EXPECT_EQ(view.keyField(1)->text(), "01F");
    EXPECT_EQ(view.keyField(1)->cursorPosition(), 1);
    EXPECT_TRUE(model.modified(1));
    view.formatButton(1)->click();
    EXPECT_EQ(view.keyField(1)->text(), "*****");
    EXPECT_EQ(nextTabStop(view.keyField(0)), view.keyField(1));
}

TEST_F(StationViewsTest, WpaSettingsMaskSecretsAndFollowTheMethod) {
    testing::ChosenCertificates certificates;
    certificates.client = {{u"CN=Ana", u"CN=Lab CA", u"ana@lab"}};
    certificates.authorities = {{u"Lab Root", u"", u""}, {u"Other Root", u"", u""}};
    SettingsContext settings{bed.bed.registry, "Halvo",  "rizorivu", bed.library,
                             bed.bed.clock,    bed.ansi, bed.wpa,    certificates};
    bed.store("Dot1xProtocol", "0");
    ui::WpaSettingsDialog model(settings, bed.environment);
    model.setParentCode(ui::DialogCode::GeneralSettings);
    WpaSettingsView view(model, nullptr);
    model.initialise();
    EXPECT_EQ(view.window().windowTitle(), "WPA Setting...  ");
    EXPECT_EQ(view.passwordField()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(view.passphraseField()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(view.methodList()->isEnabled());
    view.stateButton()->click();
    EXPECT_EQ(view.stateButton()->text(), "Apply");
    EXPECT_EQ(view.certificateList()->currentText(), "CN=Ana -issued by CN=Lab CA");
    EXPECT_FALSE(view.userNameField()->isEnabled());
    view.methodList()->setCurrentIndex(1);
    emit view.methodList()->activated(1);
    EXPECT_EQ(view.certificateList()->count(), 2);
    EXPECT_TRUE(view.userNameField()->isEnabled());
    EXPECT_EQ(nextTabStop(view.methodList()), view.userNameField());
}

// Enter typed into any field of a dialog that edits presses "Apply"; Escape from any field
// cancels the dialog. A button that has the focus takes Enter itself.
TEST_F(StationViewsTest, EnterFromAFieldAppliesAndEscapeCancels) {
    struct Case {
        const char* field;
        std::function<QWidget*(GeneralSettingsView&)> widget;
    };
    const std::vector<Case> cases = {
        {"SSID field", [](GeneralSettingsView& v) { return v.ssidField(); }},
        {"profile name, an editable list", [](GeneralSettingsView& v) { return v.profileList(); }},
    };
    const auto key = [](QWidget* widget, Qt::Key k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        ui::GeneralSettingsDialog model(bed.settings, bed.configuration, bed.environment,
                                        bed.languages);
        model.setParentCode(ui::DialogCode::Main);
        GeneralSettingsView view(model, nullptr);
        model.initialise();
        view.stateButton()->click();
        ASSERT_TRUE(model.editing());
        EXPECT_TRUE(view.stateButton()->isDefault());

        key(c.widget(view), Qt::Key_Return);
        EXPECT_FALSE(model.editing()) << "Enter did not apply";
        EXPECT_FALSE(view.stateButton()->isDefault()) << "viewing has no default button";
        EXPECT_FALSE(model.ended());
        key(c.widget(view), Qt::Key_Escape);
        EXPECT_TRUE(model.ended());
        EXPECT_EQ(model.result(), ui::DialogResult::Cancel);
        bed.chain.leave(model);
    }

    ui::GeneralSettingsDialog model(bed.settings, bed.configuration, bed.environment,
                                    bed.languages);
    GeneralSettingsView view(model, nullptr);
    model.initialise();
    view.stateButton()->click();
    bed.host.script(ui::DialogCode::Information,
                    testing::HeadlessHost::endWith(ui::DialogResult::Ok));
    key(view.informationButton(), Qt::Key_Return);
    EXPECT_EQ(bed.host.pendingScripts(ui::DialogCode::Information), 0u)
        << "the focused button was not pressed";
    EXPECT_TRUE(model.editing()) << "Enter on another button pressed Apply too";
    bed.chain.leave(model);
}

TEST_F(StationViewsTest, AdvancedSettingsShowLanguagesRegionsAndThresholds) {
    ui::AdvancedSettingsDialog model(bed.settings, bed.configuration, bed.environment,
                                     bed.languages);
    AdvancedSettingsView view(model, nullptr);
    model.initialise();
    EXPECT_EQ(view.languageList()->count(), 3);
    EXPECT_EQ(view.regionList()->currentText(), "Taiwan");
    EXPECT_EQ(view.rtsSlider()->maximum(), 2347);
    EXPECT_EQ(view.rtsValue()->text(), "< 2347 (Disable) >");
    view.powerButton(1)->click();
    EXPECT_EQ(model.powerIndex(), 1);
    EXPECT_EQ(bed.station("PowerSaveMode"), "1");
}

TEST_F(StationViewsTest, InformationShowsItsValuesAndOkEndsIt) {
    ui::InformationDialog model(bed.settings, bed.environment);
    InformationView view(model, nullptr);
    model.initialise();
    EXPECT_EQ(view.window().windowTitle(), "Information...  ");
    EXPECT_EQ(view.driverValue()->text(), "1.0.0715.2004");
    EXPECT_EQ(view.macValue()->text(), "02 00 00 00 05 40");
    view.okButton()->click();
    EXPECT_TRUE(model.ended());
    EXPECT_EQ(model.result(), ui::DialogResult::Ok);
}

}  // namespace
}  // namespace rizorivu::qt
