#include "adapter/ZeroConfigHandover.h"

namespace rizorivu {

namespace {

bool isRestorable(int status) {
    return status == ZeroConfigHandover::kUtilityControls ||
           status == ZeroConfigHandover::kServiceControls;
}

}  // namespace

ZeroConfigHandover::ZeroConfigHandover(AdapterLibrary& library, AdapterRecord& adapter,
                                       int& savedWzcStatus, int qvxOidMode)
    : library_(library),
      adapter_(adapter),
      savedWzcStatus_(savedWzcStatus),
      qvxOidMode_(qvxOidMode) {}

void ZeroConfigHandover::evaluateWzc() {
    const int status = library_.QueryWL_CheckWZCStatus(&adapter_);
    if (status == kUtilityControls) {
        if (wzcState_ == kUtilityControls) {
            return;
        }
        wzcState_ = kUtilityControls;
        library_.SetWL_QVUseQVXOidState(&adapter_, qvxOidMode_);
    } else if (status == kServiceControls || status == kThirdStatus) {
        if (wzcState_ == status) {
            return;
        }
        wzcState_ = status;
        library_.SetWL_QVUseQVXOidState(&adapter_, kPrivateOidsOff);
    }
    // Any other answer is no status at all.
}

bool ZeroConfigHandover::openSequence() {
    savedWzcStatus_ = library_.QueryWL_CheckWZCStatus(&adapter_);
    if (isRestorable(savedWzcStatus_)) {
        library_.SetWL_WZCStatus(&adapter_, kUtilityControls);
    }
    wzcState_ = kUnknown;
    evaluateWzc();
    return wzcState_ == kServiceControls;
}

ZeroConfigHandover::TickAction ZeroConfigHandover::tick() {
    if (wzcState_ == kServiceControls) {
        evaluateWzc();
        switch (wzcState_) {
            case kUtilityControls:
                library_.SetWL_QVUseQVXOidState(&adapter_, qvxOidMode_);
                // The read-back only confirms the switch; a different answer changes nothing.
                library_.QueryWL_QVUseQVXOidState(&adapter_);
                return TickAction::ReplayThenContinue;
            case kServiceControls:
                return TickAction::EndTick;
            default:
                return TickAction::ReplayThenContinue;
        }
    }
    evaluateWzc();
    return wzcState_ == kServiceControls ? TickAction::TookControl : TickAction::Continue;
}

void ZeroConfigHandover::handBack() {
    library_.SetWL_QVUseQVXOidState(&adapter_, kPrivateOidsOff);
    library_.QueryWL_QVUseQVXOidState(&adapter_);
    library_.QVStopWZCService();
    restoreSteps();
}

void ZeroConfigHandover::restoreSteps() {
    if (isRestorable(savedWzcStatus_)) {
        library_.SetWL_WZCStatus(&adapter_, savedWzcStatus_);
    } else if (osNeedsRestoreCheck()) {
        savedWzcStatus_ = kServiceControls;
        library_.SetWL_WZCStatus(&adapter_, kServiceControls);
    }
    if (osNeedsRestoreCheck() && library_.QueryWL_CheckWZCStatus(&adapter_) != savedWzcStatus_) {
        library_.SetWL_WZCStatus(&adapter_, savedWzcStatus_);
    }
}

void ZeroConfigHandover::adapterLost() {
    if (isRestorable(savedWzcStatus_)) {
        library_.SetWL_WZCStatus(&adapter_, savedWzcStatus_);
    }
    savedWzcStatus_ = kUnknown;
}

void ZeroConfigHandover::releasePrivateOids() {
    library_.SetWL_QVUseQVXOidState(&adapter_, kPrivateOidsOff);
}

void ZeroConfigHandover::userTakesOver() {
    if (library_.QueryWL_CheckWZCStatus(&adapter_) == kServiceControls) {
        library_.SetWL_WZCStatus(&adapter_, kUtilityControls);
    }
}

bool ZeroConfigHandover::osNeedsRestoreCheck() {
    return library_.QV_GetOSVersion() == kOsCodeWithRestoreCheck;
}

}  // namespace rizorivu
