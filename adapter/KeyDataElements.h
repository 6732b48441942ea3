#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// The group key a GTK key data encapsulation carries, borrowing the key data's bytes.
struct GroupKeyElement {
    int index = 0;  // 0-3
    bool transmit = false;
    std::span<const std::uint8_t> key;
};

// What the (decrypted) key data of an RSN EAPOL-Key frame holds: elements and key data
// encapsulations (KDEs: vendor id 221 under 00-0F-AC with a data type) back to back, then
// perhaps padding (0xDD and zeros to the end). The bytes come from the air, so the walk trusts
// no length: an element that runs past the end, a GTK KDE too short for its header or longer
// than any group key, or a second GTK KDE makes the whole key data malformed. PMKIDs, other
// KDEs and other elements are skipped.
struct KeyDataElements {
    static constexpr std::uint8_t kTypeGroupKey = 1;
    static constexpr std::uint8_t kTypePmkid = 4;
    static constexpr std::size_t kMaxGroupKeyBytes = 32;

    std::vector<std::span<const std::uint8_t>> rsnElements;  // whole, in their order
    std::optional<GroupKeyElement> groupKey;

    static std::optional<KeyDataElements> parse(std::span<const std::uint8_t> keyData);
};

// A GTK KDE for `key` under `index` (0-3).
std::vector<std::uint8_t> groupKeyKde(int index, bool transmit, std::span<const std::uint8_t> key);
// A PMKID KDE, as an access point puts it into message 1.
std::vector<std::uint8_t> pmkidKde(std::span<const std::uint8_t, 16> pmkid);

}  // namespace rizorivu
