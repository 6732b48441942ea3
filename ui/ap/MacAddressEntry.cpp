#include "ui/ap/MacAddressEntry.h"

#include <algorithm>

#include "settings/HexText.h"

namespace rizorivu::ui {

namespace {

MacAddressEntry malformed() {
    MacAddressEntry entry;
    entry.kind = MacAddressEntry::Kind::Malformed;
    return entry;
}

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == ':' || c == '-';
}

}  // namespace

MacAddressEntry MacAddressEntry::read(std::string_view text) {
    MacAddressEntry entry;
    std::size_t digits = 0;
    std::size_t pending = 0;  // digits of the byte being read
    for (const char c : text) {
        if (isSeparator(c)) {
            // A byte is two digits: "0A:B:0C" is as wrong as a missing byte.
            if (pending == 1) {
                return malformed();
            }
            continue;
        }
        const int value = hexDigitValue(c);
        if (value < 0 || digits == 2 * kBytes) {
            return malformed();
        }
        std::uint8_t& byte = entry.bytes[digits / 2];
        byte = static_cast<std::uint8_t>(byte << 4 | value);
        ++digits;
        pending = digits % 2;
    }
    if (digits == 0) {
        return entry;
    }
    if (digits != 2 * kBytes) {
        return malformed();
    }
    if (std::all_of(entry.bytes.begin(), entry.bytes.end(),
                    [](std::uint8_t b) { return b == 0; })) {
        entry.kind = Kind::Empty;
    } else if ((entry.bytes[0] & 0x01) != 0) {
        entry.kind = Kind::Group;
    } else {
        entry.kind = Kind::Address;
    }
    return entry;
}

}  // namespace rizorivu::ui
