// Cost of reading the language file: every menu, dialog and balloon text is one profile lookup
// in a UTF-16 file of a few hundred keys, and each lookup checks whether the file changed.
// Also the worst input the reader accepts: a file of the size limit dense with short keys,
// parsed alone and looked up right after it was written. Peak memory of those shows in
// `/usr/bin/time -v rizorivu_bench --benchmark_filter=Dense`.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/CodePage.h"
#include "platform/IniDocument.h"
#include "platform/PrivateProfile.h"
#include "platform/Unicode.h"

namespace {

using rizorivu::CaseFolder;
using rizorivu::CodePage;
using rizorivu::IniDocument;
using rizorivu::PrivateProfile;

// A UTF-16LE language file in a fresh temporary folder: three sections of about 134 keys.
class LanguageFile {
public:
    LanguageFile() {
        char pattern[] = "/tmp/rizorivu-bench-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) {
            dir_ = pattern;
        }
        path_ = dir_ / "language.ini";
        std::string text;
        for (const char* section : {"English", "Deutsch", "Numbers"}) {
            text += std::string("[") + section + "]\r\n";
            for (int i = 0; i < 134; ++i) {
                const std::string n = std::to_string(i);
                text += "IDS_STRING_" + n + " = ";
                text += section[0] == 'N' ? n : "\"Übernehmen der Einstellung Nr. " + n + "\"";
                text += "\r\n";
            }
        }
        const std::u16string units = rizorivu::utf8ToUtf16(text);
        bytes_ = "\xFF\xFE";
        for (const char16_t u : units) {
            bytes_ += static_cast<char>(u & 0xFF);
            bytes_ += static_cast<char>(u >> 8);
        }
        std::ofstream(path_, std::ios::binary)
            .write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
        // Shortly after a change the reader parses the file on every lookup, because the
        // timestamps could not yet show a further change; measure the settled state.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ~LanguageFile() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    LanguageFile(const LanguageFile&) = delete;
    LanguageFile& operator=(const LanguageFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const std::string& bytes() const { return bytes_; }

private:
    std::filesystem::path dir_;
    std::filesystem::path path_;
    std::string bytes_;
};

void BM_PrivateProfileGetStringUtf16(benchmark::State& state) {
    const LanguageFile file;
    const CodePage ansi;
    PrivateProfile profile(ansi);
    for (auto _ : state) {
        std::string value = profile.getString(file.path(), "Deutsch", "IDS_STRING_77", "", 1024);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_PrivateProfileGetStringUtf16);

void BM_PrivateProfileGetInt(benchmark::State& state) {
    const LanguageFile file;
    const CodePage ansi;
    PrivateProfile profile(ansi);
    for (auto _ : state) {
        int value = profile.getInt(file.path(), "Numbers", "IDS_STRING_77", -1);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_PrivateProfileGetInt);

void BM_IniDocumentParse(benchmark::State& state) {
    const LanguageFile file;
    const CodePage ansi;
    const CaseFolder folder;
    for (auto _ : state) {
        IniDocument doc = IniDocument::parse(file.bytes(), ansi, folder);
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.bytes().size()));
}
BENCHMARK(BM_IniDocumentParse);

// Keys of a few characters with short values, up to the reader's size limit.
std::string denseKeys() {
    std::string text = "[s]\n";
    for (int i = 0;; ++i) {
        std::string line = std::to_string(i) + "=" + std::to_string(i % 97) + "\n";
        if (text.size() + line.size() > IniDocument::kMaxBytes) {
            return text;
        }
        text += line;
    }
}

// Bytes the allocator hands out now; glibc's statistics, zero under a sanitizer.
double allocatedBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

void BM_IniDocumentParseDenseKeys(benchmark::State& state) {
    const std::string bytes = denseKeys();
    const CodePage ansi;
    const CaseFolder folder;
    double held = 0;
    for (auto _ : state) {
        const double before = allocatedBytes();
        IniDocument doc = IniDocument::parse(bytes, ansi, folder);
        held = allocatedBytes() - before;
        benchmark::DoNotOptimize(doc);
    }
    state.counters["held_per_input_byte"] = held / static_cast<double>(bytes.size());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_IniDocumentParseDenseKeys)->Unit(benchmark::kMillisecond)->Iterations(3);

// Two lookups in a freshly written copy: its timestamps cannot yet vouch for it, so the
// second lookup reads it again.
void BM_PrivateProfileDenseKeysFreshlyWritten(benchmark::State& state) {
    const std::string bytes = denseKeys();
    char pattern[] = "/tmp/rizorivu-bench-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern) != nullptr ? pattern : "/tmp";
    const std::filesystem::path path = dir / "dense.ini";
    const CodePage ansi;
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        PrivateProfile profile(ansi);
        state.ResumeTiming();
        benchmark::DoNotOptimize(profile.getInt(path, "s", "12345", -1));
        benchmark::DoNotOptimize(profile.getInt(path, "s", "54321", -1));
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(BM_PrivateProfileDenseKeysFreshlyWritten)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
