#include "ui/OpenDialogChain.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

#include "tests/ui/ProbeDialog.h"

namespace rizorivu::testing {
namespace {

using ui::DialogCode;
using ui::DialogResult;
using AtMainWindow = ui::OpenDialogChain::AtMainWindow;

constexpr DialogCode code(int value) {
    return static_cast<DialogCode>(value);
}

// One open dialog: its code and the code its opener stored in it.
struct Link {
    int code;
    int parent;
};

std::string describe(const std::vector<Link>& links) {
    std::ostringstream out;
    for (const Link& l : links) {
        out << l.code << "<-" << l.parent << " ";
    }
    return out.str();
}

// Opens the dialogs in order, each registering itself as it initialises.
class OpenDialogs {
public:
    OpenDialogs(DialogBed& bed, const std::vector<Link>& links) {
        for (const Link& l : links) {
            auto dialog = std::make_unique<ProbeDialog>(code(l.code), bed.environment, &log);
            dialog->setParentCode(code(l.parent));
            dialog->initialise();
            dialogs_.push_back(std::move(dialog));
        }
        log.clear();
    }

    std::vector<std::string> log;

private:
    std::vector<std::unique_ptr<ProbeDialog>> dialogs_;
};

struct CloseCase {
    const char* name;
    std::vector<Link> open;
    int top;
    std::vector<int> ended;  // in the order the walk ends them, the main window aside
    bool reachesMain;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name << ": " << describe(c.open) << "top " << c.top;
}

const CloseCase kCloseCases[] = {
    {"settings above main", {{0, -1}, {1, 0}, {2, 1}}, 2, {2, 1}, true},
    {"access point views", {{0, -1}, {5, 0}, {6, 5}}, 6, {6, 5}, true},
    {"WEP keys from the connect flow", {{0, -1}, {3, 0}}, 3, {3}, true},
    {"main window alone", {{0, -1}}, 0, {}, true},
    {"WPA settings from the general settings", {{0, -1}, {1, 0}, {7, 1}}, 7, {7, 1}, true},
    {"WPA settings from the connect flow", {{0, -1}, {7, 0}}, 7, {7}, true},
    {"a parent that is not open", {{0, -1}, {1, 0}, {3, 7}}, 3, {3}, false},
    {"a parent without a slot", {{0, -1}, {3, 8}}, 3, {3}, false},
    {"a parent code nobody knows", {{0, -1}, {4, 12}}, 4, {4}, false},
    {"an empty slot", {{0, -1}, {2, 1}}, 2, {2}, false},
    {"a loop among parents", {{0, -1}, {1, 2}, {2, 1}}, 2, {2, 1}, false},
    {"no top dialog", {{0, -1}, {1, 0}}, -1, {}, false},
};

class OpenDialogChainClosing
    : public ::testing::TestWithParam<std::tuple<CloseCase, AtMainWindow>> {};

TEST_P(OpenDialogChainClosing, EndsTheChainFromTheTopDown) {
    const auto& [c, atMain] = GetParam();
    DialogBed bed;
    OpenDialogs open(bed, c.open);
    bed.host.showMainWindow();
    bed.chain.setTop(code(c.top));

    bed.chain.closeAll(bed.host, atMain);

    std::vector<int> expectedEndings = c.ended;
    if (c.reachesMain && atMain == AtMainWindow::End) {
        expectedEndings.push_back(0);
    }
    std::vector<int> endings;
    for (const auto& e : bed.host.endings()) {
        endings.push_back(ui::toInt(e.code));
        EXPECT_EQ(e.result, DialogResult::Closed);
    }
    EXPECT_EQ(endings, expectedEndings);
    EXPECT_EQ(bed.host.mainWindowState().visible, !(c.reachesMain && atMain == AtMainWindow::Hide));
    EXPECT_EQ(bed.chain.top(), c.reachesMain ? DialogCode::Main : code(c.top));
}

INSTANTIATE_TEST_SUITE_P(Ui, OpenDialogChainClosing,
                         ::testing::Combine(::testing::ValuesIn(kCloseCases),
                                            ::testing::Values(AtMainWindow::Hide,
                                                              AtMainWindow::End)));

struct RecaptionCase {
    const char* name;
    std::vector<Link> open;
    int start;
    std::vector<std::string> recaptioned;
};

void PrintTo(const RecaptionCase& c, std::ostream* os) {
    *os << c.name << ": " << describe(c.open) << "from " << c.start;
}

const RecaptionCase kRecaptionCases[] = {
    {"advanced settings up to main",
     {{0, -1}, {1, 0}, {2, 1}},
     2,
     {"2:recaption", "1:recaption", "0:recaption"}},
    {"access point views",
     {{0, -1}, {5, 0}, {6, 5}},
     6,
     {"6:recaption", "5:recaption", "0:recaption"}},
    {"only the path from the start", {{0, -1}, {1, 0}, {2, 1}}, 1, {"1:recaption", "0:recaption"}},
    {"main window alone", {{0, -1}}, 0, {"0:recaption"}},
    {"a parent that is not open", {{0, -1}, {1, 0}, {3, 7}}, 3, {"3:recaption"}},
    {"starting at the WPA settings",
     {{0, -1}, {1, 0}, {7, 1}},
     7,
     {"7:recaption", "1:recaption", "0:recaption"}},
    {"a parent code nobody knows", {{0, -1}, {4, 12}}, 4, {"4:recaption"}},
    {"an empty slot", {{0, -1}, {2, 1}}, 2, {"2:recaption"}},
    {"an empty start", {{0, -1}}, 2, {}},
    {"a loop among parents", {{1, 2}, {2, 1}}, 2, {"2:recaption", "1:recaption"}},
    // The main window ends the walk even if something stored a parent in it.
    {"main window with a parent", {{0, 1}, {1, 0}}, 1, {"1:recaption", "0:recaption"}},
};

class OpenDialogChainRecaptioning : public ::testing::TestWithParam<RecaptionCase> {};

TEST_P(OpenDialogChainRecaptioning, FollowsTheOpenersDownToTheMainWindow) {
    const RecaptionCase& c = GetParam();
    DialogBed bed;
    OpenDialogs open(bed, c.open);

    bed.chain.recaptionFrom(code(c.start));

    EXPECT_EQ(open.log, c.recaptioned);
}

INSTANTIATE_TEST_SUITE_P(Ui, OpenDialogChainRecaptioning, ::testing::ValuesIn(kRecaptionCases));

TEST(OpenDialogChainSlots, OnlyCodesMainToWpaSettingsHaveSlots) {
    DialogBed bed;
    for (int c = -1; c <= 8; ++c) {
        ProbeDialog dialog(code(c), bed.environment);
        dialog.initialise();
        EXPECT_EQ(bed.chain.top(), code(c));
        EXPECT_EQ(bed.chain.slot(code(c)), (c >= 0 && c <= 7) ? &dialog : nullptr) << c;
    }
}

TEST(OpenDialogChainSlots, LeavingFreesOnlyTheDialogsOwnSlot) {
    DialogBed bed;
    ProbeDialog first(DialogCode::WepKeys, bed.environment);
    ProbeDialog second(DialogCode::WepKeys, bed.environment);
    first.initialise();
    second.initialise();
    bed.chain.leave(first);
    EXPECT_EQ(bed.chain.slot(DialogCode::WepKeys), &second);
    bed.chain.leave(second);
    EXPECT_EQ(bed.chain.slot(DialogCode::WepKeys), nullptr);
}

}  // namespace
}  // namespace rizorivu::testing
