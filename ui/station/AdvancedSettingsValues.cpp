#include "ui/station/AdvancedSettingsValues.h"

#include <limits>

#include "settings/HexText.h"

namespace rizorivu::ui {

namespace {

constexpr int kNoValue = -1;

}  // namespace

int thresholdPosition(int reported, int minimum, int maximum) {
    return reported == kNoValue || reported < minimum || reported > maximum ? maximum : reported;
}

std::string thresholdLabel(int position, int maximum, std::string_view disableText) {
    std::string label = "< " + std::to_string(position);
    if (position == maximum) {
        label += " (";
        label += disableText;
        label += ")";
    }
    return label + " >";
}

int regionCodeOfText(std::string_view text) {
    int code = 0;
    for (const char c : text) {
        const int digit = hexDigitValue(c);
        // A code too long for any region counts as malformed, not as a wrapped number.
        if (digit == kNoValue || code > (std::numeric_limits<int>::max() >> 4)) {
            return kNoValue;
        }
        code = code * 16 + digit;
    }
    return code;
}

}  // namespace rizorivu::ui
