// Text lookups on the product's language file and profile walks over a long chain.

#include <benchmark/benchmark.h>

#include <sstream>

#include "settings/LocalizedText.h"
#include "settings/ProfileStore.h"
#include "tests/support/TempDir.h"

namespace rizorivu {
namespace {

void BM_LocalizedTextLookupUtf16(benchmark::State& state) {
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    LocalizedText text{profile};
    if (!text.load(std::filesystem::path(RIZORIVU_PRODUCT_DIR) / "QVMLu.INI", "LANGUAGES")) {
        state.SkipWithError("the product language file is missing");
        return;
    }
    text.select(2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.text("MP_STA_Link_Status", "Link Status:"));
    }
}
BENCHMARK(BM_LocalizedTextLookupUtf16);

void BM_ProfileFindLastOf100(benchmark::State& state) {
    testing::TempDir dir;
    std::ostringstream diagnostics;
    RegistryStore store{HiveLocations::inDirectory(dir.path()), diagnostics};
    ApplicationKey appKey{store, "Halvo", "rizorivu"};
    ProfileStore profiles{appKey};
    for (int i = 0; i < 100; ++i) {
        profiles.add("Profile number " + std::to_string(i));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(profiles.find("profile NUMBER 99"));
    }
}
BENCHMARK(BM_ProfileFindLastOf100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rizorivu
