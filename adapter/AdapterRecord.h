#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace rizorivu {

// One element of the list the adapter library fills with the machine's network adapters.
// Byte strings in the ANSI code page, each zero-terminated.
struct AdapterListEntry {
    static constexpr std::size_t kNameSize = 260;
    static constexpr std::size_t kDescriptionSize = 260;
    static constexpr std::size_t kClassInstanceSize = 5;

    char name[kNameSize] = {};                    // the name the library opens it by
    char description[kDescriptionSize] = {};      // shown in the adapter list
    char classInstance[kClassInstanceSize] = {};  // instance key below the adapter class key
};
static_assert(sizeof(AdapterListEntry) == 525);

// The one record of the open adapter, passed by address to every adapter-library operation.
struct AdapterRecord {
    static constexpr std::int32_t kNoAdapter = -1;
    static constexpr std::size_t kClassInstanceSize = 8;

    std::int32_t handle = kNoAdapter;
    char name[AdapterListEntry::kNameSize] = {};
    char description[AdapterListEntry::kDescriptionSize] = {};
    char classInstance[kClassInstanceSize] = {};
    std::uint32_t reserved[3] = {};  // the library's own
};
static_assert(sizeof(AdapterRecord) == 544);

// Copies a text into a fixed byte field, cut so that the terminator always fits.
template <std::size_t N>
void copyField(char (&field)[N], std::string_view text) {
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

// The text of a fixed byte field, up to its terminator or its end, whichever comes first.
template <std::size_t N>
std::string fieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

}  // namespace rizorivu
