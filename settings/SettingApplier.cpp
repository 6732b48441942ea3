#include "settings/SettingApplier.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "adapter/RegionTable.h"
#include "adapter/WepKeyLength.h"
#include "adapter/WepStatus.h"
#include "platform/Unicode.h"
#include "settings/HexText.h"
#include "settings/InterimSsid.h"

namespace rizorivu {

namespace {

// The adapter takes at most 32 SSID bytes.
constexpr std::size_t kSsidChars = 32;
// The recorded SSID text is cut to this many characters.
constexpr std::size_t kRecordedSsidChars = 65;
// Texts are converted into code-page buffers of 100 bytes, terminator included.
constexpr std::size_t kAnsiBufferBytes = 99;

std::string ansiOf(const CodePage& ansi, std::string_view text) {
    std::string bytes = ansi.toAnsi(text);
    if (bytes.size() > kAnsiBufferBytes) {
        bytes.resize(kAnsiBufferBytes);
    }
    return bytes;
}

}  // namespace

SettingApplier::SettingApplier(AdapterLibrary& library, AdapterRecord& adapter,
                               const LastSettings& last, Clock& clock, WpaConnection& wpa)
    : library_(library), adapter_(adapter), last_(last), clock_(clock), wpa_(wpa) {}

int SettingApplier::record(int result, std::string_view name, int value) {
    return record(result, name, std::to_string(value));
}

int SettingApplier::record(int result, std::string_view name, std::string_view text) {
    if (result != 0) {
        return -1;
    }
    last_.writeLastSetting(last_.currentMode(), name, text);
    return 0;
}

int SettingApplier::keyBytesOfLengthCode(int lengthCode) {
    switch (fromDriver<WepKeyLength>(lengthCode)) {
        case WepKeyLength::Bits128:
            return 13;
        case WepKeyLength::Bits256:
            return 29;
        default:
            return 5;
    }
}

int SettingApplier::bitsOfLengthCode(int lengthCode) {
    return keyBytesOfLengthCode(lengthCode) * 8 + 24;
}

int SettingApplier::lengthCodeOfBits(int bits) {
    const WepKeyLength length = bits == 128   ? WepKeyLength::Bits128
                                : bits == 256 ? WepKeyLength::Bits256
                                              : WepKeyLength::Bits64;
    return toDriver(length);
}

int SettingApplier::applySsid(const std::uint8_t* bytes, int length) {
    const int result = library_.SetWL_SSID(&adapter_, bytes, length);
    if (result != 0) {
        return -1;
    }
    // The bytes are recorded as the C string they form: up to the length or the first NUL.
    std::string raw;
    if (bytes != nullptr && length > 0) {
        const auto* end = bytes + length;
        raw.assign(bytes, std::find(bytes, end, std::uint8_t{0}));
    }
    const std::string text = last_.codePage().fromAnsi(raw);
    return record(0, settingname::kSsid, utf8Prefix(text, kRecordedSsidChars));
}

int SettingApplier::applySsidText(std::string_view ssid) {
    // At most 32 characters, and no more than the adapter's 32 bytes once converted: a
    // double-byte code page must not have its text cut in the middle of a character.
    std::size_t chars = std::min(utf8Length(ssid), kSsidChars);
    std::string bytes = ansiOf(last_.codePage(), utf8Prefix(ssid, chars));
    while (bytes.size() > kSsidChars && chars > 0) {
        bytes = ansiOf(last_.codePage(), utf8Prefix(ssid, --chars));
    }
    return applySsid(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                     static_cast<int>(bytes.size()));
}

void SettingApplier::applyInterimSsid() {
    const auto bytes = interimSsid(clock_.wallSeconds());
    applySsid(bytes.data(), static_cast<int>(bytes.size()));
}

int SettingApplier::applyHideSsid(int value) {
    return record(library_.SetWLAP_HideSSIDState(&adapter_, value), settingname::kHideSsid, value);
}

int SettingApplier::applyChannel(int value) {
    return record(library_.SetWL_Channel(&adapter_, value), settingname::kChannel, value);
}

int SettingApplier::applyNetworkType(int value) {
    return record(library_.SetWL_NetworkType(&adapter_, value), settingname::kNetworkType, value);
}

int SettingApplier::applyBasicRate(int value) {
    return record(library_.SetWL_BasicRate(&adapter_, value), settingname::kBasicRate, value);
}

int SettingApplier::applyDesiredRate(std::span<const std::uint8_t, adapterbuf::kRateBytes> rates) {
    return record(library_.SetWL_DesiredRate(&adapter_, rates), settingname::kDesiredRate,
                  BytesToHexText(rates));
}

int SettingApplier::applyWepStatus(int value) {
    return record(library_.SetWL_WEPStatus(&adapter_, value), settingname::kWepStatus, value);
}

int SettingApplier::applyAuthenticationMode(int value) {
    return record(library_.SetWL_AuthenticationMode(&adapter_, value),
                  settingname::kAuthenticationMode, value);
}

int SettingApplier::applyWepKey(int index, int lengthCode, int isTransmitKey,
                                const std::uint8_t* keyBytes) {
    if (library_.SetWL_WriteKey(&adapter_, index, lengthCode, isTransmitKey, keyBytes) != 0) {
        return -1;
    }
    const int bytes = keyBytesOfLengthCode(lengthCode);
    const int bits = bitsOfLengthCode(lengthCode);
    const int mode = last_.currentMode();
    std::string text;
    if (keyBytes != nullptr) {
        text = BytesToHexText(std::span(keyBytes, static_cast<std::size_t>(bytes)));
    }
    last_.writeLastSetting(mode, wepKeyValueName(bits, index), text);
    last_.writeLastSetting(mode, settingname::kWepKeyLength, std::to_string(bits));
    if (isTransmitKey != 0) {
        last_.writeLastSetting(mode, settingname::kWepDefaultKeyId, std::to_string(index));
    }
    return 0;
}

int SettingApplier::applyPowerSaveMode(int value) {
    return record(library_.SetWL_PSMode(&adapter_, value), settingname::kPowerSaveMode, value);
}

int SettingApplier::applyFragmentationThreshold(int value) {
    return record(library_.SetWL_FragmentationThreshold(&adapter_, value),
                  settingname::kFragmentationThreshold, value);
}

int SettingApplier::applyRtsThreshold(int value) {
    return record(library_.SetWL_RTS_CTS_Threshold(&adapter_, value), settingname::kRtsThreshold,
                  value);
}

int SettingApplier::applyPreambleMode(int value) {
    return record(library_.SetWL_PreambleMode(&adapter_, value), settingname::kPreambleMode, value);
}

int SettingApplier::applyTxPowerLevel(int value) {
    return record(library_.SetWLAP_TxPowerLevel(&adapter_, value), settingname::kTxPowerLevel,
                  value);
}

int SettingApplier::applyMacFilterMode(int value) {
    return record(library_.SetWLAP_FilterMode(&adapter_, value), settingname::kMacFilterMode,
                  value);
}

int SettingApplier::applyMacFilterList(
    std::span<const std::uint8_t, adapterbuf::kFilterListBytes> list) {
    if (library_.SetWLAP_FilterList(&adapter_, list.data(), static_cast<int>(list.size())) != 0) {
        return -1;
    }
    const int mode = last_.currentMode();
    for (std::size_t n = 0; n < kMacFilterEntries; ++n) {
        // Each entry is an in-use byte followed by the six address bytes.
        const auto address = list.subspan(n * kMacFilterEntryBytes + 1, 6);
        last_.writeLastSetting(mode, settingname::macFilterAddress(n), BytesToHexText(address));
    }
    return 0;
}

int SettingApplier::applyMultiDomainCapability(int value) {
    return record(library_.SetWL_MultiDomainCapability(&adapter_, value),
                  settingname::kMultiDomainCapability, value);
}

int SettingApplier::applyOperationRegion(int value) {
    return record(library_.SetWL_OperationRegionCode(&adapter_, value),
                  settingname::kOperationRegion, value);
}

int SettingApplier::setSupportChannels(const std::uint8_t* channels, int count) {
    return library_.SetWL_SupportChannel(&adapter_, channels, count) == 0 ? 0 : -1;
}

int SettingApplier::applyRegionChannels(int regionCode) {
    if (library_.QvOpenAdapter(&adapter_) == 0) {
        return -1;
    }
    const auto mask = regionChannelMask(regionCode);
    if (!mask) {
        return -1;
    }
    const std::vector<std::uint8_t> channels = channelsOfMask(*mask);
    applyOperationRegion(regionCode);
    setSupportChannels(channels.empty() ? nullptr : channels.data(),
                       static_cast<int>(channels.size()));
    return 0;
}

int SettingApplier::applyRecord(SettingRecord& record) {
    applyPowerSaveMode(record.powerSaveMode);
    applyFragmentationThreshold(record.fragmentationThreshold);
    applyRtsThreshold(record.rtsThreshold);
    applyAuthenticationMode(record.authenticationMode);

    const int code = lengthCodeOfBits(record.wepKeyLength);
    if (code == toDriver(WepKeyLength::Bits64)) {
        record.wepKeyLength = 64;
    }
    const std::size_t keyBytes = static_cast<std::size_t>(record.wepKeyLength / 8 - 3);
    for (int index = 0; index < 4; ++index) {
        std::array<std::uint8_t, LastSettings::kDefaultWepKeyBytes> bytes{};
        HexTextToBytes(ansiOf(last_.codePage(), record.wepKey[static_cast<std::size_t>(index)]),
                       std::span(bytes).first(keyBytes));
        applyWepKey(index, code, index == record.wepDefaultKeyId ? 1 : 0, bytes.data());
    }

    applyWepStatus(record.wepStatus);
    applyChannel(record.channel);
    applyNetworkType(record.networkType);
    applyInterimSsid();
    record.ssid = std::string(trimBlanks(record.ssid));
    applySsidText(record.ssid);

    const int mode = last_.currentMode();
    last_.writeLastSetting(mode, settingname::kDot1xProtocol, std::to_string(record.dot1xProtocol));
    last_.writeLastSetting(mode, settingname::kDot1xPassphrase, record.dot1xPassphrase);
    last_.writeLastSetting(mode, settingname::kDot1xUsername, record.dot1xUsername);
    last_.writeLastSetting(mode, settingname::kDot1xPassword, record.dot1xPassword);
    last_.writeLastSetting(mode, settingname::kDot1xWpaIes, record.dot1xWpaIes);
    last_.writeLastSetting(mode, settingname::kDot1xCertSubject, record.dot1xCertSubject);
    last_.writeLastSetting(mode, settingname::kDot1xCertIssuer, record.dot1xCertIssuer);

    if (isWpaAuthentication(record.authenticationMode)) {
        wpa_.startWpaConnection();
    }
    return 0;
}

void SettingApplier::reapplyWepKeys(int enableWep, int transmitKeyId) {
    const int mode = last_.currentMode();
    if (transmitKeyId == -1) {
        transmitKeyId =
            decimalTextToInt(last_.lastSettingText(mode, settingname::kWepDefaultKeyId));
        if (transmitKeyId == -1) {
            transmitKeyId = 0;
        }
    }
    const int code =
        lengthCodeOfBits(decimalTextToInt(last_.lastSettingText(mode, settingname::kWepKeyLength)));
    const int bits = bitsOfLengthCode(code);
    for (int index = 0; index < 4; ++index) {
        std::array<std::uint8_t, LastSettings::kDefaultWepKeyBytes> bytes{};
        last_.readWepKeyBytes(bits, index, bytes);
        applyWepKey(index, code, index == transmitKeyId ? 1 : 0, bytes.data());
    }
    applyWepStatus(toDriver(enableWep != 0 ? WepStatus::WepEnabled : WepStatus::Disabled));
}

}  // namespace rizorivu
