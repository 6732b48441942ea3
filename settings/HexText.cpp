#include "settings/HexText.h"

#include <algorithm>

namespace rizorivu {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string BytesToHexText(std::span<const std::uint8_t> bytes, bool spaced) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (spaced && i > 0) {
            text += ' ';
        }
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::size_t HexTextToBytes(std::string_view text, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    std::size_t stored = 0;
    int pendingDigits = 0;
    int pendingValue = 0;
    const auto completeToken = [&] {
        out[stored++] = static_cast<std::uint8_t>(pendingValue);
        pendingDigits = 0;
        pendingValue = 0;
    };
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (pendingDigits > 0) {
                completeToken();
            }
            continue;
        }
        const int value = hexDigitValue(c);
        if (value < 0) {
            return stored;
        }
        if (pendingDigits == 0 && stored == out.size()) {
            return stored;
        }
        pendingValue = pendingValue * 16 + value;
        if (++pendingDigits == 2) {
            completeToken();
        }
    }
    if (pendingDigits > 0) {
        completeToken();
    }
    return stored;
}

}  // namespace rizorivu
