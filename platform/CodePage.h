#pragma once

#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/Environment.h"

namespace rizorivu {

// The system's ANSI code page: the single- or multi-byte encoding in which SSIDs, WEP key
// texts, MAC address texts and adapter names reach the adapter, and in which single-byte
// language files are written. It is Windows-1252 unless RIZORIVU_ANSI_CODEPAGE names another
// ("CP932", "932", "WINDOWS-1251", any iconv name). Characters the code page cannot hold
// become "?", and bytes it cannot decode become "?", as on Windows.
class CodePage {
public:
    static constexpr const char* kEnvironmentVariable = "RIZORIVU_ANSI_CODEPAGE";
    static constexpr const char* kDefaultName = "WINDOWS-1252";

    // An unknown name falls back to Windows-1252 and says so once on `diagnostics`.
    explicit CodePage(std::string_view name = kDefaultName, std::ostream* diagnostics = nullptr);
    static CodePage fromEnvironment(const Environment& env, std::ostream* diagnostics = nullptr);
    ~CodePage();
    CodePage(CodePage&& other) noexcept;
    CodePage& operator=(CodePage&&) = delete;
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    // UTF-8 text to code-page bytes.
    std::string toAnsi(std::string_view utf8) const;
    // Code-page bytes to UTF-8 text.
    std::string fromAnsi(std::string_view bytes) const;

    const std::string& name() const { return name_; }

private:
    std::string name_;
    void* toAnsi_ = nullptr;    // iconv_t, UTF-8 -> code page
    void* fromAnsi_ = nullptr;  // iconv_t, code page -> UTF-8
    mutable std::mutex mutex_;  // an iconv descriptor keeps shift state, so one caller at a time
};

}  // namespace rizorivu
