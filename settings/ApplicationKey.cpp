#include "settings/ApplicationKey.h"

namespace rizorivu {

ApplicationKey::ApplicationKey(RegistryStore& store, std::string_view company,
                               std::string_view application)
    : store_(store) {
    path_ = "Software\\";
    path_ += company;
    path_ += '\\';
    path_ += application;
}

std::string ApplicationKey::pathOf(std::string_view subKey) const {
    if (subKey.empty()) {
        return path_;
    }
    std::string full = path_;
    full += '\\';
    full += subKey;
    return full;
}

void ApplicationKey::openWithCreation(std::string_view subKey) const {
    const std::string full = pathOf(subKey);
    if (!store_.keyExists(Hive::CurrentUser, full)) {
        store_.createKey(Hive::CurrentUser, full);
    }
}

std::optional<std::string> ApplicationKey::readString(std::string_view subKey,
                                                      std::string_view name) const {
    openWithCreation(subKey);
    return store_.readString(Hive::CurrentUser, pathOf(subKey), name);
}

std::optional<std::int32_t> ApplicationKey::readDword(std::string_view subKey,
                                                      std::string_view name) const {
    openWithCreation(subKey);
    if (auto value = store_.readDword(Hive::CurrentUser, pathOf(subKey), name)) {
        return static_cast<std::int32_t>(*value);
    }
    return std::nullopt;
}

bool ApplicationKey::writeString(std::string_view subKey, std::string_view name,
                                 std::string_view text) const {
    return store_.writeString(Hive::CurrentUser, pathOf(subKey), name, text);
}

bool ApplicationKey::writeDword(std::string_view subKey, std::string_view name,
                                std::int32_t value) const {
    return store_.writeDword(Hive::CurrentUser, pathOf(subKey), name,
                             static_cast<std::uint32_t>(value));
}

bool ApplicationKey::deleteValue(std::string_view subKey, std::string_view name) const {
    openWithCreation(subKey);
    return store_.deleteValue(Hive::CurrentUser, pathOf(subKey), name);
}

}  // namespace rizorivu
