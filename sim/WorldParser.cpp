#include "sim/WorldParser.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "adapter/RegionTable.h"
#include "platform/IniDocument.h"
#include "platform/UdpSocket.h"
#include "platform/Unicode.h"
#include "sim/WorldErrorSink.h"
#include "sim/WorldFileLines.h"
#include "sim/WorldSectionReader.h"
#include "sim/WorldValues.h"

namespace rizorivu::sim {

std::string WorldError::text() const {
    return file + ":" + std::to_string(line) + ": " + message;
}

namespace {

constexpr std::size_t kMaxNameBytes = 259;      // an adapter list entry's field less its NUL
constexpr std::size_t kMaxDeviceIdBytes = 511;  // the utility reads it with 512 bytes
constexpr std::size_t kMaxSsidBytes = 32;

// Section names without a suffix are looked up by the whole name, the others by prefix.
std::vector<SectionRule> makeSectionRules() {
    return {
        {SectionKind::Machine,
         "MACHINE",
         false,
         {"OSFAMILY", "OSCODE", "SEED", "ZEROCONFIGSERVICE"}},
        {SectionKind::Adapter,
         "ADAPTER.",
         true,
         {"NAME", "DESCRIPTION", "CLASSINSTANCE", "DEVICEID", "KIND", "PRESENT", "OPENABLE", "USB",
          "DRIVERVERSION", "DRIVERDATE", "MAC", "RATES", "PNPWORKAROUND", "ACCESSPOINT", "REGION",
          "MULTIDOMAIN", "ZEROCONFIG", "MODE"}},
        {SectionKind::Network,
         "NETWORK.",
         true,
         {"SSID", "BSSID", "CHANNEL", "SIGNAL", "TYPE", "SECURITY", "WEPKEY", "WEPAUTH", "CIPHER",
          "GROUPCIPHER", "GROUPREKEY", "PASSPHRASE", "IDENTITY", "PASSWORD", "RADIUS",
          "RADIUSSECRET", "HIDDEN", "RATES", "ALSOWPA"}},
        {SectionKind::Client, "CLIENT.", true, {"MAC", "SSID", "PRESENT", "CHANNEL"}},
    };
}

WorldMachine readMachine(WorldSectionReader& r) {
    WorldMachine machine;
    machine.family =
        r.choice("OsFamily", {"nt", "9x"}, 0) == 0 ? OsFamily::WindowsNt : OsFamily::Windows9x;
    machine.osCode = static_cast<int>(r.integer("OsCode", 0, 255, machine.osCode));
    machine.seed = static_cast<std::uint32_t>(r.integer("Seed", 0, 0xFFFFFFFFll, machine.seed));
    machine.zeroConfigRunning = r.choice("ZeroConfigService", {"running", "stopped"}, 0) == 0;
    return machine;
}

std::uint32_t readDriverVersion(WorldSectionReader& r) {
    int major = 1;
    int minor = 0;
    if (const auto version = r.text("DriverVersion", false)) {
        const std::size_t dot = version->find('.');
        const auto a = parseInteger(std::string_view(*version).substr(0, dot));
        const auto b = dot == std::string::npos
                           ? std::nullopt
                           : parseInteger(std::string_view(*version).substr(dot + 1));
        if (!a || !b || *a < 0 || *a > 255 || *b < 0 || *b > 255) {
            r.fail("DriverVersion", "\"" + *version + "\" is not <major>.<minor> (0-255 each)");
        } else {
            major = static_cast<int>(*a);
            minor = static_cast<int>(*b);
        }
    }
    int year = 2004;
    int month = 7;
    int day = 15;
    if (const auto date = r.text("DriverDate", false)) {
        const std::string_view d(*date);
        const auto y = d.size() == 10 && d[4] == '-' && d[7] == '-' ? parseInteger(d.substr(0, 4))
                                                                    : std::nullopt;
        const auto m = y ? parseInteger(d.substr(5, 2)) : std::nullopt;
        const auto dd = m ? parseInteger(d.substr(8, 2)) : std::nullopt;
        const std::chrono::year_month_day ymd{
            std::chrono::year(static_cast<int>(y.value_or(0))),
            std::chrono::month(static_cast<unsigned>(m.value_or(0))),
            std::chrono::day(static_cast<unsigned>(dd.value_or(0)))};
        if (!dd || !ymd.ok() || *y < 2000 || *y > 2015) {
            r.fail("DriverDate", "\"" + *date + "\" is not a date YYYY-MM-DD of 2000-2015");
        } else {
            year = static_cast<int>(*y);
            month = static_cast<int>(*m);
            day = static_cast<int>(*dd);
        }
    }
    return packDriverVersion(major, minor, year, month, day);
}

WorldAdapter readAdapter(WorldSectionReader& r) {
    WorldAdapter a;
    a.name = r.fittingText("Name", kMaxNameBytes);
    a.description = r.fittingText("Description", kMaxNameBytes);
    a.deviceId = r.fittingText("DeviceId", kMaxDeviceIdBytes);
    if (const auto instance = r.text("ClassInstance", true)) {
        if (instance->size() != 4 || !std::all_of(instance->begin(), instance->end(),
                                                  [](char c) { return c >= '0' && c <= '9'; })) {
            r.fail("ClassInstance", "\"" + *instance + "\" is not four decimal digits");
        }
        a.classInstance = *instance;
    }
    a.mac = r.unicastAddress("Mac", true).value_or(MacAddress{});
    a.kind = r.choice("Kind", {"wireless", "ethernet"}, 0) == 0 ? AdapterKind::Wireless
                                                                : AdapterKind::Ethernet;
    a.present = r.flag("Present", true);
    a.openable = r.flag("Openable", true);
    a.usbType = r.choice("Usb", {"1.1", "2.0"}, 1);
    a.driverVersion = readDriverVersion(r);
    a.rates = r.rates("Rates");
    a.pnpWorkaround = r.flag("PnPWorkaround", false);
    a.accessPointCapable = r.flag("AccessPoint", true);
    a.regionCode = static_cast<int>(r.integer("Region", 1, 254, 0x10));
    if (!regionChannelMask(a.regionCode)) {
        r.fail("Region", std::to_string(a.regionCode) + " is not in the region table");
    }
    a.multiDomain = r.flag("MultiDomain", false) ? 1 : 0;
    a.zeroConfigStatus = static_cast<int>(r.integer("ZeroConfig", 0, 2, 0));
    a.operationMode = r.choice("Mode", {"station", "ap"}, 0);
    if (a.operationMode == 1 && !a.accessPointCapable) {
        r.fail("Mode", "ap needs AccessPoint=1");
    }
    return a;
}

bool printableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// A group cipher may be as strong as the pairwise one, never stronger; an ad-hoc cell has
// one key for everything, so only its own cipher.
void readGroupCipher(WorldSectionReader& r, WorldNetwork& n) {
    if (!r.has("GroupCipher")) {
        return;
    }
    if (n.type == BssType::AdHoc) {
        r.forbid("GroupCipher", "an ad-hoc cell uses one cipher");
        return;
    }
    const int choice = r.choice("GroupCipher", {"wep40", "wep104", "tkip", "aes"}, 3);
    if (choice == 3 && n.cipher != Cipher::Aes) {
        r.fail("GroupCipher", "aes needs Cipher=aes");
        return;
    }
    constexpr GroupCipher kChoices[] = {GroupCipher::Wep40, GroupCipher::Wep104, GroupCipher::Tkip,
                                        GroupCipher::SameAsPairwise};
    n.groupCipher = kChoices[choice];
    if (n.groupCipher == GroupCipher::Tkip && n.cipher == Cipher::Tkip) {
        n.groupCipher = GroupCipher::SameAsPairwise;
    }
}

// `Radius` is host:port with an IPv4 address (or localhost), `RadiusSecret` the shared secret.
void readRadius(WorldSectionReader& r, WorldNetwork& n) {
    if (const auto address = r.text("Radius", false)) {
        const std::size_t colon = address->rfind(':');
        const std::string host = colon == std::string::npos ? *address : address->substr(0, colon);
        int port = 0;
        const std::string digits = colon == std::string::npos ? "" : address->substr(colon + 1);
        const bool numeric =
            !digits.empty() && digits.size() <= 5 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (numeric) {
            port = std::stoi(digits);
        }
        if (!numeric || port < 1 || port > 65535 || !UdpSocket::resolve(host, 1)) {
            r.fail("Radius",
                   "needs an IPv4 address (or localhost) and a port 1-65535, as host:port");
        } else {
            n.radiusHost = host;
            n.radiusPort = static_cast<std::uint16_t>(port);
        }
    }
    if (const auto secret = r.text("RadiusSecret", false)) {
        if (secret->empty() || secret->size() > 128) {
            r.fail("RadiusSecret", "must be 1-128 characters");
        } else {
            n.radiusSecret = *secret;
        }
    }
}

WorldNetwork readNetwork(WorldSectionReader& r) {
    WorldNetwork n;
    n.ssid = r.ansiText("SSID", true, 1, kMaxSsidBytes).value_or("");
    n.bssid = r.unicastAddress("BSSID", true).value_or(MacAddress{});
    if (!r.has("Channel")) {
        r.fail("Channel", "missing");
    }
    n.channel = static_cast<int>(r.integer("Channel", 1, 14, 1));
    n.signalDbm = static_cast<int>(r.integer("Signal", -100, -10, -60));
    n.type =
        r.choice("Type", {"infra", "adhoc"}, 0) == 0 ? BssType::Infrastructure : BssType::AdHoc;
    // WPA2 networks share everything with WPA's but the element and descriptor they speak.
    constexpr Security kSecurities[] = {Security::Open,   Security::Wep,    Security::WpaPsk,
                                        Security::WpaEap, Security::WpaPsk, Security::WpaEap};
    const int security =
        r.choice("Security", {"open", "wep", "wpa-psk", "wpa-eap", "wpa2-psk", "wpa2-eap"}, 0);
    n.security = kSecurities[security];
    const bool wpa2 = security >= 4;
    if (wpa2) {
        n.wpaVersions = r.flag("AlsoWpa", false) ? WpaVersions::Both : WpaVersions::Wpa2;
        if (n.type == BssType::AdHoc) {
            r.fail("Type", "an ad-hoc cell cannot run WPA2");
        }
    } else {
        r.forbid("AlsoWpa", "applies only to Security=wpa2-psk or wpa2-eap");
    }
    n.hidden = r.flag("Hidden", false);
    n.rates = r.rates("Rates");

    const bool wep = n.security == Security::Wep;
    const bool wpa = n.security == Security::WpaPsk || n.security == Security::WpaEap;
    if (wep) {
        if (const auto key = r.hexBytes("WepKey", true)) {
            if (key->size() != 5 && key->size() != 13 && key->size() != 29) {
                r.fail("WepKey", "needs 5, 13 or 29 bytes (64-, 128- or 256-bit key)");
            }
            n.wepKey = *key;
        }
        n.wepAuthentication =
            static_cast<WepAuthentication>(r.choice("WepAuth", {"both", "open", "shared"}, 0));
    } else {
        r.forbid("WepKey", "applies only to Security=wep");
        r.forbid("WepAuth", "applies only to Security=wep");
    }
    if (wpa) {
        if (!r.has("Cipher")) {
            r.fail("Cipher", "missing");
        }
        n.cipher = r.choice("Cipher", {"tkip", "aes"}, 0) == 0 ? Cipher::Tkip : Cipher::Aes;
        readGroupCipher(r, n);
    } else {
        r.forbid("Cipher", "applies only to WPA networks");
        r.forbid("GroupCipher", "applies only to WPA networks");
    }
    if (n.security == Security::WpaPsk && n.type == BssType::Infrastructure) {
        n.groupRekeySeconds = static_cast<int>(r.integer("GroupRekey", 0, 86400, 0));
    } else {
        r.forbid("GroupRekey", "applies only to a wpa-psk or wpa2-psk access point");
    }
    if (n.security == Security::WpaPsk) {
        if (const auto passphrase = r.text("Passphrase", true)) {
            if (passphrase->size() < 8 || passphrase->size() > 63 || !printableAscii(*passphrase)) {
                r.fail("Passphrase", "must be 8-63 printable ASCII characters");
            }
            n.passphrase = *passphrase;
        }
    } else {
        r.forbid("Passphrase", "applies only to Security=wpa-psk or wpa2-psk");
    }
    if (n.security == Security::WpaEap) {
        // The RADIUS server holds the accounts now; older files that name one still load.
        r.text("Identity", false);
        r.text("Password", false);
        readRadius(r, n);
        if (n.type == BssType::AdHoc) {
            r.fail("Type", "an ad-hoc cell cannot run 802.1X");
        }
    } else {
        r.forbid("Identity", "applies only to Security=wpa-eap or wpa2-eap");
        r.forbid("Password", "applies only to Security=wpa-eap or wpa2-eap");
        r.forbid("Radius", "applies only to Security=wpa-eap or wpa2-eap");
        r.forbid("RadiusSecret", "applies only to Security=wpa-eap or wpa2-eap");
    }
    return n;
}

WorldClient readClient(WorldSectionReader& r) {
    WorldClient c;
    c.mac = r.unicastAddress("Mac", true).value_or(MacAddress{});
    c.ssid = r.ansiText("SSID", false, 0, kMaxSsidBytes).value_or("");
    c.present = r.flag("Present", true);
    c.channel = static_cast<int>(r.integer("Channel", 0, 14, 0));
    return c;
}

// Items that must be unique across sections: the first section that holds the value.
template <typename Value>
class UniqueValues {
public:
    // False when `value` was seen before.
    bool add(const Value& value, const std::string& section) {
        for (const auto& [seen, owner] : seen_) {
            if (seen == value) {
                firstOwner_ = owner;
                return false;
            }
        }
        seen_.emplace_back(value, section);
        return true;
    }
    const std::string& firstOwner() const { return firstOwner_; }

private:
    std::vector<std::pair<Value, std::string>> seen_;
    std::string firstOwner_;
};

}  // namespace

Result<World, WorldError> parseWorld(std::string_view bytes, std::string_view fileLabel,
                                     const CodePage& ansi) {
    const CaseFolder folder;
    const std::vector<SectionRule> rules = makeSectionRules();
    WorldErrorSink failure(fileLabel);
    const std::vector<SectionLines> sections = scanWorldLines(bytes, ansi, rules, folder, failure);
    if (failure.failed()) {
        return Result<World, WorldError>::failure(failure.error());
    }
    const IniDocument doc = IniDocument::parse(bytes, ansi, folder);

    World world;
    UniqueValues<std::string> adapterNames;
    UniqueValues<std::string> classInstances;
    UniqueValues<MacAddress> adapterMacs;
    UniqueValues<MacAddress> bssids;
    UniqueValues<MacAddress> clientMacs;
    for (const SectionLines& section : sections) {
        WorldSectionReader r(section, doc, folder, ansi, failure);
        const std::string owner = "[" + section.name + "]";
        switch (section.rule->kind) {
            case SectionKind::Machine:
                world.machine = readMachine(r);
                break;
            case SectionKind::Adapter: {
                WorldAdapter adapter = readAdapter(r);
                if (!adapterNames.add(folder.upper(adapter.name), owner)) {
                    r.fail("Name", "already names " + adapterNames.firstOwner());
                }
                if (!classInstances.add(adapter.classInstance, owner)) {
                    r.fail("ClassInstance", "already used by " + classInstances.firstOwner());
                }
                if (!adapterMacs.add(adapter.mac, owner)) {
                    r.fail("Mac", "already used by " + adapterMacs.firstOwner());
                }
                world.adapters.push_back(std::move(adapter));
                break;
            }
            case SectionKind::Network: {
                WorldNetwork network = readNetwork(r);
                if (!bssids.add(network.bssid, owner)) {
                    r.fail("BSSID", "duplicate: already used by " + bssids.firstOwner());
                }
                world.networks.push_back(std::move(network));
                break;
            }
            case SectionKind::Client: {
                WorldClient client = readClient(r);
                if (!clientMacs.add(client.mac, owner)) {
                    r.fail("Mac", "already used by " + clientMacs.firstOwner());
                }
                world.clients.push_back(std::move(client));
                break;
            }
        }
        if (failure.failed()) {
            return Result<World, WorldError>::failure(failure.error());
        }
    }
    return world;
}

}  // namespace rizorivu::sim
