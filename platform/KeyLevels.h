#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Unicode.h"

namespace rizorivu {

// A registry key path split into its components: the folded (upper-cased) path of every level
// and the spelling of each component. Empty components (leading, trailing or doubled
// backslashes) are dropped.
struct KeyLevels {
    std::string folded;                   // the whole folded path
    std::vector<std::size_t> ends;        // folded.substr(0, ends[i]) is level i
    std::vector<std::string_view> names;  // spelling of level i, viewing the caller's path

    // `path` must outlive the result, whose names view it.
    static KeyLevels split(const CaseFolder& folder, std::string_view path);
    // Only the folded form of the whole path, for lookups.
    static std::string fold(const CaseFolder& folder, std::string_view path);
};

}  // namespace rizorivu
