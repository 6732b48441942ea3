#pragma once

#include <string>

namespace rizorivu {

// What do_eapol_init needs for one EAP exchange. Files are named by full path: they live in
// the user's private folder, never in a working directory.
struct EapolConfig {
    std::string identity;
    // PEAP: the user's password; TLS: the password of the exported private key.
    std::string password;
    std::string caCertificateFile;
    std::string clientCertificateFile;  // TLS only
    std::string privateKeyFile;         // TLS only
    std::string eapType = "EAP";
    std::string method;  // "TLS" or "PEAP"
    int fragmentSize = 1398;
    std::string randomSeedFile;
    std::string innerMethod;    // PEAP: "MS-CHAPv2"
    std::string innerIdentity;  // PEAP: the identity again
};

}  // namespace rizorivu
