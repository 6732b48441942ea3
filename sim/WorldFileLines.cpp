#include "sim/WorldFileLines.h"

#include <algorithm>

#include "platform/IniDocument.h"

namespace rizorivu::sim {

namespace {

bool hasPrefix(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The text the profile reader sees: chosen by the byte-order mark as IniDocument does, so
// that line numbers count the same lines it reads.
std::string decodeText(std::string_view bytes, const CodePage& ansi) {
    bytes = bytes.substr(0, IniDocument::kMaxBytes);
    if (hasPrefix(bytes, "\xFF\xFE")) {
        const std::string_view body = bytes.substr(2);
        std::u16string units(body.size() / 2, u'\0');
        for (std::size_t i = 0; i < units.size(); ++i) {
            units[i] = static_cast<char16_t>(static_cast<unsigned char>(body[2 * i]) |
                                             static_cast<unsigned char>(body[2 * i + 1]) << 8);
        }
        return utf16ToUtf8(units);
    }
    if (hasPrefix(bytes, "\xEF\xBB\xBF")) {
        return utf16ToUtf8(utf8ToUtf16(bytes.substr(3)));
    }
    return ansi.fromAnsi(bytes);
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
    const std::string text = decodeText(bytes, ansi);
    std::vector<SectionLines> sections;
    const std::size_t size = text.size();
    std::size_t pos = 0;
    int lineNumber = 0;
    while (pos < size && !failure.failed()) {
        ++lineNumber;
        std::size_t end = pos;
        while (end < size && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        std::string_view raw(text.data() + pos, end - pos);
        pos = end + (end + 1 < size && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
        raw = raw.substr(0, raw.find('\0'));
        const std::string_view line = trimBlanks(raw);
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
