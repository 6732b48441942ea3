#include "wpa/AnsiText.h"

#include "platform/Unicode.h"

namespace rizorivu::wpa {

std::string boundedAnsi(const CodePage& ansi, std::string_view utf8, std::size_t maxBytes) {
    std::string bytes = ansi.toAnsi(utf8);
    if (bytes.size() <= maxBytes) {
        return bytes;
    }
    // No code page needs more than four bytes a character, so the cut starts close by.
    std::size_t chars = std::min(utf8Length(utf8), maxBytes);
    do {
        bytes = ansi.toAnsi(utf8Prefix(utf8, chars));
    } while (bytes.size() > maxBytes && chars-- > 0);
    return bytes.size() <= maxBytes ? bytes : std::string();
}

}  // namespace rizorivu::wpa
