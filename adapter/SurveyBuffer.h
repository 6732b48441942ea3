#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>

#include "adapter/SurveyRecord.h"

namespace rizorivu {

// Where a record lies inside the buffer.
struct SurveyRecordPlace {
    std::size_t offset = 0;
    std::size_t length = 0;
};

// The buffer's bytes are whatever the driver wrote, so none of the counts or lengths in it are
// trusted. The walk starts at byte 4 and takes at most the declared count of records; it ends
// early at a record that has fewer than 128 bytes left in the buffer, whose length is below
// 128 (zero included) or whose length reaches past the end of the buffer. Every step advances
// at least 128 bytes, so the walk always ends.
std::size_t surveyDeclaredCount(std::span<const std::uint8_t> buffer);
std::size_t surveyRecordCount(std::span<const std::uint8_t> buffer);
std::optional<SurveyRecordPlace> surveyRecordPlace(std::span<const std::uint8_t> buffer,
                                                   std::size_t index);

// A view of the whole survey buffer. It keeps no state of its own beyond the span, so it sees
// the buffer as it is at every call, also after the library has refilled it.
template <typename Byte>
class BasicSurveyBuffer {
    static_assert(std::is_same_v<std::remove_const_t<Byte>, std::uint8_t>);

public:
    using Record = BasicSurveyRecordView<Byte>;

    explicit BasicSurveyBuffer(std::span<Byte> buffer) : buffer_(buffer) {}

    // The count bytes 0-3 claim, and the number of records the walk actually reaches.
    std::size_t declaredCount() const { return surveyDeclaredCount(buffer_); }
    std::size_t recordCount() const { return surveyRecordCount(buffer_); }

    std::optional<Record> record(std::size_t index) const {
        const std::optional<SurveyRecordPlace> place = surveyRecordPlace(buffer_, index);
        if (!place) {
            return std::nullopt;
        }
        return Record(buffer_.subspan(place->offset, place->length));
    }

    // Row i of the network list shows record i; row -1 (no selection) means the first record.
    std::optional<Record> recordForRow(int row) const {
        if (row < -1) {
            return std::nullopt;
        }
        return record(row == -1 ? 0 : static_cast<std::size_t>(row));
    }

private:
    std::span<Byte> buffer_;
};

using SurveyBuffer = BasicSurveyBuffer<std::uint8_t>;
using ConstSurveyBuffer = BasicSurveyBuffer<const std::uint8_t>;

}  // namespace rizorivu
