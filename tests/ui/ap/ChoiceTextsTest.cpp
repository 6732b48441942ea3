#include "ui/ap/ChoiceTexts.h"

#include <gtest/gtest.h>

namespace rizorivu::ui {
namespace {

TEST(ChoiceTexts, LanguageTextsTakeTheNumberOnlyWhereTheyAskForIt) {
    struct Case {
        const char* format;
        const char* shown;
    };
    const Case cases[] = {
        {"Disable", "Disable"},       {"Off (%d)", "Off (2347)"},
        {"%s %n %d", "%s %n 2347"},  // no other conversion is ever run
        {"100%% %d", "100% 2347"},    {"%d and %d", "2347 and %d"},
        {"trailing %", "trailing %"}, {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(withNumber(c.format, 2347), c.shown) << c.format;
    }
}

}  // namespace
}  // namespace rizorivu::ui
