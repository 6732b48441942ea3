#include "platform/RegistryStore.h"

#include <utility>

#include "platform/HiveFile.h"
#include "platform/HiveReporter.h"

namespace rizorivu {

namespace fs = std::filesystem;

RegistryStore::RegistryStore(const HiveLocations& locations, std::ostream& diagnostics)
    : reporter_(std::make_unique<HiveReporter>(diagnostics)),
      currentUser_(
          std::make_unique<HiveFile>("HKEY_CURRENT_USER", locations.currentUser, *reporter_)),
      localMachine_(
          std::make_unique<HiveFile>("HKEY_LOCAL_MACHINE", locations.localMachine, *reporter_)) {}

RegistryStore::~RegistryStore() = default;

HiveFile& RegistryStore::hiveFile(Hive hive) {
    return hive == Hive::CurrentUser ? *currentUser_ : *localMachine_;
}

bool RegistryStore::createKey(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).createKey(keyPath);
}

bool RegistryStore::keyExists(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).keyExists(keyPath);
}

bool RegistryStore::deleteKey(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).deleteKey(keyPath);
}

std::optional<RegistryValue> RegistryStore::readValue(Hive hive, std::string_view keyPath,
                                                      std::string_view valueName) {
    return hiveFile(hive).readValue(keyPath, valueName);
}

std::optional<std::string> RegistryStore::readString(Hive hive, std::string_view keyPath,
                                                     std::string_view valueName) {
    auto value = hiveFile(hive).readValue(keyPath, valueName);
    if (!value || value->type != RegistryValue::Type::String) {
        return std::nullopt;
    }
    return std::move(value->text);
}

std::optional<std::uint32_t> RegistryStore::readDword(Hive hive, std::string_view keyPath,
                                                      std::string_view valueName) {
    const auto value = hiveFile(hive).readValue(keyPath, valueName);
    if (!value || value->type != RegistryValue::Type::Dword) {
        return std::nullopt;
    }
    return value->dword;
}

bool RegistryStore::writeString(Hive hive, std::string_view keyPath, std::string_view valueName,
                                std::string_view text) {
    RegistryValue value;
    value.type = RegistryValue::Type::String;
    value.text = text;
    return hiveFile(hive).writeValue(keyPath, valueName, value);
}

bool RegistryStore::writeDword(Hive hive, std::string_view keyPath, std::string_view valueName,
                               std::uint32_t value) {
    RegistryValue stored;
    stored.type = RegistryValue::Type::Dword;
    stored.dword = value;
    return hiveFile(hive).writeValue(keyPath, valueName, stored);
}

bool RegistryStore::deleteValue(Hive hive, std::string_view keyPath, std::string_view valueName) {
    return hiveFile(hive).deleteValue(keyPath, valueName);
}

std::vector<std::string> RegistryStore::subKeyNames(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).subKeyNames(keyPath);
}

std::vector<std::string> RegistryStore::valueNames(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).valueNames(keyPath);
}

fs::path RegistryStore::hivePath(Hive hive) const {
    return (hive == Hive::CurrentUser ? currentUser_ : localMachine_)->path();
}

std::vector<std::string> RegistryStore::damagedCopies() const {
    std::vector<std::string> copies;
    for (const HiveFile* hive : {currentUser_.get(), localMachine_.get()}) {
        if (!hive->movedAside().empty()) {
            copies.push_back(hive->movedAside());
        }
    }
    return copies;
}

}  // namespace rizorivu
