#include "platform/KeyLevels.h"

namespace rizorivu {

KeyLevels KeyLevels::split(const CaseFolder& folder, std::string_view path) {
    KeyLevels levels;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('\\', pos);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > pos) {
            const std::string_view name = path.substr(pos, end - pos);
            if (!levels.folded.empty()) {
                levels.folded += '\\';
            }
            levels.folded += folder.upper(name);
            levels.ends.push_back(levels.folded.size());
            levels.names.push_back(name);
        }
        pos = end + 1;
    }
    return levels;
}

// Upper-casing never produces or removes a backslash, so folding first and then dropping
// empty components equals folding each one, with a single call into the case folder.
std::string KeyLevels::fold(const CaseFolder& folder, std::string_view path) {
    const std::string upper = folder.upper(path);
    std::string out;
    out.reserve(upper.size());
    std::size_t pos = 0;
    while (pos <= upper.size()) {
        std::size_t end = upper.find('\\', pos);
        if (end == std::string::npos) {
            end = upper.size();
        }
        if (end > pos) {
            if (!out.empty()) {
                out += '\\';
            }
            out.append(upper, pos, end - pos);
        }
        pos = end + 1;
    }
    return out;
}

}  // namespace rizorivu
