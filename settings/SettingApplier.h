#pragma once

#include <cstdint>
#include <span>

#include "adapter/AdapterLibrary.h"
#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "platform/Clock.h"
#include "settings/LastSettings.h"
#include "settings/SettingRecord.h"
#include "settings/WpaConnection.h"

namespace rizorivu {

// Every change of the adapter's configuration goes through one operation a setting: it calls
// the adapter's setter and, only when the adapter accepted the value, records it in the last
// settings of the current operating mode, so that the registry always says what the adapter
// was last told. Operations answer 0, or -1 when the adapter refused (the recording write's
// own failure is not reported).
class SettingApplier {
public:
    static constexpr std::size_t kMacFilterEntries = 16;
    static constexpr std::size_t kMacFilterEntryBytes = 7;

    SettingApplier(AdapterLibrary& library, AdapterRecord& adapter, const LastSettings& last,
                   Clock& clock, WpaConnection& wpa);

    int applySsid(const std::uint8_t* bytes, int length);
    int applyHideSsid(int value);
    int applyChannel(int value);
    int applyNetworkType(int value);
    int applyBasicRate(int value);
    int applyDesiredRate(std::span<const std::uint8_t, adapterbuf::kRateBytes> rates);
    int applyWepStatus(int value);
    int applyAuthenticationMode(int value);
    int applyWepKey(int index, int lengthCode, int isTransmitKey, const std::uint8_t* keyBytes);
    int applyPowerSaveMode(int value);
    int applyFragmentationThreshold(int value);
    int applyRtsThreshold(int value);
    int applyPreambleMode(int value);
    int applyTxPowerLevel(int value);
    int applyMacFilterMode(int value);
    int applyMacFilterList(std::span<const std::uint8_t, adapterbuf::kFilterListBytes> list);
    int applyMultiDomainCapability(int value);
    int applyOperationRegion(int value);
    int setSupportChannels(const std::uint8_t* channels, int count);

    // Re-opens the adapter, sets the region and the channel list of its table entry; -1,
    // changing nothing, when the adapter cannot be re-opened or the code is not in the table.
    int applyRegionChannels(int regionCode);
    // Applies a station profile; the record's SSID is trimmed and an impossible key length
    // becomes 64 in the record. Ends by starting WPA when the record asks for it.
    int applyRecord(SettingRecord& record);
    // Re-installs the four stored keys of the current key length; -1 as `transmitKeyId`
    // means the stored transmit key.
    void reapplyWepKeys(int enableWep, int transmitKeyId);

    // Sets 32 pseudo-random bytes as the SSID, so the adapter leaves its network.
    void applyInterimSsid();
    // Sets a text SSID: at most 32 characters, in the ANSI code page.
    int applySsidText(std::string_view ssid);

    // Key sizes by length code: 0 -> 5 bytes, 1 -> 13, 2 -> 29; others are taken as 5.
    static int keyBytesOfLengthCode(int lengthCode);
    // 64, 128 or 256 by length code, with the same fallback.
    static int bitsOfLengthCode(int lengthCode);
    // Length code and bits of a stored key length: 128 -> 1, 256 -> 2, anything else -> 0
    // with 64 bits.
    static int lengthCodeOfBits(int bits);

private:
    int record(int result, std::string_view name, int value);
    int record(int result, std::string_view name, std::string_view text);

    AdapterLibrary& library_;
    AdapterRecord& adapter_;
    const LastSettings& last_;
    Clock& clock_;
    WpaConnection& wpa_;
};

// Whether an authentication mode is one of the WPA modes (WPA, WPA-PSK, WPA-None, WPA2,
// WPA2-PSK): those that start the WPA connection.
constexpr bool isWpaAuthentication(int mode) {
    return isWpa(fromDriver<AuthenticationMode>(mode));
}

}  // namespace rizorivu
