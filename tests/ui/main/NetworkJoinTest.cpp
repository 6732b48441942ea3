#include "ui/main/NetworkJoin.h"

#include <gtest/gtest.h>

#include <deque>

#include "adapter/SurveyLayout.h"
#include "tests/ui/station/StationBed.h"
#include "ui/main/ConnectWindow.h"

namespace rizorivu {
namespace {

using testing::StationBed;
using ui::MessageAnswer;
using Bytes = std::vector<std::uint8_t>;
using Calls = std::vector<std::string>;

// The main window's part in joining: questions answered from a queue, dialogs and the poll
// timer logged among the adapter calls.
struct ScriptedWindow final : ui::ConnectWindow {
    explicit ScriptedWindow(Calls& log) : log(log) {}
    MessageAnswer askAboutPreviousSettings(const ui::MessageBox& question) override {
        log.push_back("ask " + question.caption);
        texts.push_back(question.text);
        const MessageAnswer a = answers.empty() ? MessageAnswer::Yes : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return a;
    }
    void openWepKeys() override { log.emplace_back("WEP keys dialog"); }
    void openWpaSettings() override { log.emplace_back("WPA settings dialog"); }
    void stopPolling() override { log.emplace_back("stopPolling"); }
    void resumePolling() override { log.emplace_back("resumePolling"); }
    Calls& log;
    std::deque<MessageAnswer> answers;
    Calls texts;
};

// A WPA element with one pairwise and one key-management suite.
Bytes wpa(std::uint8_t pairwise, std::uint8_t akm) {
    return {221, 22, 0x00, 0x50, 0xF2, 0x01,     1, 0, 0x00, 0x50, 0xF2, 2,
            1,   0,  0x00, 0x50, 0xF2, pairwise, 1, 0, 0x00, 0x50, 0xF2, akm};
}
const Bytes kWmm = {221, 7, 0x00, 0x50, 0xF2, 0x02, 0x00, 0x01, 0x00};

// An RSN element (WPA2): CCMP group, the pairwise and key-management suites given.
Bytes rsn(const Bytes& pairwise, const Bytes& akm) {
    Bytes e = {48, 0, 1, 0, 0x00, 0x0F, 0xAC, 4, static_cast<std::uint8_t>(pairwise.size()), 0};
    for (const std::uint8_t t : pairwise) {
        e.insert(e.end(), {0x00, 0x0F, 0xAC, t});
    }
    e.insert(e.end(), {static_cast<std::uint8_t>(akm.size()), 0});
    for (const std::uint8_t t : akm) {
        e.insert(e.end(), {0x00, 0x0F, 0xAC, t});
    }
    e.insert(e.end(), {0, 0});
    e[1] = static_cast<std::uint8_t>(e.size() - 2);
    return e;
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// One survey record as the driver lays it out.
Bytes record(std::uint32_t infrastructure, std::uint32_t frequency, std::uint32_t privacy,
             const Bytes& elements) {
    Bytes r(survey::kElements, 0);
    r.insert(r.end(), elements.begin(), elements.end());
    put32(r, survey::kLength, static_cast<std::uint32_t>(r.size()));
    const Bytes bssid = {0x02, 0x10, 0, 0, 0, 0x77};
    std::copy(bssid.begin(), bssid.end(), r.begin() + survey::kBssid);
    put32(r, survey::kSsidLength, 4);
    std::copy_n("Cell", 4, r.begin() + survey::kSsid);
    put32(r, survey::kPrivacy, privacy);
    put32(r, survey::kFrequency, frequency);
    put32(r, survey::kInfrastructureMode, infrastructure);
    put32(r, survey::kIeLength,
          static_cast<std::uint32_t>(survey::kFixedIeBytes + elements.size()));
    return r;
}

Bytes join(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

constexpr std::uint32_t kInfra = 1;
constexpr std::uint32_t kAdHoc = 0;
constexpr std::uint32_t kChannel6 = 2437000;
constexpr const char* kWpaQuestion = "ask Use Previous WPA Setting";
constexpr const char* kWepQuestion = "ask Use Previous WEP Setting";
const Calls kHead = {"SetWL_BSSID", "SetWL_SSID"};
const Calls kWepKeys = {"SetWL_WriteKey", "SetWL_WriteKey", "SetWL_WriteKey", "SetWL_WriteKey"};

Calls concat(std::initializer_list<Calls> parts) {
    Calls out;
    for (const Calls& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

struct JoinCase {
    const char* name;
    Bytes record;
    std::vector<MessageAnswer> answers;
    Calls calls;  // adapter writes, questions, dialogs and the WPA connection, in order
    // stored Channel, NetworkType, AuthenticationMode, WEPStatus; "-7" when not written
    std::array<const char*, 4> stored;
    int wpaMode = 1;
    int authenticationQuery = 3;  // what the adapter says its authentication is
};

void PrintTo(const JoinCase& c, std::ostream* os) {
    *os << c.name;
}

const JoinCase kJoinCases[] = {
    {"open network",
     record(kInfra, kChannel6, 0, {}),
     {},
     concat({kHead, {"SetWL_NetworkType", "SetWL_AuthenticationMode", "SetWL_WEPStatus"}}),
     {"-7", "1", "2", "1"}},
    {"WEP, previous keys",
     record(kInfra, kChannel6, 1, {}),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWepQuestion},
             kWepKeys,
             {"SetWL_WEPStatus"}}),
     {"-7", "1", "2", "0"}},
    {"WEP, new keys",
     record(kInfra, kChannel6, 1, {}),
     {MessageAnswer::No},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWepQuestion, "SetWL_WEPStatus",
              "WEP keys dialog"}}),
     {"-7", "1", "2", "0"}},
    {"WPA-PSK TKIP",
     record(kInfra, kChannel6, 1, wpa(2, 2)),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"-7", "1", "4", "4"}},
    {"WPA-PSK AES, new settings",
     record(kInfra, kChannel6, 1, wpa(4, 2)),
     {MessageAnswer::No},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "WPA settings dialog",
              "SetWL_WEPStatus", "startWpaConnection"}}),
     {"-7", "1", "4", "6"}},
    {"WPA 802.1X with WEP-40",
     record(kInfra, kChannel6, 1, wpa(1, 1)),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"-7", "1", "3", "0"}},
    {"WPA without a pairwise cipher",
     record(kInfra, kChannel6, 0, wpa(0, 2)),
     {},
     concat({kHead, {"SetWL_NetworkType", "SetWL_AuthenticationMode", "SetWL_WEPStatus"}}),
     {"-7", "1", "4", "1"}},
    {"WPA-PSK TKIP ad hoc",
     record(kAdHoc, kChannel6, 1, wpa(2, 2)),
     {MessageAnswer::Yes},
     concat({{"SetWL_Channel"},
             kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"6", "0", "5", "4"}},
    {"WPA-PSK AES ad hoc",
     record(kAdHoc, 2412000, 1, wpa(4, 2)),
     {MessageAnswer::Yes},
     concat({{"SetWL_Channel"},
             kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"1", "0", "5", "6"}},
    {"WPA ad hoc with WEP-104 asks for WEP keys",
     record(kAdHoc, kChannel6, 1, wpa(5, 2)),
     {MessageAnswer::No},
     concat({{"SetWL_Channel"},
             kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWepQuestion, "SetWL_WEPStatus",
              "WEP keys dialog"}}),
     {"6", "0", "5", "0"}},
    {"802.1X ad hoc keeps the authentication",
     record(kAdHoc, kChannel6, 0, wpa(0, 1)),
     {},
     concat({{"SetWL_Channel"}, kHead, {"SetWL_NetworkType", "SetWL_WEPStatus"}}),
     {"6", "0", "-7", "1"}},
    {"WPAMode 0 treats WPA as WEP",
     record(kInfra, kChannel6, 1, wpa(2, 2)),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWepQuestion},
             kWepKeys,
             {"SetWL_WEPStatus"}}),
     {"-7", "1", "2", "0"},
     0},
    {"WRAP writes no cipher and starts nothing",
     record(kInfra, kChannel6, 1, wpa(3, 2)),
     {},
     concat({kHead, {"SetWL_NetworkType", "SetWL_AuthenticationMode"}}),
     {"-7", "1", "4", "-7"}},
    {"two WPA elements: the later holds",
     record(kInfra, kChannel6, 1, join(wpa(2, 1), wpa(4, 2))),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"-7", "1", "4", "6"}},
    {"WMM after the WPA element changes nothing",
     record(kInfra, kChannel6, 1, join(wpa(2, 2), kWmm)),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"-7", "1", "4", "4"}},
    {"a WMM element alone is no WPA element",
     record(kInfra, kChannel6, 0, kWmm),
     {},
     concat({kHead, {"SetWL_NetworkType", "SetWL_AuthenticationMode", "SetWL_WEPStatus"}}),
     {"-7", "1", "2", "1"}},
    {"no key management re-applies the adapter's authentication",
     record(kInfra, kChannel6, 0, wpa(0, 0)),
     {},
     concat({kHead,
             {"SetWL_NetworkType", "QueryWL_AuthenticationMode", "SetWL_AuthenticationMode",
              "SetWL_WEPStatus"}}),
     {"-7", "1", "3", "1"}},
    {"no key management and no authentication known",
     record(kInfra, kChannel6, 0, wpa(0, 0)),
     {},
     concat({kHead,
             {"SetWL_NetworkType", "QueryWL_AuthenticationMode", "SetWL_AuthenticationMode",
              "SetWL_WEPStatus"}}),
     {"-7", "1", "2", "1"},
     1,
     -1},
    {"WPA2-PSK AES",
     record(kInfra, kChannel6, 1, rsn({4}, {2})),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"-7", "1", "7", "6"}},
    {"WPA2 802.1X TKIP, new settings",
     record(kInfra, kChannel6, 1, rsn({2}, {1})),
     {MessageAnswer::No},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "WPA settings dialog",
              "SetWL_WEPStatus", "startWpaConnection"}}),
     {"-7", "1", "6", "4"}},
    {"mixed WPA/WPA2 is joined with WPA2",
     record(kInfra, kChannel6, 1, join(rsn({4}, {2}), wpa(2, 2))),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"-7", "1", "7", "6"}},
    {"WPA2 takes CCMP and the pre-shared key among newer suites",
     record(kInfra, kChannel6, 1, rsn({2, 4}, {8, 2})),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"-7", "1", "7", "6"}},
    {"WPA2 with only unknown key management keeps the authentication",
     record(kInfra, kChannel6, 1, rsn({4}, {8})),
     {MessageAnswer::Yes},
     concat({kHead, {"SetWL_NetworkType", kWpaQuestion, "SetWL_WEPStatus", "startWpaConnection"}}),
     {"-7", "1", "-7", "6"}},
    {"a malformed RSN element is dropped: WPA holds",
     record(kInfra, kChannel6, 1, join({48, 8, 1, 0, 0x00, 0x0F, 0xAC, 4, 9, 0}, wpa(2, 2))),
     {MessageAnswer::Yes},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWpaQuestion, "SetWL_WEPStatus",
              "startWpaConnection"}}),
     {"-7", "1", "4", "4"}},
    {"WPAMode 0 treats WPA2 as WEP",
     record(kInfra, kChannel6, 1, rsn({4}, {2})),
     {MessageAnswer::No},
     concat({kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWepQuestion, "SetWL_WEPStatus",
              "WEP keys dialog"}}),
     {"-7", "1", "2", "0"},
     0},
    {"an ad-hoc cell with only an RSN element is joined as WEP",
     record(kAdHoc, kChannel6, 1, rsn({4}, {2})),
     {MessageAnswer::Yes},
     concat({{"SetWL_Channel"},
             kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", kWepQuestion},
             kWepKeys,
             {"SetWL_WEPStatus"}}),
     {"6", "0", "2", "0"}},
    {"channel 14 ad hoc",
     record(kAdHoc, 2484000, 0, {}),
     {},
     concat({{"SetWL_Channel"},
             kHead,
             {"SetWL_NetworkType", "SetWL_AuthenticationMode", "SetWL_WEPStatus"}}),
     {"14", "0", "2", "1"}},
    {"5 GHz ad hoc sets no channel",
     record(kAdHoc, 5180000, 0, {}),
     {},
     concat({kHead, {"SetWL_NetworkType", "SetWL_AuthenticationMode", "SetWL_WEPStatus"}}),
     {"-7", "0", "2", "1"}},
    {"an unknown infrastructure mode writes no network type",
     record(9, kChannel6, 0, {}),
     {},
     concat({{"SetWL_Channel"}, kHead, {"SetWL_AuthenticationMode", "SetWL_WEPStatus"}}),
     {"6", "-7", "2", "1"}},
};

class NetworkJoinTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(NetworkJoinTest, WritesInOrderAndAsksAsTheRecordSays) {
    const JoinCase& c = GetParam();
    Configuration configuration = StationBed::productConfiguration();
    configuration.wpaMode = c.wpaMode;
    StationBed s(testing::settingsWorld(), configuration);
    for (const char* name : {"Channel", "NetworkType", "AuthenticationMode", "WEPStatus"}) {
        s.store(name, "-7");
    }
    // Every write is taken, so what was written is what the last settings record.
    for (const char* op : {"SetWL_Channel", "SetWL_BSSID", "SetWL_SSID", "SetWL_NetworkType",
                           "SetWL_AuthenticationMode", "SetWL_WEPStatus", "SetWL_WriteKey"}) {
        s.library.forced[op] = 0;
    }
    s.library.forced["QueryWL_AuthenticationMode"] = c.authenticationQuery;
    ScriptedWindow window(s.library.calls);
    window.answers.assign(c.answers.begin(), c.answers.end());
    ui::NetworkJoin flow(s.settings, s.configuration, s.texts, window);
    const std::size_t before = s.library.calls.size();

    flow.join(c.record);

    EXPECT_EQ(s.library.callsFrom(before), c.calls);
    const std::array<std::string, 4> stored = {s.station("Channel"), s.station("NetworkType"),
                                               s.station("AuthenticationMode"),
                                               s.station("WEPStatus")};
    EXPECT_EQ(stored,
              (std::array<std::string, 4>{c.stored[0], c.stored[1], c.stored[2], c.stored[3]}));
    EXPECT_TRUE(window.answers.empty());
    EXPECT_EQ(s.station("SSID"), "Cell");
}

INSTANTIATE_TEST_SUITE_P(Ui, NetworkJoinTest, ::testing::ValuesIn(kJoinCases));

TEST(NetworkJoin, QuestionsReadTheLanguageFile) {
    StationBed s;
    ScriptedWindow window(s.library.calls);
    ui::NetworkJoin flow(s.settings, s.configuration, s.texts, window);
    flow.join(record(kInfra, kChannel6, 1, wpa(2, 2)));
    flow.join(record(kInfra, kChannel6, 1, {}));
    EXPECT_EQ(window.texts, (Calls{"You have selected to connect to the WPA encryption network.\n"
                                   "Do you want to use the previous WPA setting?\n",
                                   "You have selected to connect to the WEP encryption network.\n"
                                   "Do you want to use the previous WEP setting?\n"}));
}

TEST(NetworkJoin, AdHocChannelsOfTheBand) {
    const std::pair<std::uint32_t, int> cases[] = {{2412000, 1},  {2437000, 6}, {2472000, 13},
                                                   {2484000, 14}, {2411999, 0}, {2484001, 0},
                                                   {5180000, 0},  {0, 0},       {0xFFFFFFFF, 0}};
    for (const auto& [khz, channel] : cases) {
        EXPECT_EQ(ui::NetworkJoin::adHocChannel(khz), channel) << khz;
    }
}

}  // namespace
}  // namespace rizorivu
