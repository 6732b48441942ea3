#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "adapter/DriverCode.h"
#include "adapter/PreambleMode.h"
#include "settings/SettingNames.h"

namespace rizorivu {

// One station configuration as a profile stores it. A plain value owned by whoever fills it;
// integer fields read -1 when the stored value is absent.
struct SettingRecord {
    std::string ssid;
    std::int32_t channel = -1;
    std::int32_t networkType = -1;
    std::string desiredRate;  // hex text rate set
    std::int32_t authenticationMode = -1;
    std::int32_t wepStatus = -1;
    std::array<std::string, 4> wepKey;  // hex text keys
    std::int32_t wepDefaultKeyId = -1;
    std::int32_t wepKeyLength = -1;  // bits
    std::int32_t powerSaveMode = -1;
    std::int32_t fragmentationThreshold = -1;
    std::int32_t rtsThreshold = -1;
    // A saved profile carries the station's own preamble; applying a record never uses it.
    std::int32_t preambleMode = toDriver(PreambleMode::Auto);
    std::int32_t dot1xProtocol = -1;
    std::string dot1xPassphrase;
    std::string dot1xUsername;
    std::string dot1xPassword;
    std::string dot1xWpaIes;
    std::string dot1xCertSubject;
    std::string dot1xCertIssuer;

    friend bool operator==(const SettingRecord&, const SettingRecord&) = default;
};

}  // namespace rizorivu
