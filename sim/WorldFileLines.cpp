#include "sim/WorldFileLines.h"

#include <algorithm>
#include <optional>

#include "platform/IniLineReader.h"

namespace rizorivu::sim {

namespace {

bool hasPrefix(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

const SectionRule* ruleFor(std::string_view folded, const std::vector<SectionRule>& rules) {
    for (const SectionRule& rule : rules) {
        if (rule.takesId ? folded.size() > rule.prefix.size() && hasPrefix(folded, rule.prefix)
                         : folded == rule.prefix) {
            return &rule;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<SectionLines> scanWorldLines(std::string_view bytes, const CodePage& ansi,
                                         const std::vector<SectionRule>& rules,
                                         const CaseFolder& folder, WorldErrorSink& failure) {
    // The profile reader's own lines, so that line numbers count the lines it reads.
    IniLineReader lines(bytes, ansi);
    std::vector<SectionLines> sections;
    while (!failure.failed()) {
        const std::optional<std::string_view> raw = lines.next();
        if (!raw) {
            break;
        }
        const int lineNumber = lines.lineNumber();
        const std::string_view line = trimBlanks(*raw);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view after =
                close == std::string_view::npos ? "" : trimBlanks(line.substr(close + 1));
            if (close == std::string_view::npos || (!after.empty() && after.front() != ';')) {
                failure.fail(lineNumber, "a section header must be [name] alone on its line");
                break;
            }
            SectionLines section;
            section.name = std::string(trimBlanks(line.substr(1, close - 1)));
            section.folded = folder.upper(section.name);
            section.line = lineNumber;
            section.rule = ruleFor(section.folded, rules);
            if (section.rule == nullptr) {
                failure.fail(lineNumber, "unknown section [" + section.name + "]");
                break;
            }
            for (const SectionLines& earlier : sections) {
                if (earlier.folded == section.folded) {
                    failure.fail(lineNumber, "section [" + section.name +
                                                 "] repeats the one at line " +
                                                 std::to_string(earlier.line));
                }
            }
            sections.push_back(std::move(section));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            failure.fail(lineNumber, "neither a section, a key=value pair nor a comment");
            break;
        }
        const std::string_view name = trimBlanks(line.substr(0, equals));
        if (sections.empty()) {
            failure.fail(lineNumber, "key " + std::string(name) + " before any section");
            break;
        }
        SectionLines& section = sections.back();
        const std::string folded = folder.upper(name);
        const auto& known = section.rule->keys;
        if (std::find(known.begin(), known.end(), folded) == known.end()) {
            failure.fail(lineNumber,
                         "unknown key \"" + std::string(name) + "\" in [" + section.name + "]");
            break;
        }
        for (const KeyLine& earlier : section.keys) {
            if (earlier.folded == folded) {
                failure.fail(lineNumber, "key " + std::string(name) + " repeats the one at line " +
                                             std::to_string(earlier.line));
            }
        }
        section.keys.push_back(KeyLine{folded, lineNumber});
    }
    return sections;
}

}  // namespace rizorivu::sim
