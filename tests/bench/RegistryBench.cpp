// Cost of the registry operations the tray performs most: reading settings on every refresh
// and saving one value after a change.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>

#include "platform/RegistryStore.h"

namespace {

using rizorivu::Hive;
using rizorivu::HiveLocations;
using rizorivu::RegistryStore;

constexpr const char* kKey = "Software\\Rizorivu\\Settings\\Profiles\\Office";

// A store in a fresh temporary folder holding a few dozen values, like a real hive.
class BenchHive {
public:
    BenchHive() {
        char pattern[] = "/tmp/rizorivu-bench-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) {
            dir_ = pattern;
        }
        store_.emplace(HiveLocations::inDirectory(dir_), diagnostics_);
        for (int i = 0; i < 40; ++i) {
            store_->writeString(Hive::CurrentUser, kKey, "Name" + std::to_string(i),
                                "value number " + std::to_string(i));
            store_->writeDword(Hive::CurrentUser, kKey, "Number" + std::to_string(i),
                               static_cast<std::uint32_t>(i));
        }
    }
    ~BenchHive() {
        store_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    BenchHive(const BenchHive&) = delete;
    BenchHive& operator=(const BenchHive&) = delete;

    RegistryStore& store() { return *store_; }
    HiveLocations locations() const { return HiveLocations::inDirectory(dir_); }

private:
    std::filesystem::path dir_;
    std::ostringstream diagnostics_;
    std::optional<RegistryStore> store_;
};

void BM_RegistryReadString(benchmark::State& state) {
    BenchHive hive;
    for (auto _ : state) {
        auto value = hive.store().readString(Hive::CurrentUser, kKey, "name17");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_RegistryReadString);

void BM_RegistryReadDword(benchmark::State& state) {
    BenchHive hive;
    for (auto _ : state) {
        auto value = hive.store().readDword(Hive::CurrentUser, kKey, "NUMBER17");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_RegistryReadDword);

void BM_RegistryReadMissing(benchmark::State& state) {
    BenchHive hive;
    for (auto _ : state) {
        auto value = hive.store().readString(Hive::CurrentUser, kKey, "NoSuchValue");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_RegistryReadMissing);

// Each write is a durable transaction: dominated by the log's fsync on the disk at hand.
void BM_RegistryWriteString(benchmark::State& state) {
    BenchHive hive;
    std::uint32_t n = 0;
    for (auto _ : state) {
        const bool ok = hive.store().writeString(Hive::CurrentUser, kKey, "LastWritten",
                                                 "value " + std::to_string(n++));
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_RegistryWriteString);

// Opening both hives, with the integrity check that every start runs on them.
void BM_RegistryOpen(benchmark::State& state) {
    BenchHive hive;
    std::ostringstream diagnostics;
    for (auto _ : state) {
        RegistryStore store(hive.locations(), diagnostics);
        benchmark::DoNotOptimize(&store);
    }
}
BENCHMARK(BM_RegistryOpen);

}  // namespace
