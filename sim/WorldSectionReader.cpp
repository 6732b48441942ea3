#include "sim/WorldSectionReader.h"

#include <algorithm>

#include "sim/WorldValues.h"

namespace rizorivu::sim {

int WorldSectionReader::lineOf(std::string_view key) const {
    const std::string folded = folder_.upper(key);
    for (const KeyLine& k : section_.keys) {
        if (k.folded == folded) {
            return k.line;
        }
    }
    return 0;
}

void WorldSectionReader::fail(std::string_view key, const std::string& message) {
    const int line = lineOf(key);
    sink_.fail(line != 0 ? line : section_.line,
               "[" + section_.name + "] " + std::string(key) + ": " + message);
}

void WorldSectionReader::forbid(std::string_view key, const std::string& reason) {
    if (has(key)) {
        fail(key, reason);
    }
}

std::optional<std::string> WorldSectionReader::text(std::string_view key, bool required) {
    if (!has(key)) {
        if (required) {
            fail(key, "missing");
        }
        return std::nullopt;
    }
    return std::string(doc_.find(section_.name, key, folder_).value_or(std::string_view()));
}

std::optional<std::string> WorldSectionReader::ansiText(std::string_view key, bool required,
                                                        std::size_t minBytes,
                                                        std::size_t maxBytes) {
    const auto value = text(key, required);
    if (!value) {
        return std::nullopt;
    }
    std::string bytes = ansi_.toAnsi(*value);
    if (bytes.size() < minBytes || bytes.size() > maxBytes) {
        fail(key, "must be " + std::to_string(minBytes) + "-" + std::to_string(maxBytes) +
                      " bytes long");
        return std::nullopt;
    }
    return bytes;
}

std::string WorldSectionReader::fittingText(std::string_view key, std::size_t maxBytes) {
    return ansiText(key, true, 1, maxBytes) ? *text(key, true) : std::string();
}

long long WorldSectionReader::integer(std::string_view key, long long lo, long long hi,
                                      long long fallback) {
    const auto value = text(key, false);
    if (!value) {
        return fallback;
    }
    const auto number = parseInteger(*value);
    if (!number) {
        fail(key, "\"" + *value + "\" is not a number");
        return fallback;
    }
    if (*number < lo || *number > hi) {
        fail(key, *value + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
        return fallback;
    }
    return *number;
}

bool WorldSectionReader::flag(std::string_view key, bool fallback) {
    return integer(key, 0, 1, fallback ? 1 : 0) == 1;
}

int WorldSectionReader::choice(std::string_view key, std::initializer_list<std::string_view> names,
                               int fallback) {
    const auto value = text(key, false);
    if (!value) {
        return fallback;
    }
    const std::string wanted = lowerAscii(*value);
    int index = 0;
    std::string list;
    for (const std::string_view name : names) {
        if (name == wanted) {
            return index;
        }
        list += (index == 0 ? "" : ", ") + std::string(name);
        ++index;
    }
    fail(key, "\"" + *value + "\" is not one of " + list);
    return fallback;
}

std::optional<std::vector<std::uint8_t>> WorldSectionReader::hexBytes(std::string_view key,
                                                                      bool required) {
    const auto value = text(key, required);
    if (!value) {
        return std::nullopt;
    }
    auto bytes = parseHexBytes(*value);
    if (!bytes) {
        fail(key, "bad hex");  // never echoed: a WEP key is a secret
    }
    return bytes;
}

std::optional<MacAddress> WorldSectionReader::unicastAddress(std::string_view key, bool required) {
    const auto bytes = hexBytes(key, required);
    if (!bytes) {
        return std::nullopt;
    }
    if (bytes->size() != 6) {
        fail(key, "needs six hex bytes");
        return std::nullopt;
    }
    MacAddress mac{};
    std::copy(bytes->begin(), bytes->end(), mac.begin());
    if ((mac[0] & 0x01) != 0 || mac == MacAddress{}) {
        fail(key, "must be a unicast address");
        return std::nullopt;
    }
    return mac;
}

RateBytes WorldSectionReader::rates(std::string_view key) {
    const auto value = text(key, false);
    if (!value) {
        return kDefaultRates;
    }
    std::string why;
    const auto rates = parseRates(*value, why);
    if (!rates) {
        fail(key, why);
        return kDefaultRates;
    }
    return *rates;
}

}  // namespace rizorivu::sim
