// Language and configuration files are untrusted bytes. Whatever they hold, parsing must end
// with a document whose values are whole UTF-8 lines' worth of text, and lookups must agree
// with themselves whatever the case of the names asked for.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "platform/IniDocument.h"
#include "platform/Unicode.h"

using namespace rizorivu;

namespace {

// Section and key names as a naive reader of the raw bytes sees them, so that lookups
// often hit; a few fixed names cover the misses and the empty name.
void collectNames(std::string_view bytes, std::vector<std::string>& sections,
                  std::vector<std::string>& keys) {
    sections = {"", "s", "S"};
    keys = {"", "k", "K"};
    std::size_t pos = 0;
    while (pos < bytes.size() && sections.size() + keys.size() < 24) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = bytes.substr(pos, end - pos);
        if (const std::size_t open = line.find('['); open != std::string_view::npos) {
            sections.emplace_back(line.substr(open + 1, line.find(']', open) - open - 1));
        } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            keys.emplace_back(line.substr(0, equals));
        }
        pos = end + 1;
    }
}

bool isWholeUtf8(std::string_view text) {
    return utf16ToUtf8(utf8ToUtf16(text)) == text;
}

void checkDocument(const IniDocument& doc, const std::vector<std::string>& sections,
                   const std::vector<std::string>& keys, const CaseFolder& folder) {
    for (const std::string& section : sections) {
        const bool hasSection = doc.hasSection(section, folder);
        if (hasSection != doc.hasSection(folder.upper(section), folder)) {
            std::abort();
        }
        for (const std::string& key : keys) {
            const std::optional<std::string_view> value = doc.find(section, key, folder);
            if (value != doc.find(folder.upper(section), folder.upper(key), folder)) {
                std::abort();
            }
            if (!value) {
                continue;
            }
            if (!hasSection ||
                value->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
                std::abort();
            }
            if (!isWholeUtf8(*value)) {
                std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CaseFolder folder;
    std::vector<std::string> sections;
    std::vector<std::string> keys;
    collectNames(bytes, sections, keys);

    const CodePage western;
    checkDocument(IniDocument::parse(bytes, western, folder), sections, keys, folder);
    // A double-byte code page, where a lead byte can swallow a line end.
    const CodePage japanese("CP932");
    checkDocument(IniDocument::parse(bytes, japanese, folder), sections, keys, folder);

    // Decoding settles: what came out of the code page goes back in and out unchanged.
    const std::string decoded = western.fromAnsi(bytes);
    if (!isWholeUtf8(decoded) || western.fromAnsi(western.toAnsi(decoded)) != decoded) {
        std::abort();
    }
    if (!isWholeUtf8(japanese.fromAnsi(bytes)) || western.toAnsi(bytes).size() > size) {
        std::abort();
    }
    return 0;
}
