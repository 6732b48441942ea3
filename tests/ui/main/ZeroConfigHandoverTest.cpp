#include "adapter/ZeroConfigHandover.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/SimulatedAdapterLibrary.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu {
namespace {

using testing::AdapterTestBed;
using Action = ZeroConfigHandover::TickAction;

constexpr int kQvxOidMode = 1;  // the private OIDs on while the utility controls
constexpr int kDefaultOsCode = 6;
constexpr int kRestoreCheckOsCode = 7;

std::string world(int zeroConfigAtPlugIn, int osCode, const std::string& touch = "") {
    return "[Machine]\nOsCode=" + std::to_string(osCode) + "\n" + touch +
           "[Adapter.K540]\nName=\\DEVICE\\K540\nDescription=Nimbo K-540 Wireless USB "
           "Adapter\nClassInstance=0007\nDeviceId=USB\\VID_F540&PID_0540\n"
           "Mac=02-00-00-00-05-40\nZeroConfig=" +
           std::to_string(zeroConfigAtPlugIn) + "\n";
}

// The adapter as the driver reports it, plus the hand-over under test.
struct HandoverBed {
    HandoverBed(int zeroConfigAtPlugIn, int osCode)
        : bed(world(zeroConfigAtPlugIn, osCode)),
          handover(*bed.library, bed.adapter, savedWzcStatus, kQvxOidMode) {
        if (!bed.open(testing::kK540)) {
            throw std::runtime_error("the test adapter does not open");
        }
    }

    int status() { return bed.library->QueryWL_CheckWZCStatus(&bed.adapter); }
    int privateOids() { return bed.library->QueryWL_QVUseQVXOidState(&bed.adapter); }
    bool serviceRunning() {
        return dynamic_cast<sim::SimulatedAdapterLibrary&>(*bed.library).zeroConfigServiceRunning();
    }

    AdapterTestBed bed;
    int savedWzcStatus = ZeroConfigHandover::kUnknown;
    ZeroConfigHandover handover;
};

TEST(ZeroConfigHandoverTest, OpeningTakesTheAdapterAndRecordsWhatItFound) {
    struct Case {
        int atPlugIn;
        int statusAfterOpen;  // 0 and 1 are taken over; 2 is left alone
        int stateAfterOpen;
        int oidsAfterOpen;
    };
    for (const Case& c : {Case{0, 0, 0, kQvxOidMode}, Case{1, 0, 0, kQvxOidMode},
                          Case{2, 2, 2, ZeroConfigHandover::kPrivateOidsOff}}) {
        SCOPED_TRACE("status at plug-in " + std::to_string(c.atPlugIn));
        HandoverBed t(c.atPlugIn, kDefaultOsCode);
        EXPECT_FALSE(t.handover.openSequence()) << "the utility controls the adapter";
        EXPECT_EQ(t.savedWzcStatus, c.atPlugIn);
        EXPECT_EQ(t.status(), c.statusAfterOpen);
        EXPECT_EQ(t.handover.state(), c.stateAfterOpen);
        EXPECT_EQ(t.privateOids(), c.oidsAfterOpen);
    }
}

TEST(ZeroConfigHandoverTest, RestoringGivesBackTheStatusFoundAtOpen) {
    struct Case {
        int atPlugIn;
        int osCode;
        int statusAfterRestore;
        int savedAfterRestore;
    };
    for (const Case& c : {
             Case{0, kDefaultOsCode, 0, 0}, Case{1, kDefaultOsCode, 1, 1},
             Case{1, kRestoreCheckOsCode, 1, 1}, Case{2, kDefaultOsCode, 2, 2},  // never written
             Case{2, kRestoreCheckOsCode, 1, 1},  // this OS hands the adapter to the service
         }) {
        SCOPED_TRACE("status " + std::to_string(c.atPlugIn) + ", OS code " +
                     std::to_string(c.osCode));
        HandoverBed t(c.atPlugIn, c.osCode);
        t.handover.openSequence();
        t.handover.restoreSteps();
        EXPECT_EQ(t.status(), c.statusAfterRestore);
        EXPECT_EQ(t.savedWzcStatus, c.savedAfterRestore);
    }
}

TEST(ZeroConfigHandoverTest, WithNoAdapterEverOpenedOnlyTheRestoreCheckOsWritesAStatus) {
    HandoverBed t(2, kRestoreCheckOsCode);
    t.handover.restoreSteps();
    EXPECT_EQ(t.savedWzcStatus, ZeroConfigHandover::kServiceControls);
    EXPECT_EQ(t.status(), ZeroConfigHandover::kServiceControls);

    HandoverBed plain(2, kDefaultOsCode);
    plain.handover.restoreSteps();
    EXPECT_EQ(plain.savedWzcStatus, ZeroConfigHandover::kUnknown);
    EXPECT_EQ(plain.status(), 2);
}

TEST(ZeroConfigHandoverTest, ServiceTakingTheAdapterIsHandedBackAndWaitedOut) {
    HandoverBed t(2, kDefaultOsCode);
    t.handover.openSequence();
    EXPECT_EQ(t.handover.tick(), Action::Continue) << "nothing changed";

    t.bed.editWorld(world(1, kDefaultOsCode));
    EXPECT_EQ(t.handover.tick(), Action::TookControl);
    EXPECT_EQ(t.handover.state(), ZeroConfigHandover::kServiceControls);
    t.handover.handBack();
    EXPECT_EQ(t.privateOids(), ZeroConfigHandover::kPrivateOidsOff);
    EXPECT_FALSE(t.serviceRunning());
    EXPECT_EQ(t.status(), ZeroConfigHandover::kServiceControls);

    EXPECT_EQ(t.handover.tick(), Action::EndTick) << "while the service has it, ticks stop here";
    EXPECT_EQ(t.handover.tick(), Action::EndTick);

    t.bed.editWorld(world(2, kDefaultOsCode));
    EXPECT_EQ(t.handover.tick(), Action::ReplayThenContinue);
    EXPECT_EQ(t.handover.state(), 2);
    EXPECT_EQ(t.handover.tick(), Action::Continue);
}

TEST(ZeroConfigHandoverTest, ServiceLettingGoGivesThePrivateOidsBackBeforeTheReplay) {
    HandoverBed t(2, kDefaultOsCode);
    t.handover.openSequence();
    t.bed.editWorld(world(1, kDefaultOsCode));
    ASSERT_EQ(t.handover.tick(), Action::TookControl);
    t.handover.handBack();

    t.bed.editWorld(world(0, kDefaultOsCode));
    EXPECT_EQ(t.handover.tick(), Action::ReplayThenContinue);
    EXPECT_EQ(t.handover.state(), ZeroConfigHandover::kUtilityControls);
    EXPECT_EQ(t.privateOids(), kQvxOidMode);
}

TEST(ZeroConfigHandoverTest, UserChoosingTheUtilityTakesTheAdapterBack) {
    HandoverBed t(2, kDefaultOsCode);
    t.handover.openSequence();
    t.bed.editWorld(world(1, kDefaultOsCode));
    t.handover.tick();
    t.handover.handBack();
    t.handover.userTakesOver();
    EXPECT_EQ(t.status(), ZeroConfigHandover::kUtilityControls);
    EXPECT_EQ(t.handover.tick(), Action::ReplayThenContinue);
}

TEST(ZeroConfigHandoverTest, LosingTheAdapterForgetsTheStatusFoundAtOpen) {
    HandoverBed t(1, kDefaultOsCode);
    t.handover.openSequence();
    t.handover.adapterLost();
    EXPECT_EQ(t.status(), 1) << "restored while the driver still answers";
    EXPECT_EQ(t.savedWzcStatus, ZeroConfigHandover::kUnknown);
}

}  // namespace
}  // namespace rizorivu
