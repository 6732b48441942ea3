#include "settings/NumberText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/support/CommaDecimalLocale.h"

namespace rizorivu {
namespace {

struct NumberCase {
    const char* name;
    std::string (*format)();
    const char* text;
};

// Every case runs under a locale whose decimal point is a comma: the texts must not follow it.
const NumberCase kCases[] = {
    {"Zero", [] { return decimalText(0); }, "0"},
    {"Negative", [] { return decimalText(-42); }, "-42"},
    {"NoGrouping", [] { return decimalText(1234567); }, "1234567"},
    {"Smallest", [] { return decimalText(LLONG_MIN); }, "-9223372036854775808"},
    {"ZeroPadded", [] { return decimalText(7, 2); }, "07"},
    {"PaddedAfterTheSign", [] { return decimalText(-5, 3); }, "-005"},
    {"WiderThanThePad", [] { return decimalText(2004, 2); }, "2004"},
    {"HexUpperCase", [] { return upperHexText(0xAB, 2); }, "AB"},
    {"HexPadded", [] { return upperHexText(0x5, 2); }, "05"},
    {"HexWide", [] { return upperHexText(0xBEEF, 2); }, "BEEF"},
    {"HalfMegabit", [] { return fixedText(5.5, 1); }, "5.5"},
    {"WholeKeepsItsDecimal", [] { return fixedText(2.0, 1); }, "2.0"},
    {"RoundsTheBinaryValue", [] { return fixedText(5.55, 1); }, "5.5"},  // 5.5499999...
    {"RoundsUp", [] { return fixedText(63.46, 1); }, "63.5"},
    {"NegativeFraction", [] { return fixedText(-0.25, 2); }, "-0.25"},
};

TEST(NumberText, IgnoresTheLocalesDecimalComma) {
    const testing::CommaDecimalLocale locale;
    ASSERT_TRUE(locale.active()) << "no German or French locale: run tools/install-deps.sh";
    for (const NumberCase& c : kCases) {
        EXPECT_EQ(c.format(), c.text) << c.name;
    }
}

}  // namespace
}  // namespace rizorivu
