#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/CodePage.h"
#include "platform/FileIdentity.h"
#include "platform/IniDocument.h"
#include "platform/Unicode.h"

namespace rizorivu {

// The private-profile reader: GetPrivateProfileString and GetPrivateProfileInt on INI files.
//
// Every lookup sees the file as it is now (an edited file is seen at the next lookup), but a
// file whose identity (device, inode, size, modification and change time) is unchanged is not
// parsed again, unless it changed so recently that a further change could still leave the
// identity as it is (timestamps advance in clock ticks); then its bytes are read again and
// compared by their hash. A missing or unreadable file behaves as an empty one.
// One file has at most one document: the old one is let go before a new one is parsed, and
// lookups that need the same file parsed wait for one another.
// Thread-safe.
class PrivateProfile {
public:
    explicit PrivateProfile(const CodePage& ansi);

    // The value of `key` in `section`, or `defaultValue` when absent; the result is cut to
    // bufferSize - 1 characters (a buffer of 0 gives the empty text).
    std::string getString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view defaultValue,
                          std::size_t bufferSize);

    // The decimal number the value starts with, after blanks and an optional sign (0 when no
    // digit follows); `defaultValue` when the key is absent or its value is empty.
    int getInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
               int defaultValue);

private:
    struct CachedFile {
        std::mutex loading;  // held while the file is read and parsed
        // The fields below are guarded by the profile's mutex.
        std::optional<FileIdentity> identity;  // nothing: no file
        std::size_t bytesHash = 0;
        std::shared_ptr<const IniDocument> document;
        // Read long enough after its last change that a later change must show in the
        // identity; until then every lookup reads the file again.
        bool settled = false;
    };
    std::shared_ptr<const IniDocument> document(const std::filesystem::path& file);
    void load(CachedFile& cached, const std::filesystem::path& file,
              const std::optional<FileIdentity>& seen);

    const CodePage& ansi_;
    CaseFolder folder_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::shared_ptr<CachedFile>> cache_;
};

}  // namespace rizorivu
