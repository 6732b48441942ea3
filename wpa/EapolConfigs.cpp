#include "wpa/EapolConfigs.h"

namespace rizorivu::wpa {

namespace {

std::string bounded(std::string_view text, std::size_t maxBytes) {
    return std::string(text.substr(0, maxBytes));
}

std::string fileIn(const std::filesystem::path& folder, std::string_view name) {
    return (folder / name).string();
}

EapolConfig commonConfig(std::string_view identity, const std::filesystem::path& folder) {
    EapolConfig config;
    config.identity = bounded(identity, eapolfield::kIdentityBytes);
    config.caCertificateFile = fileIn(folder, EapolFiles::kCaCertificate);
    config.randomSeedFile = fileIn(folder, EapolFiles::kRandomSeed);
    config.eapType = "EAP";
    config.fragmentSize = 1398;
    return config;
}

}  // namespace

EapolConfig tlsEapolConfig(std::string_view identity, const std::filesystem::path& folder) {
    EapolConfig config = commonConfig(identity, folder);
    config.password = std::string(EapolFiles::kPrivateKeyPassword);
    config.clientCertificateFile = fileIn(folder, EapolFiles::kClientCertificate);
    config.privateKeyFile = fileIn(folder, EapolFiles::kPrivateKey);
    config.method = "TLS";
    return config;
}

EapolConfig peapEapolConfig(std::string_view identity, std::string_view password,
                            const std::filesystem::path& folder) {
    EapolConfig config = commonConfig(identity, folder);
    config.password = bounded(password, eapolfield::kPasswordBytes);
    config.method = "PEAP";
    config.innerMethod = "MS-CHAPv2";
    config.innerIdentity = bounded(identity, eapolfield::kInnerIdentityBytes);
    return config;
}

}  // namespace rizorivu::wpa
