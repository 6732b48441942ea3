#include "sim/SimulatedAdapterFactory.h"

#include "platform/CodePage.h"
#include "sim/SimulatedAdapterLibrary.h"
#include "sim/WorldSource.h"

namespace rizorivu {

std::variant<std::unique_ptr<AdapterLibrary>, std::string> makeSimulatedAdapterLibrary(
    const Environment& environment, Clock& clock, RegistryStore& registry,
    std::ostream& diagnostics) {
    CodePage ansi = CodePage::fromEnvironment(environment, &diagnostics);
    const std::optional<std::string> file = environment.get(sim::WorldSource::kEnvironmentVariable);
    sim::WorldSource::Loaded loaded =
        file && !file->empty() ? sim::WorldSource::fromFile(*file, std::move(ansi), clock.nowMs())
                               : sim::WorldSource::builtIn(std::move(ansi));
    if (auto* error = std::get_if<std::string>(&loaded)) {
        return std::move(*error);
    }
    return std::make_unique<sim::SimulatedAdapterLibrary>(
        std::move(std::get<std::unique_ptr<sim::WorldSource>>(loaded)), clock, registry,
        diagnostics);
}

}  // namespace rizorivu
