#pragma once

#include "adapter/AdapterLibrary.h"
#include "settings/LastSettings.h"
#include "settings/SettingApplier.h"
#include "settings/SettingRecord.h"
#include "settings/WpaConnection.h"

namespace rizorivu {

// The adapter keeps no configuration of its own, so whenever it is opened, taken back or
// switched to the other mode, the last settings of the current mode are replayed into it.
// Every stored value is validated and replaced by its default when absent or out of range;
// what the adapter accepts is written back, so defaults become stored values.
class LastSettingsReplay {
public:
    LastSettingsReplay(AdapterLibrary& library, AdapterRecord& adapter, const LastSettings& last,
                       SettingApplier& applier, WpaConnection& wpa);

    // Brings the adapter into the state recorded for the current operating mode; always 0.
    int replayLastSettings();
    // Copies the current mode's last settings into a station record (how a profile is
    // saved); leaves desiredRate and preambleMode alone; always 0.
    int fillRecordFromLastSettings(SettingRecord& record);

private:
    // The stored integer, or `fallback` when absent or outside [low, high].
    int storedOr(std::string_view name, int low, int high, int fallback) const;

    AdapterLibrary& library_;
    AdapterRecord& adapter_;
    const LastSettings& last_;
    SettingApplier& applier_;
    WpaConnection& wpa_;
};

}  // namespace rizorivu
