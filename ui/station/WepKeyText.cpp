#include "ui/station/WepKeyText.h"

#include <algorithm>
#include <span>

#include "platform/CodePage.h"
#include "platform/Unicode.h"
#include "settings/HexText.h"

namespace rizorivu::ui {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";
constexpr int kIvBits = 24;

}  // namespace

int wepKeyBytes(int lengthIndex) {
    switch (lengthIndex) {
        case 1:
            return 13;
        case 2:
            return 29;
        default:
            return 5;
    }
}

int wepKeyBits(int lengthIndex) {
    return wepKeyBytes(lengthIndex) * 8 + kIvBits;
}

int wepLengthIndexOfBits(int bits) {
    return bits == 128 ? 1 : bits == 256 ? 2 : 0;
}

std::size_t wepKeyFieldLimit(int lengthIndex, int format) {
    const auto bytes = static_cast<std::size_t>(wepKeyBytes(lengthIndex));
    return format == kAsciiFormat ? bytes : bytes * 2;
}

std::string wepKeyMask(int lengthIndex, int format) {
    return std::string(wepKeyFieldLimit(lengthIndex, format), '*');
}

HexDigitsOnly keepHexDigits(std::string_view text) {
    HexDigitsOnly result;
    std::size_t position = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        // Whole characters: a multi-byte character is removed as one.
        const std::size_t length = utf8Prefix(text.substr(i), 1).size();
        const std::string_view character = text.substr(i, std::max<std::size_t>(length, 1));
        if (character.size() == 1 && kHexDigits.find(character[0]) != std::string_view::npos) {
            result.text += character;
        } else if (result.removedAt == std::string::npos) {
            result.removedAt = position;
        }
        i += character.size();
        ++position;
    }
    return result;
}

std::array<std::uint8_t, kWepKeyBuffer> wepKeyBytesOfText(std::string_view typed, int lengthIndex,
                                                          int format, const CodePage& ansi) {
    std::array<std::uint8_t, kWepKeyBuffer> buffer{};
    const auto n = static_cast<std::size_t>(wepKeyBytes(lengthIndex));
    std::string text(trimBlanks(typed));
    if (format == kAsciiFormat) {
        text = std::string(utf8Prefix(text, n));
        text.append(n - utf8Length(text), ' ');
        const std::string bytes = ansi.toAnsi(text);
        std::copy_n(bytes.begin(), std::min(n, bytes.size()), buffer.begin());
    } else {
        HexTextToBytes(ansi.toAnsi(text), std::span(buffer).first(n));
    }
    return buffer;
}

}  // namespace rizorivu::ui
