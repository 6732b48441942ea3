#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "platform/IniDocument.h"
#include "platform/Unicode.h"
#include "sim/World.h"
#include "sim/WorldErrorSink.h"
#include "sim/WorldFileLines.h"

namespace rizorivu::sim {

// Reads the values of one section of a world file through the profile reader and checks
// them. A problem is reported once to the sink, at the key's line (or the section's when the
// key is missing), and the reader answers a fallback so that reading can go on.
class WorldSectionReader {
public:
    WorldSectionReader(const SectionLines& section, const IniDocument& doc,
                       const CaseFolder& folder, const CodePage& ansi, WorldErrorSink& sink)
        : section_(section), doc_(doc), folder_(folder), ansi_(ansi), sink_(sink) {}

    bool has(std::string_view key) const { return lineOf(key) != 0; }
    void fail(std::string_view key, const std::string& message);
    // A key that only some variants of the section may carry.
    void forbid(std::string_view key, const std::string& reason);

    // The value as the profile reader gives it; nothing when the key is absent (a problem
    // when it is required).
    std::optional<std::string> text(std::string_view key, bool required);
    // The value in the ANSI code page, `minBytes` to `maxBytes` long there.
    std::optional<std::string> ansiText(std::string_view key, bool required, std::size_t minBytes,
                                        std::size_t maxBytes);
    // A required value as text, checked to fit `maxBytes` once in the ANSI code page.
    std::string fittingText(std::string_view key, std::size_t maxBytes);
    long long integer(std::string_view key, long long lo, long long hi, long long fallback);
    bool flag(std::string_view key, bool fallback);
    // The position of the value in `names` (lower case; the value compares without regard
    // to ASCII case).
    int choice(std::string_view key, std::initializer_list<std::string_view> names, int fallback);
    std::optional<std::vector<std::uint8_t>> hexBytes(std::string_view key, bool required);
    std::optional<MacAddress> unicastAddress(std::string_view key, bool required);
    RateBytes rates(std::string_view key);

private:
    int lineOf(std::string_view key) const;

    const SectionLines& section_;
    const IniDocument& doc_;
    const CaseFolder& folder_;
    const CodePage& ansi_;
    WorldErrorSink& sink_;
};

}  // namespace rizorivu::sim
