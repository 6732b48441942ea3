// The site survey as the utility reads it: the NDIS 802.11 BSSID list, read back here with
// the offsets the utility uses, and the buffer limits.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

using testing::SimTestBed;

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) |
           static_cast<std::uint32_t>(p[3]) << 24;
}

struct Element {
    std::uint8_t id;
    std::vector<std::uint8_t> body;
};

// One record, field by field, at the offsets of the published layout.
struct Record {
    std::uint32_t length;
    std::vector<std::uint8_t> bssid;
    std::string ssid;
    std::uint32_t privacy;
    std::int32_t rssi;
    std::uint32_t networkTypeInUse;
    std::uint32_t configurationLength, beaconPeriod, atimWindow, frequency, fhLength;
    std::uint32_t infrastructureMode;
    std::vector<std::uint8_t> rates;
    std::uint32_t ieLength;
    std::uint16_t beaconInterval, capability;
    std::vector<Element> elements;

    const Element* element(std::uint8_t id) const {
        const auto it = std::find_if(elements.begin(), elements.end(),
                                     [&](const Element& e) { return e.id == id; });
        return it == elements.end() ? nullptr : &*it;
    }
};

std::vector<Record> parseSurvey(const std::uint8_t* buffer, std::size_t size) {
    std::vector<Record> records;
    const std::uint32_t count = le32(buffer);
    std::size_t offset = 4;
    for (std::uint32_t i = 0; i < count; ++i) {
        EXPECT_LE(offset + 128, size);
        if (offset + 128 > size) {
            break;
        }
        const std::uint8_t* r = buffer + offset;
        Record rec;
        rec.length = le32(r);
        rec.bssid.assign(r + 4, r + 10);
        const std::uint32_t ssidLength = le32(r + 12);
        EXPECT_LE(ssidLength, 32u);
        rec.ssid.assign(reinterpret_cast<const char*>(r + 16), std::min(ssidLength, 32u));
        rec.privacy = le32(r + 48);
        rec.rssi = static_cast<std::int32_t>(le32(r + 52));
        rec.networkTypeInUse = le32(r + 56);
        rec.configurationLength = le32(r + 60);
        rec.beaconPeriod = le32(r + 64);
        rec.atimWindow = le32(r + 68);
        rec.frequency = le32(r + 72);
        rec.fhLength = le32(r + 76);
        rec.infrastructureMode = le32(r + 92);
        rec.rates.assign(r + 96, r + 112);
        rec.ieLength = le32(r + 112);
        rec.beaconInterval = static_cast<std::uint16_t>(r[124] | r[125] << 8);
        rec.capability = static_cast<std::uint16_t>(r[126] | r[127] << 8);
        EXPECT_LE(116 + rec.ieLength, rec.length);
        const std::size_t end = std::min<std::size_t>(116 + rec.ieLength, rec.length);
        std::size_t pos = 128;
        while (pos + 2 <= end && pos + 2 + r[pos + 1] <= end) {
            Element e{r[pos], std::vector<std::uint8_t>(r + pos + 2, r + pos + 2 + r[pos + 1])};
            pos += 2u + r[pos + 1];
            rec.elements.push_back(std::move(e));
        }
        EXPECT_EQ(pos, 116 + rec.ieLength) << "elements must fill the area exactly";
        const std::uint32_t length = rec.length;
        records.push_back(std::move(rec));
        if (length < 128 || length > size - offset) {
            ADD_FAILURE() << "record length " << length;
            break;
        }
        offset += length;
    }
    return records;
}

class SimSurveyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bed.open()); }

    std::vector<Record> survey(std::vector<std::uint8_t>& buffer) {
        EXPECT_EQ(bed.lib().WL_SiteSurveyStart(&bed.record), 0);
        EXPECT_EQ(bed.lib().WL_RetrieveSiteSurveyData(&bed.record, buffer.data(),
                                                      static_cast<int>(buffer.size())),
                  0);
        return parseSurvey(buffer.data(), buffer.size());
    }

    std::map<std::string, Record> bySsidOrBssid(const std::vector<Record>& records) {
        std::map<std::string, Record> out;
        for (const Record& r : records) {
            out.emplace(r.ssid.empty() ? "hidden" : r.ssid + (r.bssid[5] == 0x0A ? "Far" : ""), r);
        }
        return out;
    }

    SimTestBed bed;
};

TEST_F(SimSurveyTest, ListsEveryNetworkHeardOnAUsableChannel) {
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes);
    const auto records = survey(buffer);
    // Channels 1-11 in region 0x10: "Europe" (13) is not heard, nor "Faint" (-97 dBm).
    EXPECT_EQ(records.size(), 11u);
    const auto all = bySsidOrBssid(records);
    EXPECT_EQ(all.count("Europe"), 0u);
    EXPECT_EQ(all.count("Faint"), 0u);
    for (const char* ssid : {"Open", "Wep64", "WepShared", "PskTkip", "PskAes", "Eap", "Cell",
                             "CellPsk", "hidden", "Twin", "TwinFar"}) {
        EXPECT_EQ(all.count(ssid), 1u) << ssid;
    }
}

TEST_F(SimSurveyTest, RecordFieldsSitAtTheirOffsets) {
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes);
    const auto all = bySsidOrBssid(survey(buffer));
    ASSERT_EQ(all.count("Open"), 1u);
    const Record& open = all.at("Open");
    EXPECT_EQ(open.length % 4, 0u);
    EXPECT_EQ(open.bssid, (std::vector<std::uint8_t>{2, 0x10, 0, 0, 0, 1}));
    EXPECT_EQ(open.privacy, 0u);
    EXPECT_GE(open.rssi, -53);
    EXPECT_LE(open.rssi, -47);
    EXPECT_EQ(open.networkTypeInUse, 3u) << "OFDM 2.4 GHz for an 802.11g network";
    EXPECT_EQ(open.configurationLength, 32u);
    EXPECT_EQ(open.beaconPeriod, 100u);
    EXPECT_EQ(open.frequency, 2412000u);
    EXPECT_EQ(open.fhLength, 16u);
    EXPECT_EQ(open.infrastructureMode, 1u);
    EXPECT_EQ(open.rates, (std::vector<std::uint8_t>{0x82, 0x84, 0x8B, 0x96, 12, 18, 24, 36, 48, 72,
                                                     96, 108, 0, 0, 0, 0}));
    EXPECT_EQ(open.beaconInterval, 100);
    EXPECT_EQ(open.capability & 0x0013, 0x0001) << "ESS, no IBSS, no privacy";

    const Record& wep = all.at("Wep64");
    EXPECT_EQ(wep.privacy, 1u);
    EXPECT_EQ(wep.networkTypeInUse, 1u) << "direct sequence for an 802.11b network";
    EXPECT_EQ(wep.frequency, 2417000u);
    EXPECT_EQ(wep.capability & 0x0010, 0x0010);

    const Record& cell = all.at("Cell");
    EXPECT_EQ(cell.infrastructureMode, 0u);
    EXPECT_EQ(cell.frequency, 2442000u);
    EXPECT_EQ(cell.capability & 0x0003, 0x0002);

    EXPECT_EQ(all.at("Twin").frequency, 2462000u) << "channel 11";
}

TEST_F(SimSurveyTest, InformationElementsDescribeTheNetwork) {
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes);
    const auto all = bySsidOrBssid(survey(buffer));
    const Record& open = all.at("Open");
    ASSERT_FALSE(open.elements.empty());
    EXPECT_EQ(open.elements[0].id, 0) << "the SSID comes first";
    EXPECT_EQ(open.elements[0].body, testing::bytesOf("Open"));
    ASSERT_NE(open.element(1), nullptr);
    EXPECT_EQ(open.element(1)->body,
              (std::vector<std::uint8_t>{0x82, 0x84, 0x8B, 0x96, 12, 18, 24, 36}));
    ASSERT_NE(open.element(50), nullptr);
    EXPECT_EQ(open.element(50)->body, (std::vector<std::uint8_t>{48, 72, 96, 108}));
    ASSERT_NE(open.element(3), nullptr);
    EXPECT_EQ(open.element(3)->body, std::vector<std::uint8_t>{1});
    EXPECT_EQ(open.element(221), nullptr);
    EXPECT_EQ(open.element(6), nullptr);

    const Record& hidden = all.at("hidden");
    EXPECT_EQ(hidden.ssid, "");
    ASSERT_FALSE(hidden.elements.empty());
    EXPECT_EQ(hidden.elements[0].id, 0);
    EXPECT_TRUE(hidden.elements[0].body.empty());
    EXPECT_EQ(hidden.element(3)->body, std::vector<std::uint8_t>{9});

    const Record& cell = all.at("Cell");
    ASSERT_NE(cell.element(6), nullptr) << "an ad-hoc cell carries its IBSS parameter set";
    EXPECT_EQ(cell.element(6)->body.size(), 2u);

    const Record& wep = all.at("Wep64");
    EXPECT_EQ(wep.element(50), nullptr) << "four rates fit the rates element";
    EXPECT_EQ(wep.element(221), nullptr);
}

struct WpaCase {
    const char* ssid;
    std::vector<std::uint8_t> element;  // id, length and body
};

TEST_F(SimSurveyTest, WpaNetworksCarryTheWpaElement) {
    const std::vector<WpaCase> cases = {
        {"PskTkip", {0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02,
                     0x01, 0x00, 0x00, 0x50, 0xF2, 0x02, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02}},
        {"PskAes", {0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x04,
                    0x01, 0x00, 0x00, 0x50, 0xF2, 0x04, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02}},
        {"Eap", {0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x04,
                 0x01, 0x00, 0x00, 0x50, 0xF2, 0x04, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x01}},
        // WPA-None: an ad-hoc cell names no key management.
        {"CellPsk", {0xDD, 0x16, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x02,
                     0x01, 0x00, 0x00, 0x50, 0xF2, 0x02, 0x01, 0x00, 0x00, 0x50, 0xF2, 0x00}},
    };
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes);
    const auto all = bySsidOrBssid(survey(buffer));
    for (const WpaCase& c : cases) {
        const Record& r = all.at(c.ssid);
        const Element* wpa = r.element(221);
        ASSERT_NE(wpa, nullptr) << c.ssid;
        std::vector<std::uint8_t> whole = {wpa->id, static_cast<std::uint8_t>(wpa->body.size())};
        whole.insert(whole.end(), wpa->body.begin(), wpa->body.end());
        EXPECT_EQ(whole, c.element) << c.ssid;
        EXPECT_EQ(r.privacy, 1u) << c.ssid;
    }
}

TEST_F(SimSurveyTest, Wpa2NetworksCarryTheRsnElementAndMixedOnesBoth) {
    SimTestBed wpa2{testing::testWorld() +
                    "[Network.Psk2]\nSSID=Psk2\nBSSID=02-10-00-00-00-21\nChannel=1\n"
                    "Security=wpa2-psk\nCipher=aes\nPassphrase=eight ch\n"
                    "[Network.Mixed]\nSSID=Mixed\nBSSID=02-10-00-00-00-22\nChannel=2\n"
                    "Security=wpa2-eap\nAlsoWpa=1\nCipher=tkip\nGroupCipher=wep40\n"};
    ASSERT_TRUE(wpa2.open());
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes);
    ASSERT_EQ(wpa2.lib().WL_SiteSurveyStart(&wpa2.record), 0);
    ASSERT_EQ(wpa2.lib().WL_RetrieveSiteSurveyData(&wpa2.record, buffer.data(),
                                                   static_cast<int>(buffer.size())),
              0);
    const auto all = bySsidOrBssid(parseSurvey(buffer.data(), buffer.size()));
    const struct {
        const char* ssid;
        std::vector<std::uint8_t> rsnBody;
        bool wpa;
    } cases[] = {
        {"Psk2",
         {0x01, 0x00, 0x00, 0x0F, 0xAC, 0x04, 0x01, 0x00, 0x00, 0x0F,
          0xAC, 0x04, 0x01, 0x00, 0x00, 0x0F, 0xAC, 0x02, 0x00, 0x00},
         false},
        {"Mixed",
         {0x01, 0x00, 0x00, 0x0F, 0xAC, 0x01, 0x01, 0x00, 0x00, 0x0F,
          0xAC, 0x02, 0x01, 0x00, 0x00, 0x0F, 0xAC, 0x01, 0x00, 0x00},
         true},
    };
    for (const auto& c : cases) {
        const Record& r = all.at(c.ssid);
        const Element* rsn = r.element(48);
        ASSERT_NE(rsn, nullptr) << c.ssid;
        EXPECT_EQ(rsn->body, c.rsnBody) << c.ssid;
        EXPECT_EQ(r.element(221) != nullptr, c.wpa) << c.ssid;
        EXPECT_EQ(r.privacy, 1u) << c.ssid;
    }
    // The older WPA networks of the world carry no RSN element.
    EXPECT_EQ(all.at("PskAes").element(48), nullptr);
}

TEST_F(SimSurveyTest, NeverWritesPastTheCallersSize) {
    std::vector<std::uint8_t> full(adapterbuf::kSurveyBytes);
    const auto records = survey(full);
    ASSERT_GE(records.size(), 3u);
    const std::size_t first = records[0].length;
    const std::size_t two = first + records[1].length;
    struct SizeCase {
        std::size_t size;
        std::uint32_t count;
    };
    for (const SizeCase c :
         {SizeCase{4, 0}, SizeCase{4 + first - 1, 0}, SizeCase{4 + first, 1},
          SizeCase{4 + two - 1, 1}, SizeCase{4 + two, 2}, SizeCase{4 + two + 3, 2}}) {
        constexpr std::size_t kGuard = 256;
        std::vector<std::uint8_t> buffer(c.size + kGuard, 0xCC);
        ASSERT_EQ(bed.lib().WL_RetrieveSiteSurveyData(&bed.record, buffer.data(),
                                                      static_cast<int>(c.size)),
                  0);
        EXPECT_EQ(le32(buffer.data()), c.count) << "size " << c.size;
        EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(c.size), buffer.end(),
                                [](std::uint8_t b) { return b == 0xCC; }))
            << "wrote past " << c.size;
        parseSurvey(buffer.data(), c.size);
    }
}

TEST_F(SimSurveyTest, RefusesBuffersThatCannotHoldTheCount) {
    std::vector<std::uint8_t> buffer(8, 0xCC);
    EXPECT_EQ(bed.lib().WL_RetrieveSiteSurveyData(&bed.record, buffer.data(), 3), -1);
    EXPECT_EQ(bed.lib().WL_RetrieveSiteSurveyData(&bed.record, buffer.data(), -4), -1);
    EXPECT_EQ(bed.lib().WL_RetrieveSiteSurveyData(&bed.record, nullptr, 12004), -1);
    EXPECT_TRUE(
        std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0xCC; }));
}

TEST_F(SimSurveyTest, FailsWithoutAnOpenStationAdapter) {
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes);
    AdapterRecord closed;
    EXPECT_EQ(bed.lib().WL_SiteSurveyStart(&closed), -1);
    EXPECT_EQ(bed.lib().WL_RetrieveSiteSurveyData(&closed, buffer.data(), 12004), -1);
    ASSERT_EQ(bed.lib().SetWL_OperationMode_STA_AP(&bed.record, 1), 0);
    EXPECT_EQ(bed.lib().WL_SiteSurveyStart(&bed.record), -1);
    EXPECT_EQ(bed.lib().WL_RetrieveSiteSurveyData(&bed.record, buffer.data(), 12004), -1);
}

TEST_F(SimSurveyTest, ChannelListDecidesWhatIsHeard) {
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes);
    ASSERT_EQ(bed.lib().SetWL_RegionAndSupportChannel(&bed.record, 0x31), 0);  // 10-11
    auto records = survey(buffer);
    EXPECT_EQ(records.size(), 2u);
    ASSERT_EQ(bed.lib().SetWL_RegionAndSupportChannel(&bed.record, 0x30), 0);  // 1-13
    records = survey(buffer);
    EXPECT_EQ(bySsidOrBssid(records).count("Europe"), 1u);
    // World mode: no list, multi-domain on: every channel.
    ASSERT_EQ(bed.lib().SetWL_SupportChannel(&bed.record, nullptr, 0), 0);
    EXPECT_EQ(survey(buffer).size(), 0u);
    ASSERT_EQ(bed.lib().SetWL_MultiDomainCapability(&bed.record, 1), 0);
    EXPECT_EQ(survey(buffer).size(), 12u);
}

TEST_F(SimSurveyTest, FilterPutsTheStrongestFirstWithoutRepeats) {
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes);
    const auto before = survey(buffer);
    ASSERT_EQ(bed.lib().WL_FilteSiteSurveyData(
                  &bed.record,
                  std::span<std::uint8_t, adapterbuf::kSurveyBytes>(buffer.data(), buffer.size())),
              0);
    const auto after = parseSurvey(buffer.data(), buffer.size());
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 1; i < after.size(); ++i) {
        EXPECT_GE(after[i - 1].rssi, after[i].rssi);
    }
    AdapterRecord closed;
    EXPECT_EQ(
        bed.lib().WL_FilteSiteSurveyData(&closed, std::span<std::uint8_t, adapterbuf::kSurveyBytes>(
                                                      buffer.data(), buffer.size())),
        -1);
}

}  // namespace
}  // namespace rizorivu::sim
