#pragma once

#include <cstdint>
#include <span>

namespace rizorivu::sim {

// The rule of WL_FilteSiteSurveyData, applied in place to a BSSID list whose contents are
// untrusted (the caller may have written anything into it):
//  1. Records are walked from offset 4 while the count lasts. A record shorter than its
//     128 fixed bytes, or longer than what is left of the buffer, ends the walk: the records
//     after it cannot be found.
//  2. A record whose SSID length is above 32, whose element area (ieLength) is shorter than
//     its 12 fixed bytes or reaches past the record, or whose elements do not end exactly at
//     the end of that area, is dropped.
//  3. Of records with the same BSSID only the strongest stays (the first of equals).
//  4. The records left are ordered by signal, strongest first; equals keep their order.
// The list is rewritten as the count followed by the kept records, byte for byte; the bytes
// that held dropped records are cleared. Nothing outside `buffer` and nothing past a record's
// own length is read. Answers the number of records kept, or -1 when the buffer cannot hold
// the count.
int filterSurvey(std::span<std::uint8_t> buffer);

}  // namespace rizorivu::sim
