#pragma once

#include <iosfwd>
#include <memory>

#include "adapter/AdapterLibrary.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/RegistryStore.h"
#include "platform/Result.h"

namespace rizorivu {

// The adapter library the utility runs on by default: the simulated adapter in the world
// that RIZORIVU_WORLD names (an INI file; see sim/WORLD.md), or in the built-in world when
// the variable is unset or empty. World texts are converted with the ANSI code page the
// environment chooses. Fails, with a text naming the file and line, when the world file
// cannot be read or is malformed.
Result<std::unique_ptr<AdapterLibrary>> makeSimulatedAdapterLibrary(const Environment& environment,
                                                                    Clock& clock,
                                                                    RegistryStore& registry,
                                                                    std::ostream& diagnostics);

}  // namespace rizorivu
