#include "adapter/SurveyBuffer.h"

#include <algorithm>

#include "adapter/ByteOrder.h"

namespace rizorivu {

namespace {

// Walks at most `limit` records and answers how many it reached; `last` receives the place
// of the last one reached.
std::size_t walk(std::span<const std::uint8_t> buffer, std::size_t limit, SurveyRecordPlace* last) {
    const std::size_t wanted = std::min(surveyDeclaredCount(buffer), limit);
    std::size_t offset = survey::kCountBytes;
    std::size_t reached = 0;
    while (reached < wanted && offset <= buffer.size() &&
           buffer.size() - offset >= survey::kMinRecordBytes) {
        const std::size_t length = getLe32(buffer.data() + offset + survey::kLength);
        if (length < survey::kMinRecordBytes || length > buffer.size() - offset) {
            break;
        }
        if (last != nullptr) {
            *last = SurveyRecordPlace{offset, length};
        }
        offset += length;
        ++reached;
    }
    return reached;
}

}  // namespace

std::size_t surveyDeclaredCount(std::span<const std::uint8_t> buffer) {
    if (buffer.size() < survey::kCountBytes) {
        return 0;
    }
    return getLe32(buffer.data());
}

std::size_t surveyRecordCount(std::span<const std::uint8_t> buffer) {
    return walk(buffer, surveyDeclaredCount(buffer), nullptr);
}

std::optional<SurveyRecordPlace> surveyRecordPlace(std::span<const std::uint8_t> buffer,
                                                   std::size_t index) {
    if (index >= buffer.size()) {  // no buffer holds that many records; keeps index + 1 sane
        return std::nullopt;
    }
    SurveyRecordPlace place;
    if (walk(buffer, index + 1, &place) != index + 1) {
        return std::nullopt;
    }
    return place;
}

}  // namespace rizorivu
