#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "dot1x/OpenSslHandles.h"

namespace rizorivu::testing {

// Makes keys and certificates with OpenSSL and writes them as the user would find them.
class CertificateForge {
public:
    struct Names {
        Names(std::string cn, std::string mail = {}, std::string dnsName = {}, std::string upn = {})
            : commonName(std::move(cn)),
              email(std::move(mail)),
              dns(std::move(dnsName)),
              principal(std::move(upn)) {}

        std::string commonName;
        std::string email;  // subject alternative names; empty: none
        std::string dns;
        std::string principal;
    };

    static dot1x::KeyPtr makeKey();
    // Signed by `issuer` with `issuerKey`, or self-signed when `issuer` is null.
    static dot1x::X509Ptr makeCertificate(const Names& names, EVP_PKEY* key, bool authority,
                                          X509* issuer = nullptr, EVP_PKEY* issuerKey = nullptr);

    static std::string pem(X509* certificate);
    static std::string pem(EVP_PKEY* key, std::string_view password = {});
    static std::string der(X509* certificate);
    static std::string pkcs12(X509* certificate, EVP_PKEY* key, const char* password,
                              bool shroudCertificates = true);

    static void write(const std::filesystem::path& path, std::string_view bytes);
};

}  // namespace rizorivu::testing
