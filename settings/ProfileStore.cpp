#include "settings/ProfileStore.h"

#include "platform/KeyLevels.h"
#include "platform/MachineValue.h"

namespace rizorivu {

namespace {

constexpr std::string_view kProfilePrefix = "Profile\\";

}  // namespace

ProfileStore::ProfileStore(const ApplicationKey& appKey) : appKey_(appKey) {}

std::string ProfileStore::profileKey(std::string_view name) {
    std::string key(kProfilePrefix);
    key += name;
    return key;
}

std::string ProfileStore::matchKey(std::string_view name) const {
    return identity(trimBlanks(name));
}

// The registry folds a key path's case and drops its empty components, so "Home\" and "Home"
// name one key: profiles compare the same way, or one key would be listed twice.
std::string ProfileStore::identity(std::string_view name) const {
    return KeyLevels::fold(folder_, name);
}

std::string ProfileStore::linkOf(std::string_view profile) const {
    return appKey_.readString(profileKey(profile), kLinkValue).value_or(std::string());
}

int ProfileStore::first(std::string& name) {
    visited_.clear();
    currentName_ = appKey_.readString("", kLinkValue).value_or(std::string());
    name = currentName_;
    if (currentName_.empty()) {
        return -1;
    }
    visited_.insert(identity(currentName_));
    return 0;
}

int ProfileStore::next(std::string& name) {
    std::string link = linkOf(currentName_);
    if (!link.empty() && !visited_.insert(identity(link)).second) {
        link.clear();  // the chain leads back to a profile already met: it ends here
    }
    currentName_ = link;
    name = currentName_;
    return currentName_.empty() ? -1 : 0;
}

int ProfileStore::find(std::string_view name) {
    const std::string wanted = matchKey(name);
    std::string entry;
    if (first(entry) != 0) {
        return -1;
    }
    do {
        if (matchKey(entry) == wanted) {
            return 0;
        }
    } while (next(entry) == 0);
    return -1;
}

int ProfileStore::add(std::string_view name) {
    if (name.empty() || find(name) == 0) {
        return -1;
    }
    std::string entry;
    if (first(entry) != 0) {
        appKey_.writeString("", kLinkValue, name);
    } else {
        std::string last = entry;
        while (next(entry) == 0) {
            last = entry;
        }
        appKey_.writeString(profileKey(last), kLinkValue, name);
    }
    appKey_.deleteValue(profileKey(name), kLinkValue);
    return 0;
}

int ProfileStore::unlink(std::string_view name) {
    const std::string wanted = matchKey(name);
    std::string entry = appKey_.readString("", kLinkValue).value_or(std::string());
    std::string previous;
    std::unordered_set<std::string> seen;
    while (!entry.empty() && seen.insert(identity(entry)).second) {
        const std::string link = linkOf(entry);
        if (matchKey(entry) == wanted) {
            if (previous.empty()) {
                appKey_.writeString("", kLinkValue, link);
            } else {
                appKey_.writeString(profileKey(previous), kLinkValue, link);
            }
            redirectLinksPast(identity(entry), link);
            return 0;
        }
        previous = entry;
        entry = link;
    }
    return -1;
}

void ProfileStore::redirectLinksPast(const std::string& removed, const std::string& link) {
    std::unordered_set<std::string> seen{removed};
    std::string entry = appKey_.readString("", kLinkValue).value_or(std::string());
    while (!entry.empty() && seen.insert(identity(entry)).second) {
        std::string next = linkOf(entry);
        if (!next.empty() && identity(next) == removed) {
            const std::string target = identity(link);
            next = (target == removed || target == identity(entry)) ? std::string() : link;
            appKey_.writeString(profileKey(entry), kLinkValue, next);
        }
        entry = next;
    }
}

std::int32_t ProfileStore::readInt(std::string_view valueName) {
    return appKey_.readDword(profileKey(currentName_), valueName).value_or(-1);
}

std::string ProfileStore::readText(std::string_view valueName) {
    return appKey_.readString(profileKey(currentName_), valueName).value_or(std::string());
}

int ProfileStore::writeInt(std::string_view valueName, std::int32_t value) {
    return appKey_.writeDword(profileKey(currentName_), valueName, value) ? 0 : -1;
}

int ProfileStore::writeText(std::string_view valueName, std::string_view text) {
    if (text.empty()) {
        return -1;
    }
    return appKey_.writeString(profileKey(currentName_), valueName, text) ? 0 : -1;
}

int ProfileStore::loadRecord(SettingRecord& record) {
    record.channel = readInt(settingname::kChannel);
    record.ssid = readText(settingname::kSsid);
    record.networkType = readInt(settingname::kNetworkType);
    record.desiredRate = readText(settingname::kDesiredRate);
    record.authenticationMode = readInt(settingname::kAuthenticationMode);
    record.wepStatus = readInt(settingname::kWepStatus);
    record.wepDefaultKeyId = readInt(settingname::kWepDefaultKeyId);
    record.wepKeyLength = readInt(settingname::kWepKeyLength);
    for (int i = 0; i < 4; ++i) {
        record.wepKey[i] = readText(wepKeyValueName(record.wepKeyLength, i));
    }
    record.powerSaveMode = readInt(settingname::kPowerSaveMode);
    record.fragmentationThreshold = readInt(settingname::kFragmentationThreshold);
    record.rtsThreshold = readInt(settingname::kRtsThreshold);
    record.preambleMode = readInt(settingname::kPreambleMode);
    record.dot1xProtocol = readInt(settingname::kDot1xProtocol);
    record.dot1xPassphrase = readText(settingname::kDot1xPassphrase);
    record.dot1xUsername = readText(settingname::kDot1xUsername);
    record.dot1xPassword = readText(settingname::kDot1xPassword);
    record.dot1xWpaIes = readText(settingname::kDot1xWpaIes);
    record.dot1xCertSubject = readText(settingname::kDot1xCertSubject);
    record.dot1xCertIssuer = readText(settingname::kDot1xCertIssuer);
    return 0;
}

int ProfileStore::saveRecord(const SettingRecord& record) {
    writeInt(settingname::kChannel, record.channel);
    writeText(settingname::kSsid, record.ssid);
    writeInt(settingname::kNetworkType, record.networkType);
    writeText(settingname::kDesiredRate, record.desiredRate);
    writeInt(settingname::kAuthenticationMode, record.authenticationMode);
    writeInt(settingname::kWepStatus, record.wepStatus);
    writeInt(settingname::kWepDefaultKeyId, record.wepDefaultKeyId);
    writeInt(settingname::kWepKeyLength, record.wepKeyLength);
    for (int i = 0; i < 4; ++i) {
        writeText(wepKeyValueName(record.wepKeyLength, i), record.wepKey[i]);
    }
    writeInt(settingname::kPowerSaveMode, record.powerSaveMode);
    writeInt(settingname::kFragmentationThreshold, record.fragmentationThreshold);
    writeInt(settingname::kRtsThreshold, record.rtsThreshold);
    writeInt(settingname::kPreambleMode, record.preambleMode);
    writeInt(settingname::kDot1xProtocol, record.dot1xProtocol);
    writeText(settingname::kDot1xPassphrase, record.dot1xPassphrase);
    writeText(settingname::kDot1xUsername, record.dot1xUsername);
    writeText(settingname::kDot1xPassword, record.dot1xPassword);
    writeText(settingname::kDot1xWpaIes, record.dot1xWpaIes);
    writeText(settingname::kDot1xCertSubject, record.dot1xCertSubject);
    writeText(settingname::kDot1xCertIssuer, record.dot1xCertIssuer);
    return 0;
}

int ProfileStore::readMachineValue(std::string_view subKey, std::string_view valueName,
                                   std::string& value, std::size_t bufferSize) {
    return rizorivu::readMachineValue(appKey_.store(), subKey, valueName, value, bufferSize);
}

}  // namespace rizorivu
