#include "settings/ProfileStore.h"

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
    const std::string upper = folder_.upper(name);
    std::string out;
    std::size_t pos = 0;
    while (pos <= upper.size()) {
        std::size_t end = upper.find('\\', pos);
        if (end == std::string::npos) {
            end = upper.size();
        }
        if (end > pos) {
            if (!out.empty()) {
                out += '\\';
            }
            out.append(upper, pos, end - pos);
        }
        pos = end + 1;
    }
    return out;
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
    record.channel = readInt("Channel");
    record.ssid = readText("SSID");
    record.networkType = readInt("NetworkType");
    record.desiredRate = readText("DesiredRate");
    record.authenticationMode = readInt("AuthenticationMode");
    record.wepStatus = readInt("WEPStatus");
    record.wepDefaultKeyId = readInt("WEPDefaultKeyId");
    record.wepKeyLength = readInt("WEPKeyLength");
    for (int i = 0; i < 4; ++i) {
        record.wepKey[i] = readText(wepKeyValueName(record.wepKeyLength, i));
    }
    record.powerSaveMode = readInt("PowerSaveMode");
    record.fragmentationThreshold = readInt("FragmentationThreshold");
    record.rtsThreshold = readInt("RTSThreshold");
    record.preambleMode = readInt("PreambleMode");
    record.dot1xProtocol = readInt("Dot1xProtocol");
    record.dot1xPassphrase = readText("Dot1xPassphrase");
    record.dot1xUsername = readText("Dot1xUsername");
    record.dot1xPassword = readText("Dot1xPassword");
    record.dot1xWpaIes = readText("Dot1xWPAIEs");
    record.dot1xCertSubject = readText("Dot1xCertSubject");
    record.dot1xCertIssuer = readText("Dot1xCertIssuer");
    return 0;
}

int ProfileStore::saveRecord(const SettingRecord& record) {
    writeInt("Channel", record.channel);
    writeText("SSID", record.ssid);
    writeInt("NetworkType", record.networkType);
    writeText("DesiredRate", record.desiredRate);
    writeInt("AuthenticationMode", record.authenticationMode);
    writeInt("WEPStatus", record.wepStatus);
    writeInt("WEPDefaultKeyId", record.wepDefaultKeyId);
    writeInt("WEPKeyLength", record.wepKeyLength);
    for (int i = 0; i < 4; ++i) {
        writeText(wepKeyValueName(record.wepKeyLength, i), record.wepKey[i]);
    }
    writeInt("PowerSaveMode", record.powerSaveMode);
    writeInt("FragmentationThreshold", record.fragmentationThreshold);
    writeInt("RTSThreshold", record.rtsThreshold);
    writeInt("PreambleMode", record.preambleMode);
    writeInt("Dot1xProtocol", record.dot1xProtocol);
    writeText("Dot1xPassphrase", record.dot1xPassphrase);
    writeText("Dot1xUsername", record.dot1xUsername);
    writeText("Dot1xPassword", record.dot1xPassword);
    writeText("Dot1xWPAIEs", record.dot1xWpaIes);
    writeText("Dot1xCertSubject", record.dot1xCertSubject);
    writeText("Dot1xCertIssuer", record.dot1xCertIssuer);
    return 0;
}

int ProfileStore::readMachineValue(std::string_view subKey, std::string_view valueName,
                                   std::string& value, std::size_t bufferSize) {
    return rizorivu::readMachineValue(appKey_.store(), subKey, valueName, value, bufferSize);
}

}  // namespace rizorivu
