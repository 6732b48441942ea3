#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/Unicode.h"
#include "settings/ApplicationKey.h"
#include "settings/SettingRecord.h"

namespace rizorivu {

// The named station profiles: keys Profile\<name>, chained through "ProfileLink" values that
// start at the application key. Names match after trimming blanks and upper-casing; a stored
// name keeps the spelling the user typed.
//
// Value reads and writes address the profile most recently reached by first, next or find,
// so callers find a profile before loading or saving it. Results are 0 or -1.
//
// A chain edited by hand into a loop never hangs a walk: every walk ends when it meets a
// profile it has already visited.
class ProfileStore {
public:
    static constexpr std::string_view kLinkValue = "ProfileLink";

    explicit ProfileStore(const ApplicationKey& appKey);

    int first(std::string& name);
    int next(std::string& name);
    int find(std::string_view name);
    int add(std::string_view name);
    int unlink(std::string_view name);

    const std::string& currentName() const { return currentName_; }

    // Single values of the current profile: integers as DWORD (absent reads -1), texts as
    // strings (absent reads empty). An empty text is not written and answers -1.
    std::int32_t readInt(std::string_view valueName);
    std::string readText(std::string_view valueName);
    int writeInt(std::string_view valueName, std::int32_t value);
    int writeText(std::string_view valueName, std::string_view text);

    int loadRecord(SettingRecord& record);
    int saveRecord(const SettingRecord& record);

    // Reads a string value of a key below HKEY_LOCAL_MACHINE into `value`; -1 when the key or
    // the value is absent, is not a string, or does not fit a buffer of `bufferSize`
    // characters with its terminator.
    int readMachineValue(std::string_view subKey, std::string_view valueName, std::string& value,
                         std::size_t bufferSize);

    static std::string profileKey(std::string_view name);

private:
    std::string matchKey(std::string_view name) const;  // trimmed, upper-cased
    std::string identity(std::string_view name) const;  // the registry's own key identity
    std::string linkOf(std::string_view profile) const;
    // A chain edited into a loop can lead to an unlinked profile from further on: every such
    // link is pointed past it to `link`, so that no walk reaches it again.
    void redirectLinksPast(const std::string& removed, const std::string& link);

    const ApplicationKey& appKey_;
    CaseFolder folder_;
    std::string currentName_;
    // Profiles met since the last `first`, by key identity.
    std::unordered_set<std::string> visited_;
};

}  // namespace rizorivu
