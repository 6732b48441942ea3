#pragma once

#include <string>
#include <string_view>

namespace rizorivu::ui {

// The threshold sliders of the advanced settings: their ranges, the "Disable" positions at
// their upper ends, and the label under each.
constexpr int kFragmentationMinimum = 256;
constexpr int kFragmentationMaximum = 2346;
constexpr int kRtsMinimum = 0;
constexpr int kRtsMaximum = 2347;
constexpr int kThresholdPageSize = 128;
constexpr int kThresholdTickSpacing = 128;

// The slider position for a threshold the adapter reported: the upper end ("Disable") when it
// could not tell (-1) or told a value outside the range.
int thresholdPosition(int reported, int minimum, int maximum);
// "< 512 >", or "< 2346 (Disable) >" at the upper end.
std::string thresholdLabel(int position, int maximum, std::string_view disableText);

// A region code as the language file writes it: hex digits; empty is 0, anything else -1.
int regionCodeOfText(std::string_view text);

}  // namespace rizorivu::ui
