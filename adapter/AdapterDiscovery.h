#pragma once

#include <string>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "platform/Unicode.h"

namespace rizorivu {

// Finds the machine's adapters that the configuration supports and can be opened, lists
// them by description and opens the chosen one into the adapter record.
//
// The adapter table holds ten adapters; a further matching adapter is not listed (the list
// offers only what the table can hold) until one of the first ten goes away.
class AdapterDiscovery {
public:
    static constexpr std::size_t kTableSize = 10;
    static constexpr int kListCapacity = 100;
    static constexpr int kDeferTicks = 20;
    static constexpr std::size_t kMachineValueBuffer = 512;

    enum DeferState { kNone = 0, kDeferring = 1, kDeferralDone = 2 };
    enum class TickResult { Deferring, NoAdapter, Reopened };

    AdapterDiscovery(AdapterLibrary& library, AdapterRecord& adapter, RegistryStore& registry,
                     const CodePage& ansi, Clock& clock,
                     std::vector<std::string> configuredDeviceIds);

    // One discovery pass; opens the first listed adapter. True when an adapter was opened.
    bool discoverAdapters();
    // Opens the adapter of the selected row; true when it opened.
    bool openSelectedAdapter();
    // The status tick while no adapter is open: the card-bus deferral, then a pass.
    TickResult tickWhileClosed();

    // The main window's view of the list.
    const std::vector<std::string>& rows() const { return rows_; }
    int selectedRow() const { return selectedRow_; }
    void selectRow(int row) { selectedRow_ = row; }
    const std::vector<AdapterListEntry>& table() const { return table_; }

    bool adapterOpen() const { return adapterOpen_; }
    // The adapter was lost: nothing is open until discovery finds one again.
    void markClosed() { adapterOpen_ = false; }
    const std::string& adapterClassKey() const { return adapterClassKey_; }
    int deferState() const { return deferState_; }
    int deferTicks() const { return deferTicks_; }

    // The registry path of an adapter's instance key below HKEY_LOCAL_MACHINE.
    static std::string classKeyPath(bool windows9x, std::string_view classInstance);

private:
    AdapterLibrary& library_;
    AdapterRecord& adapter_;
    RegistryStore& registry_;
    const CodePage& ansi_;
    Clock& clock_;
    CaseFolder folder_;
    std::vector<std::string> configuredIds_;  // upper-cased

    std::vector<AdapterListEntry> table_;
    std::vector<std::string> rows_;
    int selectedRow_ = -1;
    bool adapterOpen_ = false;
    std::string adapterClassKey_;
    int deferState_ = kNone;
    int deferTicks_ = 0;
};

}  // namespace rizorivu
