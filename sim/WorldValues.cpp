#include "sim/WorldValues.h"

#include <algorithm>
#include <charconv>

namespace rizorivu::sim {

namespace {

// The standard 802.11b/g rates in units of 500 kbit/s.
constexpr std::uint8_t kKnownRates[] = {2, 4, 11, 22, 12, 18, 24, 36, 48, 72, 96, 108};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::optional<long long> parseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == ':' || c == '-') {
            if (high >= 0) {
                return std::nullopt;  // a separator inside a pair
            }
            continue;
        }
        const int digit = hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<RateBytes> parseRates(std::string_view text, std::string& why) {
    RateBytes rates{};
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t,", pos);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = text.find_first_of(" \t,", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view token = text.substr(start, end - start);
        pos = end;
        const bool basic = token.back() == '*';
        if (basic) {
            token.remove_suffix(1);
        }
        int halves = -1;
        const std::size_t dot = token.find('.');
        const std::string_view wholeText = token.substr(0, dot);
        const bool decimal =
            !wholeText.empty() && std::all_of(wholeText.begin(), wholeText.end(),
                                              [](char c) { return c >= '0' && c <= '9'; });
        const auto whole = decimal ? parseInteger(wholeText) : std::nullopt;
        if (whole && *whole <= 54) {
            if (dot == std::string_view::npos) {
                halves = static_cast<int>(*whole * 2);
            } else if (token.substr(dot) == ".5" || token.substr(dot) == ".0") {
                halves = static_cast<int>(*whole * 2 + (token[dot + 1] == '5' ? 1 : 0));
            }
        }
        if (std::find(std::begin(kKnownRates), std::end(kKnownRates), halves) ==
            std::end(kKnownRates)) {
            why = "\"" + std::string(token) + "\" is not an 802.11b/g rate";
            return std::nullopt;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if ((rates[i] & 0x7F) == halves) {
                why = "rate " + std::string(token) + " is listed twice";
                return std::nullopt;
            }
        }
        if (count == rates.size()) {
            why = "more than 16 rates";
            return std::nullopt;
        }
        rates[count++] = static_cast<std::uint8_t>(halves | (basic ? 0x80 : 0));
    }
    if (count == 0) {
        why = "no rate";
        return std::nullopt;
    }
    return rates;
}

}  // namespace rizorivu::sim
