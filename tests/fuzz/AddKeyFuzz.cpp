// WriteOid hands the driver an add-key record of any length and content. A record the parser
// accepts must describe a key that lies wholly inside it, in one of the two shapes a key can
// have.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "adapter/ByteOrder.h"
#include "sim/AddKeyRecord.h"

using namespace rizorivu;
using namespace rizorivu::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that reading past it is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto record = parseAddKeyRecord(bytes);
    if (!record) {
        return 0;
    }
    const std::uint32_t length = getLe32(bytes.data());
    const std::size_t keyBytes = record->material.size();
    if (keyBytes == 0 || keyBytes > AddKeyRecord::kMaxKeyBytes || length > size ||
        AddKeyRecord::kHeaderBytes + keyBytes > length ||
        (record->pairwise && record->keyIndex != 0) || record->keyIndex < 0 ||
        record->keyIndex > 3) {
        std::abort();
    }
    return 0;
}
