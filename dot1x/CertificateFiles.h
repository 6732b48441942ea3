#pragma once

#include <openssl/x509.h>

#include <filesystem>
#include <span>
#include <string_view>

#include "dot1x/StoredCertificate.h"

namespace rizorivu::dot1x {

// The files one EAP exchange reads: the client certificate and its key, the CA certificates
// that vouch for the server, and a random seed. They live in a folder only the user may
// enter (0700), each file 0600, and go when the exchange ends: a private key lies unprotected
// in them.
class CertificateFiles {
public:
    explicit CertificateFiles(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~CertificateFiles() { remove(); }
    CertificateFiles(const CertificateFiles&) = delete;
    CertificateFiles& operator=(const CertificateFiles&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path clientCertificate() const { return folder_ / "client.pem"; }
    std::filesystem::path privateKey() const { return folder_ / "client_key.pem"; }
    std::filesystem::path authorities() const { return folder_ / "caroot.pem"; }
    std::filesystem::path randomSeed() const { return folder_ / ".rand"; }

    // Each answers 0 when written, non-zero otherwise.
    int writeClient(X509* certificate, EVP_PKEY* key);
    int writeAuthorities(std::span<const StoredCertificate> authorities);
    int writeRandomSeed();

    bool exists(const std::filesystem::path& file) const;
    // Removes every file written; the folder stays.
    void remove();

private:
    int writePrivate(const std::filesystem::path& file, std::string_view bytes);

    std::filesystem::path folder_;
};

}  // namespace rizorivu::dot1x
