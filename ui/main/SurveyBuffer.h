#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace rizorivu::ui {

// Layout of the site-survey buffer the adapter library fills: a 32-bit little-endian record
// count, then the records back to back from byte 4. Every integer is 32-bit little-endian.
namespace surveylayout {
constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kLength = 0;
constexpr std::size_t kBssid = 4;
constexpr std::size_t kSsidLength = 12;
constexpr std::size_t kSsid = 16;
constexpr std::size_t kPrivacy = 48;
constexpr std::size_t kRssi = 52;
constexpr std::size_t kFrequency = 72;
constexpr std::size_t kInfrastructureMode = 92;
constexpr std::size_t kIeLength = 112;          // element area length, 12 fixed bytes included
constexpr std::size_t kIeArea = 116;            // time stamp, beacon interval, capability
constexpr std::size_t kElements = 128;          // the information elements proper
constexpr std::size_t kFixedBytes = kElements;  // a record shorter than this ends the walk
constexpr std::size_t kBssidBytes = 6;
constexpr std::size_t kSsidBytes = 32;
constexpr std::uint8_t kVendorElementId = 221;
}  // namespace surveylayout

// One information element: `bytes` is the whole element (id, length, data), `data` its body.
struct InformationElement {
    std::uint8_t id = 0;
    std::span<const std::uint8_t> data;
    std::span<const std::uint8_t> bytes;
};

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

// Field readers over one record's bytes (at least 128 of them; the walk guarantees it).
std::span<const std::uint8_t, surveylayout::kBssidBytes> surveyBssid(
    std::span<const std::uint8_t> record);
// The first min(ssidLength, 32) bytes, cut before the first zero byte.
std::span<const std::uint8_t> surveySsid(std::span<const std::uint8_t> record);
std::uint32_t surveyPrivacy(std::span<const std::uint8_t> record);
std::int32_t surveyRssi(std::span<const std::uint8_t> record);
void surveySetRssi(std::span<std::uint8_t> record, std::int32_t rssi);
std::uint32_t surveyFrequency(std::span<const std::uint8_t> record);
std::uint32_t surveyInfrastructureMode(std::span<const std::uint8_t> record);
std::uint32_t surveyIeLength(std::span<const std::uint8_t> record);
// The elements from offset 128 up to min(116 + ieLength, record length), in order; an element
// whose data would reach past that end is dropped together with everything after it.
std::vector<InformationElement> surveyElements(std::span<const std::uint8_t> record);
// The first vendor element (221) whose data starts with the WPA identifier 00 50 F2 01, whole.
std::optional<std::span<const std::uint8_t>> surveyWpaElement(std::span<const std::uint8_t> record);

// A view of one record. Byte is std::uint8_t for a view that may change the signal strength
// in place, const std::uint8_t for a read-only one. The view borrows the buffer's bytes.
template <typename Byte>
class BasicSurveyRecordView {
    static_assert(std::is_same_v<std::remove_const_t<Byte>, std::uint8_t>);

public:
    // `bytes` is exactly the record (its own length); the walk hands out only such spans.
    explicit BasicSurveyRecordView(std::span<Byte> bytes) : bytes_(bytes) {}

    std::span<const std::uint8_t> bytes() const { return bytes_; }
    std::span<const std::uint8_t, surveylayout::kBssidBytes> bssid() const {
        return surveyBssid(bytes_);
    }
    std::span<const std::uint8_t> ssid() const { return surveySsid(bytes_); }
    std::uint32_t privacy() const { return surveyPrivacy(bytes_); }
    std::int32_t rssi() const { return surveyRssi(bytes_); }
    void setRssi(std::int32_t rssi) const requires(!std::is_const_v<Byte>) {
        surveySetRssi(bytes_, rssi);
    }
    std::uint32_t frequency() const { return surveyFrequency(bytes_); }
    std::uint32_t infrastructureMode() const { return surveyInfrastructureMode(bytes_); }
    std::uint32_t ieLength() const { return surveyIeLength(bytes_); }
    std::vector<InformationElement> elements() const { return surveyElements(bytes_); }
    std::optional<std::span<const std::uint8_t>> findWpaElement() const {
        return surveyWpaElement(bytes_);
    }

private:
    std::span<Byte> bytes_;
};

using SurveyRecordView = BasicSurveyRecordView<std::uint8_t>;
using ConstSurveyRecordView = BasicSurveyRecordView<const std::uint8_t>;

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

// Channel of a centre frequency in kHz: 2412000-2484000 the 2.4 GHz channels (2484000 is 14),
// 5000000-6000000 the 5 GHz channels; nothing outside both bands.
std::optional<int> channelFromFrequency(std::int64_t kHz);

// The signal strength column: "%d dBm" when dBm are shown, otherwise the strength clamped to
// [-105, -40] dBm as a percentage, "%d%%" of (rssi + 105) * 100 / 65.
constexpr std::int32_t kWeakestRssi = -105;
constexpr std::int32_t kStrongestRssi = -40;
std::int32_t clampRssi(std::int32_t rssi);
std::string strengthText(std::int32_t rssi, bool showDbm);

// As the list fill shows a record: in percent the record's strength is clamped and the
// clamped value written back into the buffer; in dBm the record is left alone.
struct StrengthCell {
    std::string text;
    std::int32_t rssi = 0;  // the record's strength after the fill
};
StrengthCell fillStrength(const SurveyRecordView& record, bool showDbm);

// The SSID cell: every byte is one character, a zero byte ends the text. Bytes above 0x7F are
// taken as Latin-1 and come out as the UTF-8 form of that character, so any SSID makes valid
// UTF-8 text (0xE9 shows as "é").
std::string ssidText(std::span<const std::uint8_t> bytes);

}  // namespace rizorivu::ui
