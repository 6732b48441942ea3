#pragma once

#include "adapter/AdapterLibrary.h"
#include "adapter/AdapterRecord.h"
#include "adapter/DriverCode.h"
#include "adapter/ZeroConfigStatus.h"

namespace rizorivu {

// The hand-over with the operating system's own wireless configuration service (Wireless Zero
// Configuration). It remembers the status the utility last acted on and gives the adapter back
// in the state found at open. It never touches windows: the main window acts on its answers.
class ZeroConfigHandover {
public:
    // Answers of QueryWL_CheckWZCStatus; status 1 means the service controls the adapter.
    static constexpr int kUnknown = -1;
    static constexpr int kUtilityControls = toDriver(ZeroConfigStatus::UtilityControls);
    static constexpr int kServiceControls = toDriver(ZeroConfigStatus::ServiceControls);
    static constexpr int kThirdStatus = toDriver(ZeroConfigStatus::Third);
    // The OS code that gets the extra restore steps.
    static constexpr int kOsCodeWithRestoreCheck = 7;
    // The private-OID switch value that hands the private OIDs back.
    static constexpr int kPrivateOidsOff = 0;

    // What the main window does after the Zero Configuration step of its status tick.
    enum class TickAction {
        Continue,            // go on with the display refresh
        EndTick,             // the service still controls the adapter: nothing else this tick
        ReplayThenContinue,  // replay the last settings, then the display refresh
        TookControl,         // icon 4, close the dialogs and hide, handBack(), end the tick
    };

    // `savedWzcStatus` is the process-wide status found at open; `qvxOidMode` the configured
    // private-OID mode used whenever the utility controls the adapter.
    ZeroConfigHandover(AdapterLibrary& library, AdapterRecord& adapter, int& savedWzcStatus,
                       int qvxOidMode);

    int state() const { return wzcState_; }
    int savedStatus() const { return savedWzcStatus_; }

    // Acts on a changed status: the private-OID switch follows who controls the adapter.
    void evaluateWzc();
    // At adapter open: records the status found, takes the adapter from the service unless it
    // reported the third status, and evaluates. True when the service still controls it (the
    // main window then shows icon 4 and replays nothing).
    bool openSequence();
    // The Zero Configuration step of a status tick while an adapter is open and present.
    TickAction tick();
    // After the main window has closed its dialogs for a take-over: hands the adapter back.
    void handBack();
    // Gives the adapter back in the status found at open (by the take-over and by "Exit").
    void restoreSteps();
    // The adapter went away: restores what can be restored and forgets the status found.
    void adapterLost();
    // First step of "Exit", before the dialogs are closed.
    void releasePrivateOids();
    // The user chose the utility over the service.
    void userTakesOver();

private:
    bool osNeedsRestoreCheck();

    AdapterLibrary& library_;
    AdapterRecord& adapter_;
    int& savedWzcStatus_;
    const int qvxOidMode_;
    int wzcState_ = kUnknown;
};

}  // namespace rizorivu
