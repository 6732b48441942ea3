#include "sim/WorldParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "sim/DefaultWorld.h"
#include "tests/sim/SimTestBed.h"

namespace rizorivu::sim {
namespace {

World parseOk(std::string_view text) {
    const CodePage ansi;
    auto result = parseWorld(text, "w.ini", ansi);
    if (!result.ok()) {
        ADD_FAILURE() << result.error().text();
        return World{};
    }
    return std::move(result).value();
}

std::string network(std::string_view body) {
    return "[Network.N]\nSSID=Net\nBSSID=02-10-00-00-00-01\nChannel=1\n" + std::string(body);
}

std::string adapter(std::string_view body) {
    return "[Adapter.A]\nName=A\nDescription=Adapter A\nClassInstance=0001\nDeviceId=X\n"
           "Mac=02-00-00-00-00-01\n" +
           std::string(body);
}

struct MalformedCase {
    const char* name;
    std::string text;
    int line;
    const char* fragment;  // part of the message
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.name;
}

class SimWorldMalformedTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(SimWorldMalformedTest, NamesFileLineAndProblem) {
    const CodePage ansi;
    const auto result = parseWorld(GetParam().text, "w.ini", ansi);
    ASSERT_FALSE(result.ok()) << "accepted";
    const WorldError* error = &result.error();
    EXPECT_EQ(error->file, "w.ini");
    EXPECT_EQ(error->line, GetParam().line) << error->text();
    EXPECT_NE(error->message.find(GetParam().fragment), std::string::npos) << error->text();
    EXPECT_EQ(error->text().rfind("w.ini:" + std::to_string(GetParam().line) + ": ", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimWorldMalformedTest,
    ::testing::Values(
        MalformedCase{"UnknownSection", "; c\n[Nonsense]\n", 2, "unknown section"},
        MalformedCase{"SectionWithoutId", "[Network.]\n", 1, "unknown section"},
        MalformedCase{"UnclosedHeader", "[Machine\n", 1, "section header"},
        MalformedCase{"UnknownKey", "[Machine]\nOsCode=6\nColour=blue\n", 3, "unknown key"},
        MalformedCase{"KeyBeforeSection", "Seed=1\n[Machine]\n", 1, "before any section"},
        MalformedCase{"StrayText", "[Machine]\njunk\n", 2, "neither"},
        MalformedCase{"RepeatedSection", "[Machine]\n\n[machine]\n", 3, "repeats"},
        MalformedCase{"RepeatedKey", "[Machine]\nSeed=1\nSEED=2\n", 3, "repeats"},
        MalformedCase{"OsCodeTooLarge", "[Machine]\nOsCode=300\n", 2, "OsCode"},
        MalformedCase{"SeedNotANumber", "[Machine]\nSeed=12abc\n", 2, "not a number"},
        MalformedCase{"UnknownOsFamily", "[Machine]\nOsFamily=vms\n", 2, "not one of"},
        MalformedCase{"ChannelOutOfRange",
                      network("").replace(network("").find("Channel=1"), 9, "Channel=15"), 4,
                      "Channel"},
        MalformedCase{"ChannelMissing", "[Network.N]\nSSID=Net\nBSSID=02-10-00-00-00-01\n", 1,
                      "Channel: missing"},
        MalformedCase{"SsidMissing", "\n[Network.N]\nBSSID=02-10-00-00-00-01\nChannel=1\n", 2,
                      "SSID: missing"},
        MalformedCase{
            "SsidTooLong",
            "[Network.N]\nSSID=" + std::string(33, 'x') + "\nBSSID=02-10-00-00-00-01\nChannel=1\n",
            2, "1-32 bytes"},
        MalformedCase{"SignalTooStrong", network("Signal=-5\n"), 5, "Signal"},
        MalformedCase{"BadBssidHex", "[Network.N]\nSSID=Net\nBSSID=02-10-zz-00-00-01\nChannel=1\n",
                      3, "bad hex"},
        MalformedCase{"MulticastBssid",
                      "[Network.N]\nSSID=Net\nBSSID=01-10-00-00-00-01\nChannel=1\n", 3, "unicast"},
        MalformedCase{"DuplicateBssid",
                      network("") + "[Network.M]\nSSID=Other\nChannel=2\nBSSID=02-10-00-00-00-01\n",
                      8, "duplicate"},
        MalformedCase{"WepKeyBadHex", network("Security=wep\nWepKey=01 02 0G 04 05\n"), 6,
                      "bad hex"},
        MalformedCase{"WepKeyWrongLength", network("Security=wep\nWepKey=01 02 03 04 05 06\n"), 6,
                      "5, 13 or 29"},
        MalformedCase{"WepKeyMissing", network("Security=wep\n"), 1, "WepKey: missing"},
        MalformedCase{"WepKeyOnOpenNetwork", network("WepKey=01 02 03 04 05\n"), 5, "only"},
        MalformedCase{"CipherOnWep", network("Security=wep\nWepKey=0102030405\nCipher=tkip\n"), 7,
                      "only"},
        MalformedCase{"PassphraseMissing", network("Security=wpa-psk\nCipher=aes\n"), 1,
                      "Passphrase: missing"},
        MalformedCase{"PassphraseTooShort",
                      network("Security=wpa-psk\nCipher=aes\nPassphrase=seven77\n"), 7, "8-63"},
        MalformedCase{"CipherMissing", network("Security=wpa-eap\n"), 1, "Cipher: missing"},
        MalformedCase{"AesGroupUnderTkip",
                      network("Security=wpa-psk\nCipher=tkip\nGroupCipher=aes\nPassphrase=eight "
                              "ch\n"),
                      7, "Cipher=aes"},
        MalformedCase{"UnknownGroupCipher",
                      network("Security=wpa-eap\nCipher=aes\nGroupCipher=wep128\n"), 7, "wep104"},
        MalformedCase{"GroupCipherOnOpen", network("GroupCipher=tkip\n"), 5, "only"},
        MalformedCase{"GroupCipherInACell",
                      network("Type=adhoc\nSecurity=wpa-psk\nCipher=tkip\nGroupCipher=wep40\n"
                              "Passphrase=eight ch\n"),
                      8, "one cipher"},
        MalformedCase{"RekeyInACell",
                      network("Type=adhoc\nSecurity=wpa-psk\nCipher=tkip\nPassphrase=eight ch\n"
                              "GroupRekey=60\n"),
                      9, "access point"},
        MalformedCase{"RekeyTooLong",
                      network("Security=wpa-psk\nCipher=aes\nPassphrase=eight ch\n"
                              "GroupRekey=86401\n"),
                      8, "GroupRekey"},
        MalformedCase{"EapCell", network("Type=adhoc\nSecurity=wpa-eap\nCipher=aes\n"), 5,
                      "802.1X"},
        MalformedCase{"Wpa2Cell",
                      network("Type=adhoc\nSecurity=wpa2-psk\nCipher=aes\nPassphrase=eight ch\n"),
                      5, "WPA2"},
        MalformedCase{"AlsoWpaOnWpa",
                      network("Security=wpa-psk\nCipher=aes\nAlsoWpa=1\n"
                              "Passphrase=eight ch\n"),
                      7, "wpa2-psk or wpa2-eap"},
        MalformedCase{"AlsoWpaNotAFlag", network("Security=wpa2-eap\nCipher=aes\nAlsoWpa=yes\n"), 7,
                      "AlsoWpa"},
        MalformedCase{"Wpa2PassphraseMissing", network("Security=wpa2-psk\nCipher=tkip\n"), 1,
                      "Passphrase: missing"},
        MalformedCase{"UnknownRate", network("Rates=1 2 3\n"), 5, "\"3\""},
        MalformedCase{"RepeatedRate", network("Rates=1* 2 1\n"), 5, "twice"},
        MalformedCase{"AdapterNameMissing",
                      "[Adapter.A]\nDescription=A\nClassInstance=0001\nDeviceId=X\n"
                      "Mac=02-00-00-00-00-01\n",
                      1, "Name: missing"},
        MalformedCase{"ClassInstanceNotFourDigits",
                      adapter("").replace(adapter("").find("0001"), 4, "7"), 4,
                      "four decimal digits"},
        MalformedCase{"RegionNotInTable", adapter("Region=0x41\n"), 7, "region table"},
        MalformedCase{"RegionNone", adapter("Region=0\n"), 7, "Region"},
        MalformedCase{"ApModeNotAllowed", adapter("AccessPoint=0\nMode=ap\n"), 8, "AccessPoint=1"},
        MalformedCase{"ImpossibleDate", adapter("DriverDate=2004-02-30\n"), 7, "DriverDate"},
        MalformedCase{"VersionOutOfRange", adapter("DriverVersion=1.256\n"), 7, "DriverVersion"},
        MalformedCase{"DuplicateAdapterName",
                      adapter("") + "[Adapter.B]\nName=a\nDescription=B\nClassInstance=0002\n"
                                    "DeviceId=Y\nMac=02-00-00-00-00-02\n",
                      8, "already names"},
        MalformedCase{"ClientChannelOutOfRange", "[Client.A]\nMac=02-C0-00-00-00-01\nChannel=15\n",
                      3, "Channel"},
        MalformedCase{"ClientPresentNotAFlag", "[Client.A]\nMac=02-C0-00-00-00-01\nPresent=2\n", 3,
                      "Present"},
        MalformedCase{"DuplicateClient",
                      "[Client.A]\nMac=02-C0-00-00-00-01\n[Client.B]\nMac=02:C0:00:00:00:01\n", 4,
                      "already used"}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

TEST(SimWorldParserTest, ErrorsNeverEchoAWepKey) {
    const CodePage ansi;
    const auto result =
        parseWorld(network("Security=wep\nWepKey=53 45 43 52 45 54 XX\n"), "w.ini", ansi);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().text().find("53 45"), std::string::npos);
}

TEST(SimWorldParserTest, ReadsEveryKeyOfAnAdapter) {
    const World world = parseOk(
        "[Adapter.A]\nName=\\DEVICE\\{X}\nDescription=\"  Padded Adapter  \"\nClassInstance=0012\n"
        "DeviceId=PCMCIA\\CARD\nMac=02:0A:0B:0C:0D:0E\nKind=wireless\nPresent=0\nOpenable=0\n"
        "Usb=1.1\nDriverVersion=3.14\nDriverDate=2009-11-05\nRates=1* 2* 5.5 11\n"
        "PnPWorkaround=1\nAccessPoint=0\nRegion=0x31\nMultiDomain=1\nZeroConfig=2\n");
    ASSERT_EQ(world.adapters.size(), 1u);
    const WorldAdapter& a = world.adapters[0];
    EXPECT_EQ(a.name, "\\DEVICE\\{X}");
    EXPECT_EQ(a.description, "  Padded Adapter  ");  // the reader removes one pair of quotes
    EXPECT_EQ(a.classInstance, "0012");
    EXPECT_EQ(a.deviceId, "PCMCIA\\CARD");
    EXPECT_EQ(a.mac, (MacAddress{0x02, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E}));
    EXPECT_FALSE(a.present);
    EXPECT_FALSE(a.openable);
    EXPECT_EQ(a.usbType, 0);
    // Major 3, minor 14, year field 9, month 11, day 05 in BCD.
    EXPECT_EQ(a.driverVersion, 0x030E9B05u);
    EXPECT_EQ(a.rates, (RateBytes{0x82, 0x84, 11, 22}));
    EXPECT_TRUE(a.pnpWorkaround);
    EXPECT_FALSE(a.accessPointCapable);
    EXPECT_EQ(a.regionCode, 0x31);
    EXPECT_EQ(a.multiDomain, 1);
    EXPECT_EQ(a.zeroConfigStatus, 2);
}

TEST(SimWorldParserTest, ReadsNetworksWithTheirSecurity) {
    const World world = parseOk(
        "[Network.W]\nSSID=Caf\xE9\nBSSID=02 10 00 00 00 01\nChannel=14\nSignal=-100\n"
        "Type=adhoc\nSecurity=WEP\nWepKey=0102030405060708090A0B0C0D\nWepAuth=shared\nHidden=1\n"
        "[Network.P]\nSSID=P\nBSSID=02-10-00-00-00-02\nChannel=3\nSecurity=wpa-psk\nCipher=AES\n"
        "Passphrase=eight ch\nGroupCipher=wep104\nGroupRekey=3600\n"
        "[Client.C]\nMac=02-C0-00-00-00-01\nSSID=Lab\n");
    ASSERT_EQ(world.networks.size(), 2u);
    const WorldNetwork& w = world.networks[0];
    EXPECT_EQ(w.ssid, "Caf\xE9");  // on the air in the ANSI code page
    EXPECT_EQ(w.channel, 14);
    EXPECT_EQ(w.signalDbm, -100);
    EXPECT_EQ(w.type, BssType::AdHoc);
    EXPECT_EQ(w.security, Security::Wep);
    EXPECT_EQ(w.wepKey.size(), 13u);
    EXPECT_EQ(w.wepKey.back(), 0x0D);
    EXPECT_EQ(w.wepAuthentication, WepAuthentication::SharedOnly);
    EXPECT_TRUE(w.hidden);
    const WorldNetwork& p = world.networks[1];
    EXPECT_EQ(p.security, Security::WpaPsk);
    EXPECT_EQ(p.cipher, Cipher::Aes);
    EXPECT_EQ(p.passphrase, "eight ch");
    EXPECT_EQ(p.groupCipher, GroupCipher::Wep104);
    EXPECT_EQ(p.groupRekeySeconds, 3600);
    EXPECT_EQ(w.groupCipher, GroupCipher::SameAsPairwise);
    EXPECT_EQ(w.groupRekeySeconds, 0);
    EXPECT_EQ(p.rates[0], 0x82) << "default rates: 802.11b ones basic";
    ASSERT_EQ(world.clients.size(), 1u);
    EXPECT_EQ(world.clients[0].ssid, "Lab");
}

TEST(SimWorldParserTest, ReadsWpa2NetworksAsWpaOnesOfAnotherVersion) {
    const World world = parseOk(
        "[Network.A]\nSSID=A\nBSSID=02-10-00-00-00-01\nChannel=1\nSecurity=wpa2-psk\n"
        "Cipher=aes\nPassphrase=eight ch\nGroupRekey=60\n"
        "[Network.B]\nSSID=B\nBSSID=02-10-00-00-00-02\nChannel=2\nSecurity=wpa2-eap\n"
        "Cipher=tkip\nAlsoWpa=1\nRadius=localhost:1812\n"
        "[Network.C]\nSSID=C\nBSSID=02-10-00-00-00-03\nChannel=3\nSecurity=wpa-psk\n"
        "Cipher=tkip\nPassphrase=eight ch\n");
    ASSERT_EQ(world.networks.size(), 3u);
    const struct {
        Security security;
        WpaVersions versions;
    } expected[] = {{Security::WpaPsk, WpaVersions::Wpa2},
                    {Security::WpaEap, WpaVersions::Both},
                    {Security::WpaPsk, WpaVersions::Wpa}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(world.networks[i].security, expected[i].security) << i;
        EXPECT_EQ(world.networks[i].wpaVersions, expected[i].versions) << i;
    }
    EXPECT_EQ(world.networks[0].groupRekeySeconds, 60);
    EXPECT_EQ(world.networks[1].radiusPort, 1812);
}

TEST(SimWorldParserTest, CountsLinesOfAUtf16File) {
    const std::string text = "[Machine]\r\n; comment\r\nOsCode=999\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char c : text) {
        bytes += c;
        bytes += '\0';
    }
    const CodePage ansi;
    const auto result = parseWorld(bytes, "u.ini", ansi);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().line, 3);
}

TEST(SimWorldParserTest, DefaultWorldHasWhatTheProductShowsOutOfTheBox) {
    const World world = parseOk(defaultWorldText());
    const auto matching =
        std::count_if(world.adapters.begin(), world.adapters.end(),
                      [](const WorldAdapter& a) { return a.deviceId == "USB\\VID_F540&PID_0540"; });
    EXPECT_EQ(matching, 1);
    const auto k540 = std::find_if(world.adapters.begin(), world.adapters.end(),
                                   [](const WorldAdapter& a) { return a.classInstance == "0007"; });
    ASSERT_NE(k540, world.adapters.end());
    EXPECT_EQ(k540->kind, AdapterKind::Wireless);
    EXPECT_TRUE(std::any_of(world.adapters.begin(), world.adapters.end(),
                            [](const WorldAdapter& a) { return a.kind == AdapterKind::Ethernet; }));

    auto has = [&](auto predicate) {
        return std::any_of(world.networks.begin(), world.networks.end(), predicate);
    };
    EXPECT_TRUE(has([](const WorldNetwork& n) { return n.security == Security::Open; }));
    EXPECT_TRUE(has([](const WorldNetwork& n) { return n.wepKey.size() == 5; }));
    EXPECT_TRUE(has([](const WorldNetwork& n) { return n.wepKey.size() == 13; }));
    EXPECT_TRUE(has([](const WorldNetwork& n) {
        return n.security == Security::WpaPsk && n.cipher == Cipher::Tkip;
    }));
    EXPECT_TRUE(has([](const WorldNetwork& n) {
        return n.security == Security::WpaPsk && n.cipher == Cipher::Aes;
    }));
    EXPECT_TRUE(has([](const WorldNetwork& n) { return n.security == Security::WpaEap; }));
    EXPECT_TRUE(has([](const WorldNetwork& n) {
        return n.security == Security::WpaPsk && n.wpaVersions == WpaVersions::Wpa2 &&
               n.cipher == Cipher::Aes;
    }));
    EXPECT_TRUE(has([](const WorldNetwork& n) { return n.type == BssType::AdHoc; }));
    EXPECT_TRUE(has([](const WorldNetwork& n) { return n.hidden; }));
    EXPECT_GE(world.clients.size(), 2u);
}

TEST(SimWorldParserTest, TheDocumentedExampleIsAValidWorld) {
    std::ifstream in(std::string(RIZORIVU_SOURCE_DIR) + "/sim/WORLD.md");
    std::stringstream text;
    text << in.rdbuf();
    const std::string doc = text.str();
    const std::size_t start = doc.find("```ini\n");
    ASSERT_NE(start, std::string::npos);
    const std::size_t end = doc.find("```", start + 7);
    const World world = parseOk(doc.substr(start + 7, end - start - 7));
    EXPECT_EQ(world.machine.osCode, 7);
    EXPECT_EQ(world.adapters.size(), 1u);
    EXPECT_EQ(world.networks.size(), 2u);
    EXPECT_EQ(world.clients.size(), 1u);

    // The WPA-PSK example.
    const std::size_t next = doc.find("```ini\n", end + 3);
    ASSERT_NE(next, std::string::npos);
    const std::size_t nextEnd = doc.find("```", next + 7);
    const World wpa = parseOk(doc.substr(next + 7, nextEnd - next - 7));
    ASSERT_EQ(wpa.networks.size(), 2u);
    EXPECT_EQ(wpa.networks[0].groupCipher, GroupCipher::Wep104);
    EXPECT_EQ(wpa.networks[0].groupRekeySeconds, 600);
    EXPECT_EQ(wpa.networks[1].type, BssType::AdHoc);

    // The WPA2 example.
    const std::size_t wpa2At = doc.find("```ini\n; WPA2-PSK only");
    ASSERT_NE(wpa2At, std::string::npos);
    const std::size_t wpa2End = doc.find("```", wpa2At + 7);
    const World wpa2 = parseOk(doc.substr(wpa2At + 7, wpa2End - wpa2At - 7));
    ASSERT_EQ(wpa2.networks.size(), 2u);
    EXPECT_EQ(wpa2.networks[0].wpaVersions, WpaVersions::Wpa2);
    EXPECT_EQ(wpa2.networks[1].wpaVersions, WpaVersions::Both);
    EXPECT_EQ(wpa2.networks[1].security, Security::WpaEap);
}

}  // namespace
}  // namespace rizorivu::sim
