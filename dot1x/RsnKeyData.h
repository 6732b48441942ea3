#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "adapter/KeyDataElements.h"

namespace rizorivu::dot1x {

// The checks the decrypted key data of an RSN (WPA2) key message must pass before anything in
// it is installed. Each answers the group key the data hands over, borrowing its bytes, or
// nothing: the message is then dropped.

// Message 3 of the 4-way handshake (802.11i 8.5.3.3): its first RSN element must be byte for
// byte the one the survey showed (anything else means the access point's offer was tampered
// with on the air: a downgrade), a second RSN element must name the pairwise cipher the
// station chose, and a GTK KDE must carry a key of the group cipher's length.
std::optional<GroupKeyElement> rsnMessage3GroupKey(const KeyDataElements& keyData,
                                                   std::span<const std::uint8_t> surveyElement,
                                                   int pairwiseCipher, int groupCipher);

// Message 1 of the group-key handshake: a GTK KDE with a key of the group cipher's length.
std::optional<GroupKeyElement> rsnGroupMessageKey(const KeyDataElements& keyData, int groupCipher);

}  // namespace rizorivu::dot1x
