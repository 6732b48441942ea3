#include "dot1x/CertificateFileReader.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>

#include <cstring>
#include <fstream>
#include <string>

namespace rizorivu::dot1x {

namespace {

using Contents = CertificateFileContents;

BioPtr memoryOf(std::string_view bytes) {
    return BioPtr(BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size())));
}

void readPem(std::string_view bytes, Contents& contents) {
    BioPtr bio = memoryOf(bytes);
    for (std::size_t objects = 0; bio && objects < CertificateFileReader::kMaxObjects; ++objects) {
        char* name = nullptr;
        char* header = nullptr;
        unsigned char* data = nullptr;
        long length = 0;
        if (PEM_read_bio(bio.get(), &name, &header, &data, &length) != 1) {
            break;
        }
        const std::string_view type(name);
        const unsigned char* cursor = data;
        if (type == "CERTIFICATE" || type == "X509 CERTIFICATE") {
            if (X509* x = d2i_X509(nullptr, &cursor, length)) {
                contents.certificates.emplace_back(x);
            }
        } else if (type == "TRUSTED CERTIFICATE") {
            if (X509* x = d2i_X509_AUX(nullptr, &cursor, length)) {
                contents.certificates.emplace_back(x);
            }
        } else if (type == "ENCRYPTED PRIVATE KEY" ||
                   (type.ends_with("PRIVATE KEY") && std::strstr(header, "ENCRYPTED") != nullptr)) {
            contents.protectedKey = true;
        } else if (type.ends_with("PRIVATE KEY")) {
            if (EVP_PKEY* k = d2i_AutoPrivateKey(nullptr, &cursor, length)) {
                contents.keys.emplace_back(k);
            }
        }
        OPENSSL_free(name);
        OPENSSL_free(header);
        OPENSSL_free(data);
    }
}

// A protected PKCS#12 file may still keep its certificates in plain bags (only the key
// shrouded): those are read so that the list can name the certificate.
void readProtectedPkcs12(PKCS12* p12, Contents& contents) {
    contents.protectedKey = true;
    STACK_OF(PKCS7)* safes = PKCS12_unpack_authsafes(p12);
    for (int i = 0; i < sk_PKCS7_num(safes); ++i) {
        PKCS7* safe = sk_PKCS7_value(safes, i);
        if (OBJ_obj2nid(safe->type) != NID_pkcs7_data) {
            continue;
        }
        STACK_OF(PKCS12_SAFEBAG)* bags = PKCS12_unpack_p7data(safe);
        for (int j = 0; j < sk_PKCS12_SAFEBAG_num(bags); ++j) {
            const PKCS12_SAFEBAG* bag = sk_PKCS12_SAFEBAG_value(bags, j);
            if (PKCS12_SAFEBAG_get_nid(bag) == NID_certBag &&
                PKCS12_SAFEBAG_get_bag_nid(bag) == NID_x509Certificate) {
                if (X509* x = PKCS12_SAFEBAG_get1_cert(bag)) {
                    contents.certificates.emplace_back(x);
                }
            }
        }
        sk_PKCS12_SAFEBAG_pop_free(bags, PKCS12_SAFEBAG_free);
    }
    sk_PKCS7_pop_free(safes, PKCS7_free);
    contents.protectedBundle = contents.certificates.empty();
}

bool readPkcs12(std::string_view bytes, Contents& contents) {
    BioPtr bio = memoryOf(bytes);
    PKCS12* p12 = bio ? d2i_PKCS12_bio(bio.get(), nullptr) : nullptr;
    if (p12 == nullptr) {
        return false;
    }
    EVP_PKEY* key = nullptr;
    X509* certificate = nullptr;
    STACK_OF(X509)* chain = nullptr;
    // PKCS12_parse tries both the absent and the empty password.
    if (PKCS12_parse(p12, "", &key, &certificate, &chain) == 1) {
        if (certificate != nullptr) {
            contents.certificates.emplace_back(certificate);
        }
        if (key != nullptr) {
            contents.keys.emplace_back(key);
        }
        while (sk_X509_num(chain) > 0) {
            contents.certificates.emplace_back(sk_X509_shift(chain));
        }
        sk_X509_free(chain);
    } else {
        readProtectedPkcs12(p12, contents);
    }
    PKCS12_free(p12);
    return true;
}

void readDer(std::string_view bytes, Contents& contents) {
    const auto* start = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto length = static_cast<long>(bytes.size());
    const unsigned char* cursor = start;
    if (X509* x = d2i_X509(nullptr, &cursor, length)) {
        contents.certificates.emplace_back(x);
        return;
    }
    if (readPkcs12(bytes, contents)) {
        return;
    }
    cursor = start;
    if (EVP_PKEY* k = d2i_AutoPrivateKey(nullptr, &cursor, length)) {
        contents.keys.emplace_back(k);
    }
}

}  // namespace

std::optional<CertificateFileContents> CertificateFileReader::parse(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > kMaxFileBytes) {
        return std::nullopt;
    }
    Contents contents;
    if (bytes.find("-----BEGIN ") != std::string_view::npos) {
        readPem(bytes, contents);
    } else {
        readDer(bytes, contents);
    }
    // Failed parses leave errors on this thread's queue; a later TLS exchange must not see them.
    ERR_clear_error();
    if (contents.certificates.empty() && contents.keys.empty() && !contents.protectedKey) {
        return std::nullopt;
    }
    return contents;
}

std::optional<CertificateFileContents> CertificateFileReader::read(
    const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kMaxFileBytes) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parse(bytes);
}

}  // namespace rizorivu::dot1x
