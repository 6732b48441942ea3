// Builds the product's language files from the sources in lang/.
//
//   rizorivu_langgen --utf16 QVMLu.INI --ansi QVMLa.INI English.ini Deutsch.ini ...
//
// Each source is UTF-8 and holds one section: the language's section name with its texts.
// The output lists the sections under [LANGUAGES] in the order given, followed by the
// sections themselves, once as UTF-16LE with a byte-order mark and once in Windows-1252.
// The build fails when the languages disagree on their keys, a key is defined twice, a
// language lacks a description of another, or a text cannot be written in Windows-1252.

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Unicode.h"

namespace {

using rizorivu::CaseFolder;
using rizorivu::CodePage;

struct Language {
    std::string file;
    std::string section;
    std::vector<std::string> lines;           // the section's lines, header excluded
    std::map<std::string, std::string> keys;  // folded name -> name as written
};

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

bool parseLanguage(const std::string& path, const CaseFolder& folder, Language& lang) {
    std::string text;
    if (!readFile(path, text)) {
        std::cerr << path << ": cannot read\n";
        return false;
    }
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        text.erase(0, 3);
    }
    lang.file = path;
    bool ok = true;
    int lineNo = 0;
    for (const std::string& raw : splitLines(text)) {
        ++lineNo;
        const std::string_view line = rizorivu::trimBlanks(raw);
        if (line.empty() || line.front() == ';') {
            if (!lang.section.empty()) {
                lang.lines.push_back(std::string(line));
            }
            continue;
        }
        if (line.front() == '[') {
            if (!lang.section.empty()) {
                std::cerr << path << ":" << lineNo << ": a language source holds one section\n";
                return false;
            }
            const auto close = line.find(']');
            lang.section = std::string(rizorivu::trimBlanks(line.substr(1, close - 1)));
            continue;
        }
        if (lang.section.empty()) {
            std::cerr << path << ":" << lineNo << ": text before the section\n";
            return false;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            std::cerr << path << ":" << lineNo << ": not a key=value line\n";
            ok = false;
            continue;
        }
        const std::string name(rizorivu::trimBlanks(line.substr(0, eq)));
        if (!lang.keys.emplace(folder.upper(name), name).second) {
            std::cerr << path << ":" << lineNo << ": " << name << " is defined twice\n";
            ok = false;
        }
        lang.lines.push_back(std::string(line));
    }
    if (lang.section.empty()) {
        std::cerr << path << ": no section\n";
        return false;
    }
    return ok;
}

bool sameKeys(const Language& reference, const Language& other) {
    bool ok = true;
    for (const auto& [folded, name] : reference.keys) {
        if (!other.keys.contains(folded)) {
            std::cerr << other.file << ": lacks " << name << " (present in " << reference.file
                      << ")\n";
            ok = false;
        }
    }
    for (const auto& [folded, name] : other.keys) {
        if (!reference.keys.contains(folded)) {
            std::cerr << other.file << ": " << name << " is not in " << reference.file << "\n";
            ok = false;
        }
    }
    return ok;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string utf16LeWithBom(const std::string& utf8) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : rizorivu::utf8ToUtf16(utf8)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    std::string utf16Path;
    std::string ansiPath;
    std::vector<std::string> sources;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--utf16" && i + 1 < argc) {
            utf16Path = argv[++i];
        } else if (arg == "--ansi" && i + 1 < argc) {
            ansiPath = argv[++i];
        } else {
            sources.push_back(arg);
        }
    }
    if (utf16Path.empty() || ansiPath.empty() || sources.empty()) {
        std::cerr << "usage: rizorivu_langgen --utf16 OUT --ansi OUT SOURCE...\n";
        return 2;
    }

    const CaseFolder folder;
    std::vector<Language> languages(sources.size());
    bool ok = true;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        ok = parseLanguage(sources[i], folder, languages[i]) && ok;
    }
    if (!ok) {
        return 1;
    }
    for (std::size_t i = 1; i < languages.size(); ++i) {
        ok = sameKeys(languages[0], languages[i]) && ok;
    }
    for (const Language& lang : languages) {
        for (std::size_t n = 1; n <= languages.size(); ++n) {
            const std::string key = "Language_" + std::to_string(n) + "_Description";
            if (!lang.keys.contains(folder.upper(key))) {
                std::cerr << lang.file << ": lacks " << key << "\n";
                ok = false;
            }
        }
    }
    if (!ok) {
        return 1;
    }

    std::ostringstream text;
    text << "[LANGUAGES]\r\n";
    for (std::size_t i = 0; i < languages.size(); ++i) {
        text << "Language_" << i + 1 << "_Section=" << languages[i].section << "\r\n";
    }
    for (const Language& lang : languages) {
        text << "\r\n[" << lang.section << "]\r\n";
        for (const std::string& line : lang.lines) {
            text << line << "\r\n";
        }
    }
    const std::string utf8 = text.str();

    const CodePage ansi(CodePage::kDefaultName);
    const std::string single = ansi.toAnsi(utf8);
    if (ansi.fromAnsi(single) != utf8) {
        // Point at the first line that does not survive the round trip.
        for (const Language& lang : languages) {
            for (const std::string& line : lang.lines) {
                if (ansi.fromAnsi(ansi.toAnsi(line)) != line) {
                    std::cerr << lang.file << ": not representable in Windows-1252: " << line
                              << "\n";
                }
            }
        }
        return 1;
    }
    if (!writeFile(utf16Path, utf16LeWithBom(utf8)) || !writeFile(ansiPath, single)) {
        std::cerr << "cannot write the language files\n";
        return 1;
    }
    return 0;
}
