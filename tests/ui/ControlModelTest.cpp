#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace rizorivu::ui {
namespace {

// One control of each kind, with every change they announce recorded in order.
struct Panel {
    Label label;
    CheckBox check;
    TextField field;
    RadioGroup radios{3};
    DropDownList list;
    DropDownList combo{true};
    ReportList report;
    Slider slider;
    ProgressBar bar;
    std::vector<Change> changes;

    void listen() {
        const auto record = [this](Change c) { changes.push_back(c); };
        for (Observable* o : std::initializer_list<Observable*>{
                 &label, &check, &field, &radios, &list, &combo, &report, &slider, &bar}) {
            o->subscribe(record);
        }
    }
};

struct ChangeCase {
    const char* name;
    std::function<void(Panel&)> arrange;
    std::function<void(Panel&)> act;
    std::vector<Change> announced;
    std::function<std::string(const Panel&)> state;
    std::string expectedState;
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

std::string str(int value) {
    return std::to_string(value);
}

const ChangeCase kChangeCases[] = {
    {"label text",
     nullptr,
     [](Panel& p) { p.label.setText("SSID:"); },
     {Change::Text},
     [](const Panel& p) { return p.label.text(); },
     "SSID:"},
    {"same text twice announces once",
     nullptr,
     [](Panel& p) {
         p.label.setText("x");
         p.label.setText("x");
     },
     {Change::Text},
     [](const Panel& p) { return p.label.text(); },
     "x"},
    {"enabling what is enabled",
     nullptr,
     [](Panel& p) { p.check.setEnabled(true); },
     {},
     [](const Panel& p) { return str(p.check.enabled()); },
     "1"},
    {"disable and hide",
     nullptr,
     [](Panel& p) {
         p.check.setEnabled(false);
         p.check.setVisible(false);
     },
     {Change::Enabled, Change::Visible},
     [](const Panel& p) { return str(p.check.enabled()) + str(p.check.visible()); },
     "00"},
    {"check box",
     nullptr,
     [](Panel& p) {
         p.check.setChecked(true);
         p.check.setChecked(true);
     },
     {Change::Checked},
     [](const Panel& p) { return str(p.check.checked()); },
     "1"},
    {"shorter text pulls the caret back",
     [](Panel& p) {
         p.field.setText("abcdef");
         p.field.setCaret(6);
     },
     [](Panel& p) { p.field.setText("ab"); },
     {Change::Text, Change::Caret},
     [](const Panel& p) { return p.field.text() + "|" + str(int(p.field.caret())); },
     "ab|2"},
    {"caret counts characters, not bytes",
     [](Panel& p) { p.field.setText("Grüße"); },
     [](Panel& p) { p.field.setCaret(99); },
     {Change::Caret},
     [](const Panel& p) { return str(int(p.field.caret())); },
     "5"},
    {"read-only and limit",
     nullptr,
     [](Panel& p) {
         p.field.setReadOnly(true);
         p.field.setMaxLength(32);
         p.field.setText(std::string(40, 'x'));
     },
     {Change::ReadOnly, Change::MaxLength, Change::Text},
     // The limit binds the user's typing only.
     [](const Panel& p) { return str(int(p.field.text().size())); },
     "40"},
    {"radio beyond the buttons chooses none",
     [](Panel& p) { p.radios.select(1); },
     [](Panel& p) { p.radios.select(3); },
     {Change::Selection},
     [](const Panel& p) { return str(p.radios.selected()); },
     "-1"},
    {"radio button attributes",
     nullptr,
     [](Panel& p) {
         p.radios.setButtonText(2, "256 bit");
         p.radios.setButtonVisible(2, false);
         p.radios.setButtonEnabled(5, false);
     },
     {Change::Buttons, Change::Buttons},
     [](const Panel& p) {
         return p.radios.button(2).text + str(p.radios.button(2).visible) +
                str(p.radios.button(0).visible);
     },
     "256 bit01"},
    {"all radios enabled already",
     nullptr,
     [](Panel& p) { p.radios.setAllEnabled(true); },
     {},
     [](const Panel& p) { return str(p.radios.button(1).enabled); },
     "1"},
    {"all radios disabled",
     [](Panel& p) { p.radios.setButtonEnabled(0, false); },
     [](Panel& p) { p.radios.setAllEnabled(false); },
     {Change::Buttons},
     [](const Panel& p) {
         return str(p.radios.button(0).enabled) + str(p.radios.button(1).enabled) +
                str(p.radios.button(2).enabled);
     },
     "000"},
    {"adding an item keeps the selection",
     [](Panel& p) {
         p.list.setItems({"1", "6", "11"});
         p.list.select(1);
     },
     [](Panel& p) { p.list.addItem("13"); },
     {Change::Items},
     [](const Panel& p) { return p.list.selectedItem(); },
     "6"},
    {"clearing a list deselects",
     [](Panel& p) {
         p.list.setItems({"1", "6"});
         p.list.select(0);
     },
     [](Panel& p) { p.list.clear(); },
     {Change::Items, Change::Selection},
     [](const Panel& p) { return str(p.list.count()) + str(p.list.selected()); },
     "0-1"},
    {"selecting past the items selects nothing",
     [](Panel& p) {
         p.list.setItems({"Open", "Shared", "Auto"});
         p.list.select(2);
     },
     [](Panel& p) { p.list.select(4); },
     {Change::Selection},
     [](const Panel& p) { return str(p.list.selected()) + p.list.selectedItem(); },
     "-1"},
    {"a plain list has no edit text",
     [](Panel& p) { p.list.setItems({"a"}); },
     [](Panel& p) { p.list.select(0); },
     {Change::Selection},
     [](const Panel& p) { return p.list.text(); },
     ""},
    {"editable list takes the selected item's text",
     [](Panel& p) {
         p.combo.setItems({"home", "office"});
     },
     [](Panel& p) { p.combo.select(1); },
     {Change::Selection, Change::Text},
     [](const Panel& p) { return p.combo.text(); },
     "office"},
    {"typing into an editable list deselects",
     [](Panel& p) {
         p.combo.setItems({"home", "office"});
         p.combo.select(1);
     },
     [](Panel& p) { p.combo.setEditText("off"); },
     {Change::Selection, Change::Text},
     [](const Panel& p) { return str(p.combo.selected()) + p.combo.text(); },
     "-1off"},
    {"clearing an editable list empties its text",
     [](Panel& p) {
         p.combo.setItems({"home"});
         p.combo.setEditText("typed");
     },
     [](Panel& p) { p.combo.clear(); },
     {Change::Items, Change::Text},
     [](const Panel& p) { return p.combo.text(); },
     ""},
    {"removing all rows deselects",
     [](Panel& p) {
         p.report.addRow({"net", "80%"});
         p.report.select(0);
     },
     [](Panel& p) { p.report.removeAllRows(); },
     {Change::Rows, Change::Selection},
     [](const Panel& p) { return str(p.report.rowCount()) + str(p.report.selected()); },
     "0-1"},
    {"a cell past the row's cells grows the row",
     [](Panel& p) { p.report.addRow({"net"}); },
     [](Panel& p) {
         p.report.setCell(0, 2, "x");
         p.report.setCell(3, 0, "no row");
     },
     {Change::Rows},
     [](const Panel& p) { return p.report.cell(0, 1) + "|" + p.report.cell(0, 2); },
     "|x"},
    {"columns and style",
     nullptr,
     [](Panel& p) {
         p.report.addColumn({"SSID", 105, ReportList::Alignment::Left});
         p.report.setColumnCaption(0, "Name");
         p.report.setColumnCaption(1, "none");
         p.report.setFullRowSelect(true);
     },
     {Change::Columns, Change::Columns, Change::Style},
     [](const Panel& p) {
         return p.report.columns().at(0).caption + str(p.report.columns().at(0).width);
     },
     "Name105"},
    {"a range that excludes the position moves it",
     [](Panel& p) {
         p.slider.setRange(0, 2347);
         p.slider.setPosition(2000);
     },
     [](Panel& p) { p.slider.setRange(256, 1024); },
     {Change::Range, Change::Position},
     [](const Panel& p) { return str(p.slider.position()); },
     "1024"},
    {"a slider position outside the range goes to the nearer end",
     [](Panel& p) { p.slider.setRange(256, 2346); },
     [](Panel& p) { p.slider.setPosition(100); },
     {},
     [](const Panel& p) { return str(p.slider.position()); },
     "256"},
    {"an inverted range is empty",
     nullptr,
     [](Panel& p) { p.slider.setRange(50, 10); },
     {Change::Range, Change::Position},
     [](const Panel& p) {
         return str(p.slider.minimum()) + "-" + str(p.slider.maximum()) + "@" +
                str(p.slider.position());
     },
     "50-50@50"},
    {"slider steps",
     nullptr,
     [](Panel& p) {
         p.slider.setPageSize(128);
         p.slider.setTickSpacing(128);
     },
     {Change::Range, Change::Range},
     [](const Panel& p) { return str(p.slider.pageSize()) + str(p.slider.tickSpacing()); },
     "128128"},
    {"progress bar is full at 100",
     nullptr,
     [](Panel& p) { p.bar.setPosition(150); },
     {Change::Position},
     [](const Panel& p) { return str(p.bar.position()); },
     "100"},
};

class ControlModelChanges : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ControlModelChanges, AnnounceExactlyWhatChanged) {
    const ChangeCase& c = GetParam();
    Panel panel;
    if (c.arrange) {
        c.arrange(panel);
    }
    panel.listen();
    c.act(panel);
    EXPECT_EQ(panel.changes, c.announced);
    EXPECT_EQ(c.state(panel), c.expectedState);
}

INSTANTIATE_TEST_SUITE_P(Ui, ControlModelChanges, ::testing::ValuesIn(kChangeCases));

// Observers read the model while they are told of a change, so the model must already hold
// the new value, and no stale selection may point past the items.
TEST(ControlModelObservers, SeeTheNewValueWhenNotified) {
    DropDownList list;
    list.setItems({"a", "b", "c"});
    list.select(2);
    std::vector<std::string> seen;
    list.subscribe([&](Change c) {
        seen.push_back(std::to_string(static_cast<int>(c)) + ":" + std::to_string(list.count()) +
                       "/" + std::to_string(list.selected()) + "/" + list.selectedItem());
    });
    list.setItems({"x"});
    EXPECT_EQ(seen, (std::vector<std::string>{
                        std::to_string(static_cast<int>(Change::Items)) + ":1/-1/",
                        std::to_string(static_cast<int>(Change::Selection)) + ":1/-1/"}));
}

TEST(ControlModelObservers, MayUnsubscribeAndSubscribeWhileNotified) {
    Label label;
    std::vector<std::string> calls;
    Observable::Subscription self = 0;
    Observable::Subscription other = 0;
    // The closure owns a string, so that destroying it while it runs would be caught.
    self = label.subscribe([&, tag = std::string("self-listener")](Change) {
        label.unsubscribe(self);
        label.unsubscribe(other);
        label.subscribe([&](Change) { calls.push_back("late"); });
        calls.push_back(tag);
    });
    other = label.subscribe([&](Change) { calls.push_back("other"); });

    label.setText("one");
    EXPECT_EQ(calls, (std::vector<std::string>{"self-listener"}));
    label.setText("two");
    EXPECT_EQ(calls, (std::vector<std::string>{"self-listener", "late"}));
}

TEST(ControlModelObservers, UnsubscribedListenersHearNothing) {
    CheckBox box;
    int heard = 0;
    const auto id = box.subscribe([&](Change) { ++heard; });
    box.setChecked(true);
    box.unsubscribe(id);
    box.setChecked(false);
    EXPECT_EQ(heard, 1);
}

TEST(ControlModelLists, FindItemsAndCellsByPosition) {
    DropDownList channels;
    for (const char* c : {"1", "6", "11", "6"}) {
        channels.addItem(c);
    }
    EXPECT_EQ(channels.indexOf("6"), 1);
    EXPECT_EQ(channels.indexOf("13"), -1);

    ReportList report;
    EXPECT_EQ(report.addRow({"a", "1"}), 0);
    EXPECT_EQ(report.addRow({"b"}), 1);
    EXPECT_EQ(report.cell(0, 1), "1");
    for (auto [row, column] : {std::pair{1, 1}, {2, 0}, {-1, 0}, {0, -1}}) {
        EXPECT_EQ(report.cell(row, column), "") << row << "," << column;
    }
    EXPECT_TRUE(report.select(1));
    EXPECT_FALSE(report.select(2));
    EXPECT_EQ(report.selected(), -1);
}

}  // namespace
}  // namespace rizorivu::ui
