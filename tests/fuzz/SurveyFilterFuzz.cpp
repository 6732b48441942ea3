// The survey buffer the filter rewrites belongs to the caller, who may have written anything
// into it. Whatever its bytes, the filter must stay inside the buffer and leave a list that
// can be walked record by record, without repeated BSSIDs, strongest first, which a second
// filtering leaves exactly as it is.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "adapter/ByteOrder.h"
#include "sim/SurveyFilter.h"

using namespace rizorivu;
using namespace rizorivu::sim;

namespace {

void checkList(const std::vector<std::uint8_t>& buffer, int kept) {
    if (kept < 0 || static_cast<std::uint32_t>(kept) != getLe32(buffer.data())) {
        std::abort();
    }
    std::vector<std::array<std::uint8_t, 6>> bssids;
    std::size_t offset = 4;
    std::int32_t previous = INT32_MAX;
    for (int i = 0; i < kept; ++i) {
        if (buffer.size() - offset < 128) {
            std::abort();
        }
        const std::uint8_t* record = buffer.data() + offset;
        const std::uint32_t length = getLe32(record);
        if (length < 128 || length > buffer.size() - offset || getLe32(record + 12) > 32) {
            std::abort();
        }
        const std::uint32_t ieLength = getLe32(record + 112);
        if (ieLength < 12 || ieLength > length - 116) {
            std::abort();
        }
        const auto rssi = static_cast<std::int32_t>(getLe32(record + 52));
        if (rssi > previous) {
            std::abort();
        }
        previous = rssi;
        std::array<std::uint8_t, 6> bssid{};
        std::memcpy(bssid.data(), record + 4, 6);
        if (std::find(bssids.begin(), bssids.end(), bssid) != bssids.end()) {
            std::abort();
        }
        bssids.push_back(bssid);
        offset += length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exactly the utility's size on the heap, so that any step outside it is caught.
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes, 0);
    std::memcpy(buffer.data(), data, std::min(size, buffer.size()));
    const int kept = filterSurvey(buffer);
    checkList(buffer, kept);

    std::vector<std::uint8_t> again = buffer;
    if (filterSurvey(again) != kept || again != buffer) {
        std::abort();
    }
    return 0;
}
