#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

#include "adapter/InformationElements.h"
#include "adapter/SurveyLayout.h"

namespace rizorivu {

// Field readers over one record's bytes (at least 128 of them; the walk guarantees it).
std::span<const std::uint8_t, survey::kBssidBytes> surveyBssid(
    std::span<const std::uint8_t> record);
// The first min(ssidLength, 32) bytes, cut before the first zero byte.
std::span<const std::uint8_t> surveySsid(std::span<const std::uint8_t> record);
std::uint32_t surveyPrivacy(std::span<const std::uint8_t> record);
std::int32_t surveyRssi(std::span<const std::uint8_t> record);
void surveySetRssi(std::span<std::uint8_t> record, std::int32_t rssi);
std::uint32_t surveyFrequency(std::span<const std::uint8_t> record);
std::uint32_t surveyInfrastructureMode(std::span<const std::uint8_t> record);
std::uint32_t surveyIeLength(std::span<const std::uint8_t> record);
// The bytes from offset 128 up to min(116 + ieLength, record length): the information
// elements proper, with the record's own length bounding whatever ieLength claims.
std::span<const std::uint8_t> surveyElementArea(std::span<const std::uint8_t> record);

// A view of one record. Byte is std::uint8_t for a view that may change the signal strength
// in place, const std::uint8_t for a read-only one. The view borrows the buffer's bytes.
template <typename Byte>
class BasicSurveyRecordView {
    static_assert(std::is_same_v<std::remove_const_t<Byte>, std::uint8_t>);

public:
    // `bytes` is exactly the record (its own length); the walk hands out only such spans.
    explicit BasicSurveyRecordView(std::span<Byte> bytes) : bytes_(bytes) {}

    std::span<const std::uint8_t> bytes() const { return bytes_; }
    std::span<const std::uint8_t, survey::kBssidBytes> bssid() const { return surveyBssid(bytes_); }
    std::span<const std::uint8_t> ssid() const { return surveySsid(bytes_); }
    std::uint32_t privacy() const { return surveyPrivacy(bytes_); }
    std::int32_t rssi() const { return surveyRssi(bytes_); }
    void setRssi(std::int32_t rssi) const requires(!std::is_const_v<Byte>) {
        surveySetRssi(bytes_, rssi);
    }
    std::uint32_t frequency() const { return surveyFrequency(bytes_); }
    std::uint32_t infrastructureMode() const { return surveyInfrastructureMode(bytes_); }
    std::uint32_t ieLength() const { return surveyIeLength(bytes_); }
    std::vector<InformationElement> elements() const {
        return informationElements(surveyElementArea(bytes_));
    }
    std::optional<std::span<const std::uint8_t>> findWpaElement() const {
        return rizorivu::findWpaElement(surveyElementArea(bytes_));
    }
    std::optional<std::span<const std::uint8_t>> findRsnElement() const {
        return rizorivu::findRsnElement(surveyElementArea(bytes_));
    }

private:
    std::span<Byte> bytes_;
};

using SurveyRecordView = BasicSurveyRecordView<std::uint8_t>;
using ConstSurveyRecordView = BasicSurveyRecordView<const std::uint8_t>;

}  // namespace rizorivu
