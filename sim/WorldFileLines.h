#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Unicode.h"
#include "sim/WorldErrorSink.h"

namespace rizorivu::sim {

// The line structure of a world file: its sections and keys with their line numbers.

enum class SectionKind { Machine, Adapter, Network, Client };

// A kind of section: its name (upper case; with `takesId` a prefix the id follows) and its
// keys (upper case).
struct SectionRule {
    SectionKind kind;
    std::string_view prefix;
    bool takesId;
    std::vector<std::string_view> keys;
};

struct KeyLine {
    std::string folded;
    int line = 0;
};

struct SectionLines {
    std::string name;
    std::string folded;
    int line = 0;
    const SectionRule* rule = nullptr;
    std::vector<KeyLine> keys;
};

// Splits the file into lines as the profile reader does (same decoding, same line ends) and
// checks that each is a section of `rules`, a key that section knows, a comment or blank,
// with no section and no key of a section twice. The first problem goes to `failure`.
std::vector<SectionLines> scanWorldLines(std::string_view bytes, const CodePage& ansi,
                                         const std::vector<SectionRule>& rules,
                                         const CaseFolder& folder, WorldErrorSink& failure);

}  // namespace rizorivu::sim
