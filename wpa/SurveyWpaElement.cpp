#include "wpa/SurveyWpaElement.h"

#include <algorithm>

#include "adapter/SurveyBuffer.h"

namespace rizorivu::wpa {

std::optional<std::vector<std::uint8_t>> surveyWpaElement(std::span<const std::uint8_t> survey,
                                                          std::span<const std::uint8_t, 6> bssid,
                                                          SurveyElement which) {
    const ConstSurveyBuffer buffer(survey);
    const std::size_t count = buffer.recordCount();
    for (std::size_t index = 0; index < count; ++index) {
        const std::optional<ConstSurveyRecordView> record = buffer.record(index);
        if (!record || !std::ranges::equal(record->bssid(), bssid)) {
            continue;
        }
        // Only the first record of the BSSID is read, as the network list shows it.
        const auto element =
            which == SurveyElement::Rsn ? record->findRsnElement() : record->findWpaElement();
        if (!element) {
            return std::nullopt;
        }
        return std::vector<std::uint8_t>(element->begin(), element->end());
    }
    return std::nullopt;
}

}  // namespace rizorivu::wpa
