#pragma once

#include <filesystem>
#include <string_view>

#include "adapter/EapolConfig.h"

namespace rizorivu::wpa {

// The texts of an EAP exchange are bounded by the fields the library's record has always
// given them, the terminating zero included.
namespace eapolfield {
constexpr std::size_t kIdentityBytes = 255;
constexpr std::size_t kPasswordBytes = 254;
constexpr std::size_t kInnerIdentityBytes = 255;
}  // namespace eapolfield

// The exchange's files, by full path in `folder`, the user's private folder in which the
// certificate operations leave them.
struct EapolFiles {
    static constexpr std::string_view kCaCertificate = "caroot.pem";
    static constexpr std::string_view kClientCertificate = "client.pem";
    static constexpr std::string_view kPrivateKey = "client_key.pem";
    static constexpr std::string_view kRandomSeed = ".rand";
    // The password under which the certificate export protects the private key.
    static constexpr std::string_view kPrivateKeyPassword = "Vodid";
};

// EAP-TLS with the exported client certificate and its key.
EapolConfig tlsEapolConfig(std::string_view identity, const std::filesystem::path& folder);
// PEAP with MS-CHAPv2 inside, the identity given twice.
EapolConfig peapEapolConfig(std::string_view identity, std::string_view password,
                            const std::filesystem::path& folder);

}  // namespace rizorivu::wpa
