#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace rizorivu {

// The certificate list the 802.1X library fills for the WPA settings dialog: at most 500
// entries, each two UTF-16 texts of at most 255 characters. Entry i keeps the layout of the
// library's buffer (1024 bytes: a zero-terminated text in each 512-byte half); for the
// client list the texts are subject and issuer, for the CA list the name and a second text.
// Texts are cut at 255 characters, never past a half.
class CertificateList {
public:
    static constexpr std::size_t kEntries = 500;
    static constexpr std::size_t kTextUnits = 256;  // 255 characters and the terminator
    static constexpr std::size_t kMaxTextLength = kTextUnits - 1;

    // Empties every entry, as the library expects before a fill.
    void clear();
    // Writes entry `index` (below kEntries; false otherwise), each text cut to
    // kMaxTextLength code units without splitting a surrogate pair.
    bool set(std::size_t index, std::u16string_view first, std::u16string_view second);
    // The texts of entry `index` up to their terminators; empty beyond the list.
    std::u16string_view first(std::size_t index) const;
    std::u16string_view second(std::size_t index) const;

private:
    std::u16string_view text(std::size_t index, std::size_t half) const;

    std::array<char16_t, kEntries * 2 * kTextUnits> units_{};
};

}  // namespace rizorivu
