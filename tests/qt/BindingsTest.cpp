// The control bindings under the offscreen platform: widgets follow their models, user input
// reaches the models and runs the handler once, and the model's own changes run no handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "qt/ButtonBinding.h"
#include "qt/CheckBoxBinding.h"
#include "qt/DropDownListBinding.h"
#include "qt/GroupBoxBinding.h"
#include "qt/LabelBinding.h"
#include "qt/ProgressBarBinding.h"
#include "qt/RadioGroupBinding.h"
#include "qt/ReportListBinding.h"
#include "qt/SliderBinding.h"
#include "qt/TextFieldBinding.h"
#include "ui/Controls.h"

namespace rizorivu::qt {
namespace {

class Bindings : public ::testing::Test {
protected:
    void type(QWidget* widget, Qt::Key key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(widget, &release);
    }

    void mouse(QWidget* widget, QEvent::Type type, QPoint at) {
        QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};
    QWidget window_;
};

TEST_F(Bindings, LabelAndGroupBoxFollowTheirModels) {
    ui::Label label;
    label.setText("Link Status:");
    ui::GroupBox group;
    LabelBinding labelView(label, &window_);
    GroupBoxBinding groupView(group, &window_);
    EXPECT_EQ(labelView.widget()->text(), "Link Status:");

    label.setText("Verbindungsstatus:");
    label.setEnabled(false);
    label.setVisible(false);
    group.setText("Current Network Information");
    EXPECT_EQ(labelView.widget()->text(), "Verbindungsstatus:");
    EXPECT_FALSE(labelView.widget()->isEnabled());
    EXPECT_TRUE(labelView.widget()->isHidden());
    EXPECT_EQ(groupView.widget()->title(), "Current Network Information");

    label.setVisible(true);
    EXPECT_FALSE(labelView.widget()->isHidden());
}

TEST_F(Bindings, LabelShowsMarkupAsPlainText) {
    ui::Label label;
    label.setText("<b>home</b>");
    LabelBinding view(label, &window_);
    EXPECT_EQ(view.widget()->textFormat(), Qt::PlainText);
}

TEST_F(Bindings, ButtonPressRunsTheHandlerOnce) {
    ui::Button button;
    int presses = 0;
    ButtonBinding view(button, &window_, [&] { ++presses; });
    button.setText("Refresh");
    EXPECT_EQ(view.widget()->text(), "Refresh");
    EXPECT_EQ(presses, 0);
    view.widget()->click();
    EXPECT_EQ(presses, 1);

    button.setEnabled(false);
    view.widget()->click();
    EXPECT_EQ(presses, 1);
}

// A captionless button is drawn only where its view allows it; the model's own visibility
// always counts, and a caption given back shows the button again.
TEST_F(Bindings, ButtonWithoutCaptionIsHiddenOnlyWhereTheViewSaysSo) {
    using Captionless = ButtonBinding::Captionless;
    struct Case {
        Captionless captionless;
        const char* caption;
        bool modelVisible;
        bool hidden;
    };
    for (const Case& c : {
             Case{Captionless::Shown, "", true, false},
             Case{Captionless::Hidden, "", true, true},
             Case{Captionless::Hidden, "Refresh", true, false},
             Case{Captionless::Hidden, "Refresh", false, true},
             Case{Captionless::Shown, "Refresh", false, true},
         }) {
        SCOPED_TRACE(std::string("caption '") + c.caption + "'");
        ui::Button button;
        ButtonBinding before(button, &window_, nullptr, c.captionless);
        button.setText(c.caption);
        button.setVisible(c.modelVisible);
        ButtonBinding after(button, &window_, nullptr, c.captionless);
        EXPECT_EQ(before.widget()->isHidden(), c.hidden) << "changed after binding";
        EXPECT_EQ(after.widget()->isHidden(), c.hidden) << "bound to the finished model";
    }

    ui::Button button;
    ButtonBinding view(button, &window_, nullptr, Captionless::Hidden);
    button.setText("Refresh");
    button.setText("");
    EXPECT_TRUE(view.widget()->isHidden());
    button.setText("Refresh");
    EXPECT_FALSE(view.widget()->isHidden());
}

TEST_F(Bindings, TextFieldTypingReachesTheModelBeforeTheHandler) {
    ui::TextField field;
    field.setText("ho");
    field.setCaret(2);
    std::vector<std::string> seen;
    TextFieldBinding view(field, &window_, [&] { seen.push_back(field.text()); });
    EXPECT_EQ(view.widget()->text(), "ho");

    type(view.widget(), Qt::Key_M, "m");
    EXPECT_EQ(seen, (std::vector<std::string>{"hom"}));
    EXPECT_EQ(field.text(), "hom");
    EXPECT_EQ(field.caret(), 3u);
    EXPECT_EQ(view.widget()->cursorPosition(), 3);
}

TEST_F(Bindings, TextFieldProgramChangesRunNoHandler) {
    ui::TextField field;
    int edits = 0;
    TextFieldBinding view(field, &window_, [&] { ++edits; });
    field.setText("Connecting...");
    field.setReadOnly(true);
    EXPECT_EQ(view.widget()->text(), "Connecting...");
    EXPECT_TRUE(view.widget()->isReadOnly());
    EXPECT_EQ(edits, 0);
}

TEST_F(Bindings, TextFieldLimitBindsTheUserNotTheProgram) {
    ui::TextField field;
    field.setMaxLength(4);
    field.setText("abcdef");
    TextFieldBinding view(field, &window_, nullptr);
    EXPECT_EQ(view.widget()->text(), "abcdef");

    field.setText("ab");
    view.widget()->setCursorPosition(2);
    for (const char* letter : {"c", "d", "e"}) {
        type(view.widget(), Qt::Key_A, QString::fromLatin1(letter));
    }
    EXPECT_EQ(field.text(), "abcd");
}

TEST_F(Bindings, TextFieldCaretCountsCodePoints) {
    ui::TextField field;
    // U+1D11E takes two UTF-16 units.
    field.setText(
        "a\xF0\x9D\x84\x9E"
        "b");
    field.setCaret(2);
    TextFieldBinding view(field, &window_, nullptr);
    EXPECT_EQ(view.widget()->cursorPosition(), 3);
}

TEST_F(Bindings, CheckBoxClickTogglesTheModelThenRunsTheHandler) {
    ui::CheckBox box;
    std::vector<bool> seen;
    CheckBoxBinding view(box, &window_, [&] { seen.push_back(box.checked()); });
    box.setChecked(true);
    EXPECT_TRUE(view.widget()->isChecked());
    EXPECT_TRUE(seen.empty());

    view.widget()->click();
    EXPECT_EQ(seen, (std::vector<bool>{false}));
    EXPECT_FALSE(box.checked());
}

TEST_F(Bindings, DropDownPickSelectsThenRunsTheHandlerOnce) {
    ui::DropDownList list;
    std::vector<int> picks;
    DropDownListBinding view(list, &window_, [&] { picks.push_back(list.selected()); });
    list.setItems({"Station", "Access Point"});
    list.select(0);
    EXPECT_EQ(view.widget()->count(), 2);
    EXPECT_EQ(view.widget()->currentIndex(), 0);
    EXPECT_EQ(view.widget()->itemText(1), "Access Point");
    EXPECT_TRUE(picks.empty());

    type(view.widget(), Qt::Key_Down);
    EXPECT_EQ(picks, (std::vector<int>{1}));
    EXPECT_EQ(list.selected(), 1);

    list.select(-1);
    EXPECT_EQ(view.widget()->currentIndex(), -1);
    list.clear();
    EXPECT_EQ(view.widget()->count(), 0);
    EXPECT_EQ(picks.size(), 1u);
}

TEST_F(Bindings, EditableDropDownTypingBecomesTheModelText) {
    ui::DropDownList list(true);
    list.setItems({"home", "office"});
    int typed = 0;
    int picked = 0;
    DropDownListBinding view(
        list, &window_, [&] { ++picked; }, [&] { ++typed; });
    list.select(1);
    EXPECT_EQ(view.widget()->currentText(), "office");

    view.widget()->lineEdit()->setCursorPosition(6);
    type(view.widget()->lineEdit(), Qt::Key_X, "x");
    EXPECT_EQ(typed, 1);
    EXPECT_EQ(picked, 0);
    EXPECT_EQ(list.text(), "officex");
    EXPECT_EQ(list.selected(), -1);
    EXPECT_EQ(view.widget()->count(), 2);
}

TEST_F(Bindings, RadioGroupShowsTheModelsChoiceIncludingNone) {
    ui::RadioGroup group(2);
    group.setButtonText(0, "Infrastructure");
    group.setButtonText(1, "Ad Hoc");
    std::vector<int> chosen;
    RadioGroupBinding view(group, &window_, [&] { chosen.push_back(group.selected()); });
    group.select(1);
    EXPECT_FALSE(view.button(0)->isChecked());
    EXPECT_TRUE(view.button(1)->isChecked());
    EXPECT_EQ(view.button(0)->text(), "Infrastructure");

    view.button(0)->click();
    EXPECT_EQ(chosen, (std::vector<int>{0}));
    EXPECT_TRUE(view.button(0)->isChecked());
    EXPECT_FALSE(view.button(1)->isChecked());

    // A click on the chosen button leaves it chosen.
    view.button(0)->click();
    EXPECT_TRUE(view.button(0)->isChecked());
    EXPECT_EQ(chosen.size(), 2u);

    group.select(-1);
    EXPECT_FALSE(view.button(0)->isChecked());
    group.setButtonEnabled(1, false);
    EXPECT_FALSE(view.button(1)->isEnabled());
    EXPECT_EQ(chosen.size(), 2u);
}

TEST_F(Bindings, ReportListFollowsColumnsRowsAndSelection) {
    ui::ReportList list;
    int clicks = 0;
    ReportListBinding view(list, &window_, {[&] { ++clicks; }, nullptr});
    list.addColumn({"SSID", 120, ui::ReportList::Alignment::Left});
    list.addColumn({"Strength", 60, ui::ReportList::Alignment::Right});
    list.addRow({"home", "80%"});
    list.addRow({"office"});
    list.select(1);
    QTreeWidget* tree = view.widget();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->headerItem()->text(1), "Strength");
    EXPECT_EQ(tree->topLevelItem(0)->text(1), "80%");
    EXPECT_EQ(tree->topLevelItem(1)->text(1), "");
    EXPECT_TRUE(tree->topLevelItem(1)->isSelected());
    EXPECT_EQ(tree->columnWidth(0), 120);

    list.setCell(1, 1, "40%");
    EXPECT_EQ(tree->topLevelItem(1)->text(1), "40%");
    EXPECT_TRUE(tree->topLevelItem(1)->isSelected());
    list.removeAllRows();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(list.selected(), -1);
}

TEST_F(Bindings, ReportListClicksSelectThenRunTheirHandlers) {
    ui::ReportList list;
    std::vector<std::string> events;
    ReportListBinding view(
        list, &window_,
        {[&] { events.push_back("click " + std::to_string(list.selected())); },
         [&] { events.push_back("double " + std::to_string(list.selected())); }});
    list.addColumn({"SSID", 120, ui::ReportList::Alignment::Left});
    list.addRow({"home"});
    list.addRow({"office"});
    window_.resize(300, 200);
    view.widget()->setGeometry(0, 0, 300, 200);
    window_.show();

    QTreeWidget* tree = view.widget();
    const QPoint second = tree->visualItemRect(tree->topLevelItem(1)).center();
    mouse(tree->viewport(), QEvent::MouseButtonPress, second);
    mouse(tree->viewport(), QEvent::MouseButtonRelease, second);
    EXPECT_EQ(events, (std::vector<std::string>{"click 1"}));
    EXPECT_EQ(list.selected(), 1);

    // A double click arrives as press, release, double click, release.
    const QPoint first = tree->visualItemRect(tree->topLevelItem(0)).center();
    mouse(tree->viewport(), QEvent::MouseButtonPress, first);
    mouse(tree->viewport(), QEvent::MouseButtonRelease, first);
    mouse(tree->viewport(), QEvent::MouseButtonDblClick, first);
    mouse(tree->viewport(), QEvent::MouseButtonRelease, first);
    EXPECT_EQ(events, (std::vector<std::string>{"click 1", "click 0", "double 0"}));
}

// The first column takes the width the others leave; a cell's tooltip holds its whole text
// exactly while the column is too narrow for it, following the list's width.
TEST_F(Bindings, ReportListColumnsFillTheListAndCutCellsCarryTheirText) {
    ui::ReportList list;
    ReportListBinding view(list, &window_, {}, ReportListBinding::ColumnWidths::FillList);
    list.addColumn({"SSID", 60, ui::ReportList::Alignment::Left});
    list.addColumn({"Strength", 50, ui::ReportList::Alignment::Right});
    const QString longName = "A network with a rather long name";
    list.addRow({"home", "80%"});
    list.addRow({longName.toStdString(), "40%"});
    QTreeWidget* tree = view.widget();
    window_.show();

    struct Case {
        int listWidth;
        bool cut;
    };
    const int needed = tree->fontMetrics().horizontalAdvance(longName);
    for (const Case& c : {Case{needed / 2, true}, Case{needed + 200, false}, Case{120, true}}) {
        SCOPED_TRACE(c.listWidth);
        tree->setGeometry(0, 0, c.listWidth, 150);
        QApplication::processEvents();
        EXPECT_EQ(tree->columnWidth(1), 50);
        EXPECT_EQ(tree->columnWidth(0) + tree->columnWidth(1), tree->viewport()->width());
        EXPECT_EQ(tree->topLevelItem(1)->toolTip(0), c.cut ? longName : QString());
        EXPECT_EQ(tree->topLevelItem(0)->toolTip(0), "");
        EXPECT_EQ(tree->topLevelItem(1)->toolTip(1), "");
    }
}

TEST_F(Bindings, SliderMovesByTheUserOnlyRunTheHandler) {
    ui::Slider slider;
    slider.setRange(0, 3);
    std::vector<int> moves;
    SliderBinding view(slider, &window_, [&] { moves.push_back(slider.position()); });
    slider.setPosition(2);
    EXPECT_EQ(view.widget()->value(), 2);
    EXPECT_EQ(view.widget()->maximum(), 3);
    EXPECT_TRUE(moves.empty());

    type(view.widget(), Qt::Key_Right);
    EXPECT_EQ(moves, (std::vector<int>{3}));
    EXPECT_EQ(slider.position(), 3);

    slider.setRange(0, 1);
    EXPECT_EQ(view.widget()->value(), 1);
    EXPECT_EQ(moves.size(), 1u);
}

TEST_F(Bindings, ProgressBarFollowsRangeAndPosition) {
    ui::ProgressBar bar;
    ProgressBarBinding view(bar, &window_);
    bar.setPosition(42);
    EXPECT_EQ(view.widget()->value(), 42);
    bar.setRange(0, 20);
    EXPECT_EQ(view.widget()->maximum(), 20);
    EXPECT_EQ(view.widget()->value(), 20);
}

TEST_F(Bindings, AWidgetGoneFirstIsNotTouched) {
    ui::Label label;
    auto* parent = new QWidget;
    LabelBinding view(label, parent);
    delete parent;
    label.setText("after");
    EXPECT_EQ(view.widget(), nullptr);
}

}  // namespace
}  // namespace rizorivu::qt
