// The filter rule of WL_FilteSiteSurveyData on lists written here, including hostile ones.

#include "sim/SurveyFilter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "adapter/AdapterLibrary.h"
#include "adapter/ByteOrder.h"
#include "sim/SurveyWriter.h"

namespace rizorivu::sim {
namespace {

BssDescription bss(std::uint8_t last, int rssi, std::string ssid = "net") {
    BssDescription b;
    b.bssid = {2, 0x10, 0, 0, 0, last};
    b.ssid = std::move(ssid);
    b.rssiDbm = rssi;
    b.rates = {0x82, 0x84};
    return b;
}

// A survey buffer of the utility's size, followed by a guard region that nothing may touch.
class SurveyBuffer {
public:
    static constexpr std::size_t kGuard = 512;

    explicit SurveyBuffer(const std::vector<BssDescription>& entries)
        : bytes_(adapterbuf::kSurveyBytes + kGuard, 0xCC) {
        std::fill_n(bytes_.begin(), adapterbuf::kSurveyBytes, 0);
        writeSurvey(entries, list());
    }

    std::span<std::uint8_t> list() { return {bytes_.data(), adapterbuf::kSurveyBytes}; }
    std::uint8_t* data() { return bytes_.data(); }
    std::uint32_t count() const { return getLe32(bytes_.data()); }

    // Offset of record `i` by walking the lengths.
    std::size_t recordOffset(std::size_t i) const {
        std::size_t offset = 4;
        for (std::size_t k = 0; k < i; ++k) {
            offset += getLe32(bytes_.data() + offset);
        }
        return offset;
    }
    std::uint8_t lastBssidByte(std::size_t i) const { return bytes_[recordOffset(i) + 9]; }
    std::int32_t rssi(std::size_t i) const {
        return static_cast<std::int32_t>(getLe32(bytes_.data() + recordOffset(i) + 52));
    }
    bool guardIntact() const {
        return std::all_of(bytes_.begin() + adapterbuf::kSurveyBytes, bytes_.end(),
                           [](std::uint8_t b) { return b == 0xCC; });
    }
    std::vector<std::uint8_t> order() const {
        std::vector<std::uint8_t> out;
        for (std::uint32_t i = 0; i < count(); ++i) {
            out.push_back(lastBssidByte(i));
        }
        return out;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

TEST(SimSurveyFilterTest, KeepsTheStrongestOfEachBssidOrderedBySignal) {
    SurveyBuffer buffer(
        {bss(1, -70), bss(2, -40), bss(1, -50, "again"), bss(3, -60), bss(4, -60), bss(2, -45)});
    const std::size_t usedBefore = buffer.recordOffset(6);
    EXPECT_EQ(filterSurvey(buffer.list()), 4);
    EXPECT_EQ(buffer.order(), (std::vector<std::uint8_t>{2, 1, 3, 4}));
    EXPECT_EQ(buffer.rssi(1), -50) << "the stronger copy of BSSID 1 stays";
    // The records keep their bytes: the SSID of the kept copy.
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(buffer.data() + buffer.recordOffset(1) + 16), 5),
        "again");
    const std::size_t usedAfter = buffer.recordOffset(4);
    EXPECT_TRUE(std::all_of(buffer.data() + usedAfter, buffer.data() + usedBefore,
                            [](std::uint8_t b) { return b == 0; }))
        << "the space of dropped records is cleared";
    EXPECT_TRUE(buffer.guardIntact());
}

TEST(SimSurveyFilterTest, FilteringTwiceChangesNothing) {
    SurveyBuffer buffer({bss(5, -80), bss(6, -30), bss(5, -20)});
    filterSurvey(buffer.list());
    const std::vector<std::uint8_t> once(buffer.data(), buffer.data() + adapterbuf::kSurveyBytes);
    filterSurvey(buffer.list());
    EXPECT_TRUE(std::equal(once.begin(), once.end(), buffer.data()));
}

struct HostileCase {
    const char* name;
    // Changes the buffer holding records with BSSIDs ending 1, 2, 3 (signal -50, -60, -70).
    void (*spoil)(SurveyBuffer&);
    std::vector<std::uint8_t> kept;
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

class SimSurveyFilterHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(SimSurveyFilterHostileTest, DropsWhatCannotBeReadSafely) {
    SurveyBuffer buffer({bss(1, -50), bss(2, -60), bss(3, -70)});
    GetParam().spoil(buffer);
    const int kept = filterSurvey(buffer.list());
    EXPECT_EQ(kept, static_cast<int>(GetParam().kept.size()));
    EXPECT_EQ(buffer.order(), GetParam().kept);
    EXPECT_TRUE(buffer.guardIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimSurveyFilterHostileTest,
    ::testing::Values(
        HostileCase{"CountBeyondTheRecords",
                    [](SurveyBuffer& b) { putLe32(b.data(), 0xFFFFFFFF); },
                    {1, 2, 3}},
        HostileCase{"CountBelowTheRecords", [](SurveyBuffer& b) { putLe32(b.data(), 2); }, {1, 2}},
        HostileCase{"SsidLengthTooLong",
                    [](SurveyBuffer& b) { putLe32(b.data() + b.recordOffset(1) + 12, 33); },
                    {1, 3}},
        HostileCase{"ElementAreaPastTheRecord",
                    [](SurveyBuffer& b) {
                        const std::size_t r = b.recordOffset(0);
                        putLe32(b.data() + r + 112, getLe32(b.data() + r) - 115);
                    },
                    {2, 3}},
        HostileCase{"ElementAreaBelowItsFixedFields",
                    [](SurveyBuffer& b) { putLe32(b.data() + b.recordOffset(2) + 112, 11); },
                    {1, 2}},
        HostileCase{"ElementRunsOverTheArea",
                    [](SurveyBuffer& b) { b.data()[b.recordOffset(1) + 129] = 0xFF; },
                    {1, 3}},
        // A length that cannot be trusted hides every record after it.
        HostileCase{"RecordLengthTooShort",
                    [](SurveyBuffer& b) { putLe32(b.data() + b.recordOffset(1), 127); },
                    {1}},
        HostileCase{"RecordLengthPastTheBuffer",
                    [](SurveyBuffer& b) { putLe32(b.data() + b.recordOffset(1), 20000); },
                    {1}},
        HostileCase{"RecordLengthWrapsAround",
                    [](SurveyBuffer& b) { putLe32(b.data() + b.recordOffset(0), 0xFFFFFFFC); },
                    {}}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

TEST(SimSurveyFilterTest, ALastRecordReachingTheEndOfTheBufferIsRead) {
    SurveyBuffer buffer({bss(1, -70)});
    // Stretch the record to the very end of the 12004 bytes: still a valid record.
    putLe32(buffer.data() + 4, adapterbuf::kSurveyBytes - 4);
    EXPECT_EQ(filterSurvey(buffer.list()), 1);
    EXPECT_TRUE(buffer.guardIntact());
}

TEST(SimSurveyFilterTest, RefusesABufferTooSmallForTheCount) {
    std::uint8_t tiny[3] = {1, 0, 0};
    EXPECT_EQ(filterSurvey(std::span<std::uint8_t>(tiny, 3)), -1);
}

}  // namespace
}  // namespace rizorivu::sim
