#include "sim/SimulatedAdapterFactory.h"

#include "platform/CodePage.h"
#include "sim/SimulatedAdapterLibrary.h"
#include "sim/WorldSource.h"

namespace rizorivu {

Result<std::unique_ptr<AdapterLibrary>> makeSimulatedAdapterLibrary(const Environment& environment,
                                                                    Clock& clock,
                                                                    RegistryStore& registry,
                                                                    std::ostream& diagnostics) {
    CodePage ansi = CodePage::fromEnvironment(environment, &diagnostics);
    const std::optional<std::string> file = environment.get(sim::WorldSource::kEnvironmentVariable);
    sim::WorldSource::Loaded loaded =
        file && !file->empty() ? sim::WorldSource::fromFile(*file, std::move(ansi), clock.nowMs())
                               : sim::WorldSource::builtIn(std::move(ansi));
    if (!loaded.ok()) {
        return Result<std::unique_ptr<AdapterLibrary>>::failure(loaded.error());
    }
    return std::make_unique<sim::SimulatedAdapterLibrary>(std::move(loaded).value(), clock,
                                                          registry, diagnostics);
}

}  // namespace rizorivu
