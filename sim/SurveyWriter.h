#pragma once

#include <cstdint>
#include <span>

#include "sim/BssDescription.h"

namespace rizorivu::sim {

// Writes the NDIS 802.11 BSSID list of `entries`, in their order, into `buffer`: the count,
// then one record per entry with its information elements, each record padded to a multiple
// of four bytes. A record that does not fit whole ends the list; the count says how many
// were written. Nothing at or past the end of `buffer` is touched. Answers the count, or -1
// when the buffer cannot hold even the count.
int writeSurvey(std::span<const BssDescription> entries, std::span<std::uint8_t> buffer);

}  // namespace rizorivu::sim
