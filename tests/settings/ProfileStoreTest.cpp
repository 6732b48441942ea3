#include "settings/ProfileStore.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TestRegistry.h"

namespace rizorivu {
namespace {

class ProfileStoreTest : public ::testing::Test {
protected:
    testing::TestRegistry reg;
    ProfileStore& profiles = reg.profiles;

    std::vector<std::string> listed() {
        std::vector<std::string> names;
        std::string name;
        for (int rc = profiles.first(name); rc == 0; rc = profiles.next(name)) {
            names.push_back(name);
        }
        return names;
    }
    std::optional<std::string> link(std::string_view profile) {
        return reg.userString(ProfileStore::profileKey(profile), "ProfileLink");
    }
    std::optional<std::string> rootLink() { return reg.userString("", "ProfileLink"); }
};

TEST_F(ProfileStoreTest, ChainsProfilesInTheOrderTheyWereAdded) {
    EXPECT_EQ(profiles.add("Home"), 0);
    EXPECT_EQ(profiles.add("Office"), 0);
    EXPECT_EQ(listed(), (std::vector<std::string>{"Home", "Office"}));
    EXPECT_EQ(rootLink(), "Home");
    EXPECT_EQ(link("Home"), "Office");
    EXPECT_EQ(link("Office"), std::nullopt);
    // The registry resolves the upper-case spelling a reader may use.
    EXPECT_EQ(
        reg.store.readString(Hive::CurrentUser, reg.appKey.pathOf("PROFILE\\HOME"), "PROFILELINK"),
        "Office");
}

TEST_F(ProfileStoreTest, NamesMatchWithoutCaseOrSurroundingBlanks) {
    ASSERT_EQ(profiles.add("Home"), 0);
    EXPECT_EQ(profiles.add("HOME"), -1);
    EXPECT_EQ(profiles.add("  home \t"), -1);
    EXPECT_EQ(profiles.add(""), -1);
    EXPECT_EQ(profiles.find("HOME"), 0);
    EXPECT_EQ(profiles.currentName(), "Home");
    EXPECT_EQ(profiles.find(" hOmE "), 0);
    EXPECT_EQ(profiles.find("Office"), -1);
    ASSERT_EQ(profiles.add("Café"), 0);
    EXPECT_EQ(profiles.find("CAFÉ"), 0);
    EXPECT_EQ(profiles.currentName(), "Café");
}

TEST_F(ProfileStoreTest, EmptyListHasNoFirst) {
    std::string name = "x";
    EXPECT_EQ(profiles.first(name), -1);
    EXPECT_EQ(name, "");
    EXPECT_EQ(profiles.find("Home"), -1);
    EXPECT_EQ(profiles.unlink("Home"), -1);
}

TEST_F(ProfileStoreTest, UnlinkingTheOnlyProfileEmptiesTheHead) {
    profiles.add("Home");
    EXPECT_EQ(profiles.unlink("home"), 0);
    EXPECT_EQ(rootLink(), "");
    std::string name;
    EXPECT_EQ(profiles.first(name), -1);
}

TEST_F(ProfileStoreTest, UnlinkingKeepsTheRestOfTheChain) {
    for (const char* n : {"A", "B", "C"}) {
        profiles.add(n);
    }
    EXPECT_EQ(profiles.unlink("B"), 0);
    EXPECT_EQ(listed(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(profiles.unlink("Z"), -1);
    EXPECT_EQ(listed(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(profiles.unlink("A"), 0);
    EXPECT_EQ(rootLink(), "C");
}

TEST_F(ProfileStoreTest, UnlinkingTheLastWritesAnEmptyLink) {
    for (const char* n : {"A", "B", "C"}) {
        profiles.add(n);
    }
    EXPECT_EQ(profiles.unlink("C"), 0);
    EXPECT_EQ(link("B"), "");  // an empty string, not a deleted value
    EXPECT_EQ(listed(), (std::vector<std::string>{"A", "B"}));
}

// Chains edited by hand into loops: after a successful unlink the profile is in no walk and
// cannot be found, and every other profile stays listed.
TEST_F(ProfileStoreTest, UnlinkingFromALoopedChainRemovesTheProfileFromEveryWalk) {
    struct Case {
        const char* loopFrom;  // the last profile's link, closing the loop
        const char* removed;
        std::vector<std::string> remaining;
    };
    const Case cases[] = {
        {"B", "B", {"A", "C", "D"}},  // the loop closes on the removed profile
        {"A", "A", {"B", "C", "D"}},  // ... on the first
        {"C", "C", {"A", "B", "D"}},   {"D", "D", {"A", "B", "C"}},  // the last links to itself
        {"b\\", "B", {"A", "C", "D"}},  // an alias spelling closes the loop
        {"B", "D", {"A", "B", "C"}},
    };
    for (const Case& c : cases) {
        testing::TestRegistry fresh;
        for (const char* n : {"A", "B", "C", "D"}) {
            ASSERT_EQ(fresh.profiles.add(n), 0);
        }
        fresh.appKey.writeString(ProfileStore::profileKey("D"), "ProfileLink", c.loopFrom);
        ASSERT_EQ(fresh.profiles.unlink(c.removed), 0) << c.loopFrom << " " << c.removed;
        std::vector<std::string> names;
        std::string name;
        for (int rc = fresh.profiles.first(name); rc == 0; rc = fresh.profiles.next(name)) {
            names.push_back(name);
        }
        EXPECT_EQ(names, c.remaining) << "loop to " << c.loopFrom << ", removed " << c.removed;
        EXPECT_EQ(fresh.profiles.find(c.removed), -1);
    }
}

TEST_F(ProfileStoreTest, AnAliasSpellingNamesTheSameProfile) {
    for (const char* n : {"Home", "Office"}) {
        ASSERT_EQ(profiles.add(n), 0);
    }
    // "Home\" is the key of "Home": adding it would list it twice and, by clearing the new
    // entry's link, cut "Office" off the chain.
    EXPECT_EQ(profiles.add("Home\\"), -1);
    EXPECT_EQ(profiles.add("home\\\\"), -1);
    EXPECT_EQ(listed(), (std::vector<std::string>{"Home", "Office"}));
    EXPECT_EQ(profiles.find("HOME\\"), 0);
    EXPECT_EQ(profiles.currentName(), "Home");
}

TEST_F(ProfileStoreTest, ReaddedProfileLosesItsStaleLinkButKeepsItsValues) {
    profiles.add("Home");
    profiles.add("Office");
    ASSERT_EQ(profiles.find("Home"), 0);
    profiles.writeText("SSID", "HomeNet");
    ASSERT_EQ(profiles.unlink("Home"), 0);
    ASSERT_EQ(link("Home"), "Office");  // unlink leaves the key alone

    EXPECT_EQ(profiles.add("Home"), 0);
    EXPECT_EQ(link("Home"), std::nullopt);
    EXPECT_EQ(listed(), (std::vector<std::string>{"Office", "Home"}));
    ASSERT_EQ(profiles.find("Home"), 0);
    EXPECT_EQ(profiles.readText("SSID"), "HomeNet");
}

TEST_F(ProfileStoreTest, ValuesOfTheCurrentProfile) {
    profiles.add("Home");
    ASSERT_EQ(profiles.find("Home"), 0);
    EXPECT_EQ(profiles.readInt("Channel"), -1);
    EXPECT_EQ(profiles.readText("SSID"), "");
    EXPECT_EQ(profiles.writeInt("Channel", 11), 0);
    EXPECT_EQ(profiles.readInt("channel"), 11);
    EXPECT_EQ(reg.store.readDword(Hive::CurrentUser, reg.appKey.pathOf("Profile\\Home"), "Channel"),
              11u);
    EXPECT_EQ(profiles.writeText("SSID", ""), -1);
    EXPECT_EQ(profiles.writeText("SSID", "Net"), 0);
    EXPECT_EQ(profiles.writeText("SSID", ""), -1);
    EXPECT_EQ(profiles.readText("SSID"), "Net");
    EXPECT_EQ(profiles.writeInt("WEPStatus", -1), 0);
    EXPECT_EQ(profiles.readInt("WEPStatus"), -1);
}

SettingRecord sampleRecord() {
    SettingRecord r;
    r.ssid = "HomeNet";
    r.channel = 6;
    r.networkType = 1;
    r.desiredRate = "02 04 0B 16";
    r.authenticationMode = 4;
    r.wepStatus = 6;
    r.wepKey = {"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D", "", "AA", ""};
    r.wepDefaultKeyId = 2;
    r.wepKeyLength = 128;
    r.powerSaveMode = 1;
    r.fragmentationThreshold = 2346;
    r.rtsThreshold = 2347;
    r.preambleMode = 2;
    r.dot1xProtocol = 1;
    r.dot1xPassphrase = "correct horse";
    r.dot1xUsername = "alice";
    r.dot1xPassword = "pw";
    r.dot1xWpaIes = "DD 18 00 50 F2 01";
    r.dot1xCertSubject = "CN=alice";
    r.dot1xCertIssuer = "CN=ca";
    return r;
}

TEST_F(ProfileStoreTest, RecordSurvivesSaveAndLoad) {
    profiles.add("Home");
    ASSERT_EQ(profiles.find("Home"), 0);
    const SettingRecord saved = sampleRecord();
    EXPECT_EQ(profiles.saveRecord(saved), 0);

    SettingRecord loaded;
    ASSERT_EQ(profiles.find("home"), 0);
    EXPECT_EQ(profiles.loadRecord(loaded), 0);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(reg.userString("Profile\\Home", "WEPKey128_2"), "AA");
}

TEST_F(ProfileStoreTest, SavingKeepsTextsThatAreNowEmptyAndTheOtherKeyLengths) {
    profiles.add("Home");
    ASSERT_EQ(profiles.find("Home"), 0);
    profiles.writeText("WEPKey64_0", "11 22 33 44 55");
    profiles.saveRecord(sampleRecord());

    SettingRecord second = sampleRecord();
    second.dot1xPassphrase.clear();
    second.wepKey[0].clear();
    profiles.saveRecord(second);

    SettingRecord loaded;
    profiles.loadRecord(loaded);
    EXPECT_EQ(loaded.dot1xPassphrase, "correct horse");
    EXPECT_EQ(loaded.wepKey[0], "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D");
    EXPECT_EQ(reg.userString("Profile\\Home", "WEPKey64_0"), "11 22 33 44 55");
}

TEST_F(ProfileStoreTest, AbsentValuesLoadAsMinusOneAndEmpty) {
    profiles.add("Bare");
    ASSERT_EQ(profiles.find("Bare"), 0);
    SettingRecord loaded = sampleRecord();
    profiles.loadRecord(loaded);
    EXPECT_EQ(loaded.channel, -1);
    EXPECT_EQ(loaded.wepKeyLength, -1);
    EXPECT_EQ(loaded.ssid, "");
    EXPECT_EQ(loaded.wepKey[1], "");
    EXPECT_EQ(loaded.dot1xCertIssuer, "");
}

// A chain edited by hand so that a link points back must not hang any walk.
class ProfileLoopTest : public ProfileStoreTest {
protected:
    void SetUp() override {
        for (const char* n : {"A", "B", "C"}) {
            profiles.add(n);
        }
        reg.appKey.writeString("Profile\\C", "ProfileLink", "b");  // C -> B -> C ...
    }
};

TEST_F(ProfileLoopTest, ListingStopsAtTheFirstRepeat) {
    EXPECT_EQ(listed(), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(ProfileLoopTest, FindEndsWhenTheNameIsAbsent) {
    EXPECT_EQ(profiles.find("Nowhere"), -1);
    EXPECT_EQ(profiles.find("c"), 0);
}

TEST_F(ProfileLoopTest, AddAppendsAfterTheLastDistinctProfile) {
    EXPECT_EQ(profiles.add("D"), 0);
    EXPECT_EQ(link("C"), "D");
    EXPECT_EQ(listed(), (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST_F(ProfileLoopTest, UnlinkOfAnAbsentNameEnds) {
    EXPECT_EQ(profiles.unlink("Nowhere"), -1);
    EXPECT_EQ(profiles.unlink("B"), 0);
}

TEST_F(ProfileStoreTest, SelfLinkedHeadIsListedOnce) {
    profiles.add("Solo");
    reg.appKey.writeString("Profile\\Solo", "ProfileLink", "SOLO");
    EXPECT_EQ(listed(), (std::vector<std::string>{"Solo"}));
    EXPECT_EQ(profiles.find("x"), -1);
    EXPECT_EQ(profiles.unlink("x"), -1);
}

TEST_F(ProfileStoreTest, MachineValuesAreReadFromTheMachineHive) {
    const std::string key =
        "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";
    reg.store.writeString(Hive::LocalMachine, key, "MatchingDeviceId", "usb\\vid_f540&pid_0540");
    std::string value;
    EXPECT_EQ(profiles.readMachineValue(key, "matchingdeviceid", value, 512), 0);
    EXPECT_EQ(value, "usb\\vid_f540&pid_0540");
    EXPECT_EQ(profiles.readMachineValue(key, "Absent", value, 512), -1);
    EXPECT_EQ(profiles.readMachineValue(key + "9", "MatchingDeviceId", value, 512), -1);
    EXPECT_EQ(profiles.readMachineValue(key, "MatchingDeviceId", value, 10), -1);  // too long
    EXPECT_FALSE(reg.store.keyExists(Hive::LocalMachine, key + "9"));
}

}  // namespace
}  // namespace rizorivu
