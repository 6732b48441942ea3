#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "dot1x/OpenSslHandles.h"

namespace rizorivu::dot1x {

// What one file of a certificate folder holds.
struct CertificateFileContents {
    std::vector<X509Ptr> certificates;
    std::vector<KeyPtr> keys;
    bool protectedKey = false;     // a key that cannot be read without a password
    bool protectedBundle = false;  // a PKCS#12 file whose certificates need a password too
};

// Reads PEM (any number of certificates and keys), DER (one certificate or key) and PKCS#12
// files. The bytes are untrusted: a file over the size bound or that holds nothing readable
// answers nothing, and reading stops after a bounded number of objects.
class CertificateFileReader {
public:
    static constexpr std::size_t kMaxFileBytes = 1 << 20;
    static constexpr std::size_t kMaxObjects = 1000;

    static std::optional<CertificateFileContents> read(const std::filesystem::path& path);
    static std::optional<CertificateFileContents> parse(std::string_view bytes);
};

}  // namespace rizorivu::dot1x
