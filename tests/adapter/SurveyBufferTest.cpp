#include "adapter/SurveyBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "adapter/AdapterLibrary.h"

namespace rizorivu {
namespace {

// The buffers below are laid out by hand with literal offsets, independent of the layout
// constants the code under test uses.
using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& buffer, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        buffer.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

struct RecordFields {
    Bytes bssid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::uint32_t ssidLength = 4;
    Bytes ssid = {'h', 'o', 'm', 'e'};
    std::uint32_t privacy = 0;
    std::int32_t rssi = -60;
    std::uint32_t frequency = 2412000;
    std::uint32_t infrastructureMode = 1;
    Bytes elements;                         // written from offset 128
    std::optional<std::uint32_t> length;    // default: 128 + elements
    std::optional<std::uint32_t> ieLength;  // default: 12 + elements
};

// Writes a record at `offset` and answers where the next one starts.
std::size_t writeRecord(Bytes& buffer, std::size_t offset, const RecordFields& fields) {
    const std::uint32_t natural = 128 + static_cast<std::uint32_t>(fields.elements.size());
    const std::uint32_t length = fields.length.value_or(natural);
    put32(buffer, offset + 0, length);
    for (std::size_t i = 0; i < fields.bssid.size(); ++i) {
        buffer.at(offset + 4 + i) = fields.bssid[i];
    }
    put32(buffer, offset + 12, fields.ssidLength);
    for (std::size_t i = 0; i < fields.ssid.size(); ++i) {
        buffer.at(offset + 16 + i) = fields.ssid[i];
    }
    put32(buffer, offset + 48, fields.privacy);
    put32(buffer, offset + 52, static_cast<std::uint32_t>(fields.rssi));
    put32(buffer, offset + 72, fields.frequency);
    put32(buffer, offset + 92, fields.infrastructureMode);
    put32(buffer, offset + 112, fields.ieLength.value_or(12 + fields.elements.size()));
    for (std::size_t i = 0; i < fields.elements.size(); ++i) {
        buffer.at(offset + 128 + i) = fields.elements[i];
    }
    return offset + natural;
}

Bytes makeBuffer(std::uint32_t count, const std::vector<RecordFields>& records) {
    Bytes buffer(adapterbuf::kSurveyBytes, 0);
    put32(buffer, 0, count);
    std::size_t offset = 4;
    for (const RecordFields& record : records) {
        offset = writeRecord(buffer, offset, record);
    }
    return buffer;
}

Bytes span2bytes(std::span<const std::uint8_t> bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

std::vector<RecordFields> threeNetworks() {
    RecordFields first;
    RecordFields second;
    second.bssid = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F};
    second.ssidLength = 6;
    second.ssid = {'o', 'f', 'f', 'i', 'c', 'e'};
    second.privacy = 1;
    second.rssi = -75;
    second.frequency = 2437000;
    second.infrastructureMode = 0;
    second.elements = {0x00, 0x06, 'o', 'f', 'f', 'i', 'c', 'e', 0x03, 0x01, 0x06};
    RecordFields third;
    third.bssid = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54};
    third.ssidLength = 3;
    third.ssid = {'c', 'a', 'f'};
    third.rssi = -90;
    third.frequency = 5180000;
    third.infrastructureMode = 2;
    return {first, second, third};
}

TEST(SurveyBufferTest, WalksANormalBufferOfThreeRecords) {
    Bytes buffer = makeBuffer(3, threeNetworks());
    const SurveyBuffer survey(buffer);
    ASSERT_EQ(survey.declaredCount(), 3u);
    ASSERT_EQ(survey.recordCount(), 3u);

    const auto second = survey.record(1);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(span2bytes(second->bssid()), (Bytes{0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F}));
    EXPECT_EQ(span2bytes(second->ssid()), (Bytes{'o', 'f', 'f', 'i', 'c', 'e'}));
    EXPECT_EQ(second->privacy(), 1u);
    EXPECT_EQ(second->rssi(), -75);
    EXPECT_EQ(second->frequency(), 2437000u);
    EXPECT_EQ(second->infrastructureMode(), 0u);
    EXPECT_EQ(second->bytes().size(), 128u + 11u);

    const auto third = survey.record(2);
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(span2bytes(third->bssid()), (Bytes{0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54}));
    EXPECT_EQ(span2bytes(third->ssid()), (Bytes{'c', 'a', 'f'}));
    EXPECT_EQ(third->rssi(), -90);
    EXPECT_EQ(third->frequency(), 5180000u);
    EXPECT_EQ(third->infrastructureMode(), 2u);
    EXPECT_EQ(third->bytes().data(), buffer.data() + 4 + 128 + 139);

    EXPECT_FALSE(survey.record(3).has_value());
}

TEST(SurveyBufferTest, AnEmptyBufferHasNoRecords) {
    Bytes buffer = makeBuffer(0, threeNetworks());
    const SurveyBuffer survey(buffer);
    EXPECT_EQ(survey.recordCount(), 0u);
    EXPECT_FALSE(survey.record(0).has_value());
    EXPECT_FALSE(survey.recordForRow(-1).has_value());
}

TEST(SurveyBufferTest, ABufferTooShortForTheCountHasNoRecords) {
    const Bytes buffer = {3, 0};
    const ConstSurveyBuffer survey(buffer);
    EXPECT_EQ(survey.declaredCount(), 0u);
    EXPECT_EQ(survey.recordCount(), 0u);
}

struct SsidCase {
    const char* name;
    std::uint32_t ssidLength;
    Bytes ssid;
    Bytes expected;
};

class SurveyBufferSsidTest : public ::testing::TestWithParam<SsidCase> {};

TEST_P(SurveyBufferSsidTest, TakesTheDeclaredBytesUpToAZero) {
    RecordFields fields;
    fields.ssidLength = GetParam().ssidLength;
    fields.ssid = GetParam().ssid;
    fields.privacy = 0x41414141;  // the bytes right after the 32 SSID bytes read "AAAA"
    Bytes buffer = makeBuffer(1, {fields});
    const auto record = ConstSurveyBuffer(buffer).record(0);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(span2bytes(record->ssid()), GetParam().expected);
}

Bytes filled(std::size_t n, std::uint8_t byte) {
    return Bytes(n, byte);
}

INSTANTIATE_TEST_SUITE_P(
    SurveyBuffer, SurveyBufferSsidTest,
    ::testing::Values(SsidCase{"Hidden", 0, {'x', 'y'}, {}},
                      SsidCase{"Exact", 2, {'x', 'y', 'z'}, {'x', 'y'}},
                      SsidCase{"ZeroInside", 5, {'a', 'b', 0, 'c', 'd'}, {'a', 'b'}},
                      SsidCase{"CutTo32", 40, filled(32, 'q'), filled(32, 'q')},
                      SsidCase{"Huge", 0xFFFFFFFFu, filled(32, 'r'), filled(32, 'r')},
                      SsidCase{"Full32", 32, filled(32, 's'), filled(32, 's')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SurveyBufferTest, AHiddenNetworkShowsAnEmptySsid) {
    RecordFields fields;
    fields.ssidLength = 0;
    Bytes buffer = makeBuffer(1, {fields});
    EXPECT_TRUE(SurveyBuffer(buffer).record(0)->ssid().empty());
}

struct WalkCase {
    const char* name;
    std::uint32_t count;
    std::optional<std::uint32_t> secondLength;  // overrides the second record's length
    std::size_t expectedRecords;
};

class SurveyBufferWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(SurveyBufferWalkTest, EndsAtTheFirstUnusableRecord) {
    std::vector<RecordFields> records = threeNetworks();
    records[1].length = GetParam().secondLength;
    Bytes buffer = makeBuffer(GetParam().count, records);
    const SurveyBuffer survey(buffer);
    ASSERT_EQ(survey.recordCount(), GetParam().expectedRecords);
    for (std::size_t i = 0; i < GetParam().expectedRecords; ++i) {
        const auto record = survey.record(i);
        ASSERT_TRUE(record.has_value());
        EXPECT_GE(record->bytes().data(), buffer.data() + 4);
        EXPECT_LE(record->bytes().data() + record->bytes().size(), buffer.data() + buffer.size());
    }
    EXPECT_FALSE(survey.record(GetParam().expectedRecords).has_value());
}

INSTANTIATE_TEST_SUITE_P(SurveyBuffer, SurveyBufferWalkTest,
                         ::testing::Values(WalkCase{"Normal", 3, std::nullopt, 3},
                                           WalkCase{"CountBelowRecords", 2, std::nullopt, 2},
                                           WalkCase{"LengthZero", 3, 0, 1},
                                           WalkCase{"LengthBelowFixedPart", 3, 127, 1},
                                           WalkCase{"LengthPastTheEnd", 3, 12004 - 4 - 128 + 1, 1},
                                           WalkCase{"LengthExactlyToTheEnd", 3, 12004 - 4 - 128, 2},
                                           WalkCase{"LengthHuge", 3, 0xFFFFFFFFu, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SurveyBufferTest, ACountLargerThanWhatFitsStopsAtTheEndOfTheBuffer) {
    // Minimal records back to back fill (12004 - 4) / 128 = 93 places; the bytes after the
    // last place are too few for another record.
    Bytes buffer(adapterbuf::kSurveyBytes, 0);
    put32(buffer, 0, 0xFFFFFFFFu);
    for (std::size_t offset = 4; offset + 128 <= buffer.size(); offset += 128) {
        put32(buffer, offset, 128);
    }
    const SurveyBuffer survey(buffer);
    EXPECT_EQ(survey.recordCount(), 93u);
    ASSERT_TRUE(survey.record(92).has_value());
    EXPECT_EQ(survey.record(92)->bytes().data(), buffer.data() + 4 + 92 * 128);
    EXPECT_FALSE(survey.record(93).has_value());
    EXPECT_FALSE(survey.record(static_cast<std::size_t>(-1)).has_value());
}

struct RowCase {
    int row;
    std::optional<std::size_t> expectedRecord;
};

class SurveyBufferRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(SurveyBufferRowTest, FindsTheRecordOfARow) {
    Bytes buffer = makeBuffer(3, threeNetworks());
    const SurveyBuffer survey(buffer);
    const auto record = survey.recordForRow(GetParam().row);
    ASSERT_EQ(record.has_value(), GetParam().expectedRecord.has_value());
    if (record) {
        EXPECT_EQ(record->bytes().data(),
                  survey.record(*GetParam().expectedRecord)->bytes().data());
    }
}

INSTANTIATE_TEST_SUITE_P(SurveyBuffer, SurveyBufferRowTest,
                         ::testing::Values(RowCase{-1, 0}, RowCase{0, 0}, RowCase{1, 1},
                                           RowCase{2, 2}, RowCase{3, std::nullopt},
                                           RowCase{-2, std::nullopt}));

Bytes wpaElement() {
    return {221,  22,   0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02,
            0x01, 0x00, 0x00, 0x50, 0xF2, 0x02, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02};
}

TEST(SurveyBufferTest, ListsTheElementsInOrder) {
    RecordFields fields;
    fields.elements = {0x00, 0x04, 'h', 'o', 'm', 'e', 0x01, 0x00, 0x03, 0x01, 0x0B};
    Bytes buffer = makeBuffer(1, {fields});
    const auto elements = SurveyBuffer(buffer).record(0)->elements();
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].id, 0);
    EXPECT_EQ(span2bytes(elements[0].data), (Bytes{'h', 'o', 'm', 'e'}));
    EXPECT_EQ(span2bytes(elements[0].bytes), (Bytes{0x00, 0x04, 'h', 'o', 'm', 'e'}));
    EXPECT_EQ(elements[1].id, 1);
    EXPECT_TRUE(elements[1].data.empty());
    EXPECT_EQ(elements[2].id, 3);
    EXPECT_EQ(span2bytes(elements[2].data), (Bytes{0x0B}));
}

struct ElementAreaCase {
    const char* name;
    Bytes elements;
    std::optional<std::uint32_t> ieLength;
    std::optional<std::uint32_t> length;
    std::vector<std::uint8_t> expectedIds;
};

class SurveyBufferElementAreaTest : public ::testing::TestWithParam<ElementAreaCase> {};

TEST_P(SurveyBufferElementAreaTest, StopsAtTheEndOfTheAreaOrTheRecord) {
    RecordFields fields;
    fields.elements = GetParam().elements;
    fields.ieLength = GetParam().ieLength;
    fields.length = GetParam().length;
    // A second record right after the first's natural end: its bytes must never be taken as
    // elements of the first one.
    std::vector<RecordFields> records = {fields, RecordFields{}};
    records[1].bssid = {7, 7, 7, 7, 7, 7};
    Bytes buffer = makeBuffer(2, records);
    const auto record = SurveyBuffer(buffer).record(0);
    ASSERT_TRUE(record.has_value());
    std::vector<std::uint8_t> ids;
    for (const InformationElement& element : record->elements()) {
        EXPECT_GE(element.bytes.data(), record->bytes().data() + 128);
        EXPECT_LE(element.bytes.data() + element.bytes.size(),
                  record->bytes().data() + record->bytes().size());
        EXPECT_EQ(element.bytes.size(), element.data.size() + 2);
        ids.push_back(element.id);
    }
    EXPECT_EQ(ids, GetParam().expectedIds);
}

INSTANTIATE_TEST_SUITE_P(
    SurveyBuffer, SurveyBufferElementAreaTest,
    ::testing::Values(
        ElementAreaCase{
            "Whole", {1, 1, 9, 2, 0, 3, 2, 8, 8}, std::nullopt, std::nullopt, {1, 2, 3}},
        ElementAreaCase{
            "LastOverrunsArea", {1, 1, 9, 2, 0, 3, 5, 8, 8}, std::nullopt, std::nullopt, {1, 2}},
        ElementAreaCase{"FirstOverruns", {1, 200, 9, 2, 0}, std::nullopt, std::nullopt, {}},
        ElementAreaCase{"LoneIdByte", {1, 1, 9, 4}, std::nullopt, std::nullopt, {1}},
        ElementAreaCase{"IeLengthCutsShort", {1, 1, 9, 2, 0, 3, 0}, 12 + 3, std::nullopt, {1}},
        ElementAreaCase{"IeLengthBelowFixedBytes", {1, 1, 9}, 5, std::nullopt, {}},
        ElementAreaCase{"IeLengthZero", {1, 1, 9}, 0, std::nullopt, {}},
        // The record's own length ends the area before ieLength does.
        ElementAreaCase{"IeLengthPastRecord", {1, 1, 9, 2, 4, 1, 2}, 4000, std::nullopt, {1}},
        ElementAreaCase{"IeLengthHuge", {1, 1, 9}, 0xFFFFFFFFu, std::nullopt, {1}},
        ElementAreaCase{"RecordLengthCutsShort", {1, 1, 9, 2, 0}, std::nullopt, 128 + 3, {1}},
        ElementAreaCase{"NoElements", {}, std::nullopt, std::nullopt, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct WpaCase {
    const char* name;
    Bytes elements;
    std::optional<Bytes> expected;
};

class SurveyBufferWpaTest : public ::testing::TestWithParam<WpaCase> {};

TEST_P(SurveyBufferWpaTest, FindsTheLastWpaVendorElement) {
    RecordFields fields;
    fields.elements = GetParam().elements;
    Bytes buffer = makeBuffer(1, {fields});
    const auto found = SurveyBuffer(buffer).record(0)->findWpaElement();
    ASSERT_EQ(found.has_value(), GetParam().expected.has_value());
    if (found) {
        EXPECT_EQ(span2bytes(*found), *GetParam().expected);
    }
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const Bytes kSsidElement = {0x00, 0x04, 'h', 'o', 'm', 'e'};
const Bytes kRatesElement = {0x01, 0x02, 0x82, 0x84};
// Vendor elements that are not WPA: another organisation, and the same one with another type.
const Bytes kOtherVendor = {221, 5, 0x00, 0x10, 0x18, 0x02, 0x00};
const Bytes kWmmVendor = {221, 7, 0x00, 0x50, 0xF2, 0x02, 0x00, 0x01, 0x00};
const Bytes kShortVendor = {221, 3, 0x00, 0x50, 0xF2};
const Bytes kSecondWpa = {221, 6, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00};

INSTANTIATE_TEST_SUITE_P(
    SurveyBuffer, SurveyBufferWpaTest,
    ::testing::Values(
        WpaCase{"AmongOthers",
                concat({kSsidElement, kOtherVendor, kRatesElement, kWmmVendor, wpaElement(),
                        kRatesElement}),
                wpaElement()},
        WpaCase{"LaterOfTwo", concat({kSsidElement, kSecondWpa, wpaElement()}), wpaElement()},
        WpaCase{"OnlyOtherVendors", concat({kOtherVendor, kWmmVendor, kShortVendor}), std::nullopt},
        WpaCase{"NoElements", {}, std::nullopt},
        // Three data bytes, followed by an element of id 1: the identifier is not complete.
        WpaCase{"TooShort", concat({kShortVendor, {0x01, 0x00}}), std::nullopt},
        // An id of 0xDD in a non-vendor element's data is not an element of its own.
        WpaCase{"InsideOtherData", {0x10, 6, 221, 4, 0x00, 0x50, 0xF2, 0x01}, std::nullopt},
        WpaCase{"Overrunning", concat({kSsidElement, {221, 30, 0x00, 0x50, 0xF2, 0x01}}),
                std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ChannelCase {
    std::int64_t kHz;
    std::optional<int> channel;
};

class SurveyBufferChannelTest : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(SurveyBufferChannelTest, MapsTheCentreFrequency) {
    EXPECT_EQ(survey::channelFromFrequency(GetParam().kHz), GetParam().channel);
}

INSTANTIATE_TEST_SUITE_P(
    SurveyBuffer, SurveyBufferChannelTest,
    ::testing::Values(ChannelCase{2412000, 1}, ChannelCase{2437000, 6}, ChannelCase{2472000, 13},
                      ChannelCase{2484000, 14}, ChannelCase{2483999, 15},  // (2483 - 2412) / 5 + 1
                      ChannelCase{5180000, 36}, ChannelCase{5000000, 0}, ChannelCase{6000000, 200},
                      ChannelCase{2400000, std::nullopt}, ChannelCase{2411999, std::nullopt},
                      ChannelCase{2484001, std::nullopt}, ChannelCase{4999999, std::nullopt},
                      ChannelCase{6000001, std::nullopt}, ChannelCase{0, std::nullopt},
                      ChannelCase{-2412000, std::nullopt}));

TEST(SurveyBufferTest, AReadOnlyViewReadsTheSameRecords) {
    const Bytes buffer = makeBuffer(3, threeNetworks());
    const ConstSurveyBuffer survey(buffer);
    ASSERT_EQ(survey.recordCount(), 3u);
    EXPECT_EQ(survey.record(2)->rssi(), -90);
    EXPECT_EQ(span2bytes(survey.recordForRow(-1)->ssid()), (Bytes{'h', 'o', 'm', 'e'}));
}

}  // namespace
}  // namespace rizorivu
