#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rizorivu {
class CodePage;
}

namespace rizorivu::ui {

// What a WEP key field holds and how its text becomes key bytes. Lengths by index: 0 is
// 64 bits (5 bytes), 1 is 128 bits (13), 2 is 256 bits (29); any other index counts as 0.
// Formats: 0 hexadecimal digits, 1 ASCII characters.
constexpr int kHexFormat = 0;
constexpr int kAsciiFormat = 1;
// Every key is built in a buffer this long, whatever its length.
constexpr std::size_t kWepKeyBuffer = 30;

int wepKeyBytes(int lengthIndex);
int wepKeyBits(int lengthIndex);
// The length index of a stored "WEPKeyLength": 128 -> 1, 256 -> 2, anything else -> 0.
int wepLengthIndexOfBits(int bits);
// How many characters a key field takes: two digits a byte, or one character a byte.
std::size_t wepKeyFieldLimit(int lengthIndex, int format);
// The asterisks that stand for a stored key, one per character the field takes.
std::string wepKeyMask(int lengthIndex, int format);

// A hexadecimal field's text with every character that is no hex digit removed, and where the
// first removed one stood (in characters); `removedAt` is npos when nothing was removed.
struct HexDigitsOnly {
    std::string text;
    std::size_t removedAt = std::string::npos;
};
HexDigitsOnly keepHexDigits(std::string_view text);

// The key bytes of a typed key: trimmed; ASCII is cut or padded with blanks to the key's size
// and converted to the code page; hex digits fill the bytes in pairs, missing ones stay zero.
std::array<std::uint8_t, kWepKeyBuffer> wepKeyBytesOfText(std::string_view typed, int lengthIndex,
                                                          int format, const CodePage& ansi);

}  // namespace rizorivu::ui
