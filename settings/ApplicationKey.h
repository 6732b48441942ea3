#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RegistryStore.h"

namespace rizorivu {

// The per-user key under which every value of the utility lives:
// HKEY_CURRENT_USER\Software\<company>\<application>, the application being the executable's
// name without its extension. Sub-key paths given here are relative to it.
class ApplicationKey {
public:
    ApplicationKey(RegistryStore& store, std::string_view company, std::string_view application);

    const std::string& path() const { return path_; }
    // The full path of a sub-key ("" is the application key itself).
    std::string pathOf(std::string_view subKey) const;
    RegistryStore& store() const { return store_; }

    // Opens a sub-key with creation, as every value access does: a missing key is created
    // empty. Cheap when the key exists.
    void openWithCreation(std::string_view subKey) const;

    std::optional<std::string> readString(std::string_view subKey, std::string_view name) const;
    std::optional<std::int32_t> readDword(std::string_view subKey, std::string_view name) const;
    bool writeString(std::string_view subKey, std::string_view name, std::string_view text) const;
    bool writeDword(std::string_view subKey, std::string_view name, std::int32_t value) const;
    bool deleteValue(std::string_view subKey, std::string_view name) const;

private:
    RegistryStore& store_;
    std::string path_;
};

}  // namespace rizorivu
