#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rizorivu {
class LocalizedText;
}

namespace rizorivu::ui {

// The items of a choice list whose texts only the language file holds: the texts of
// `prefix` followed by n = first, first + 1, ... up to the first empty one, at most `limit`.
std::vector<std::string> numberedTexts(const LocalizedText& texts, std::string_view prefix,
                                       int first, int limit = 64);

// `format` with its first "%d" replaced by `value` and "%%" by "%". A language file's text is
// never handed to a C formatter: any other conversion stays as it is written.
std::string withNumber(std::string_view format, int value);

}  // namespace rizorivu::ui
