// A world file is written by hand and edited while the utility runs. Whatever its bytes, the
// parser must answer a world or an error with a line inside the file, and a world it accepts
// must hold only values the simulator can use.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/CodePage.h"
#include "sim/WorldParser.h"

using namespace rizorivu;
using namespace rizorivu::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CodePage ansi;
    const auto result = parseWorld(bytes, "fuzz.ini", ansi);
    if (!result.ok()) {
        const WorldError* error = &result.error();
        const auto lines = std::count(bytes.begin(), bytes.end(), '\n') +
                           std::count(bytes.begin(), bytes.end(), '\r') + 1;
        if (error->line < 1 || error->line > lines || error->file != "fuzz.ini") {
            std::abort();
        }
        return 0;
    }
    const World& world = result.value();
    for (std::size_t i = 0; i < world.networks.size(); ++i) {
        const WorldNetwork& n = world.networks[i];
        if (n.ssid.empty() || n.ssid.size() > 32 || n.channel < 1 || n.channel > 14 ||
            (n.security == Security::Wep && n.wepKey.size() != 5 && n.wepKey.size() != 13 &&
             n.wepKey.size() != 29)) {
            std::abort();
        }
        for (std::size_t k = 0; k < i; ++k) {
            if (world.networks[k].bssid == n.bssid) {
                std::abort();
            }
        }
    }
    for (const WorldAdapter& a : world.adapters) {
        if (a.classInstance.size() != 4 || a.name.empty()) {
            std::abort();
        }
    }
    return 0;
}
