#include "tests/dot1x/CertificateForge.h"

#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/x509v3.h>

#include <fstream>
#include <stdexcept>

namespace rizorivu::testing {

using dot1x::BioPtr;
using dot1x::KeyPtr;
using dot1x::X509Ptr;

namespace {

std::string drain(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(length));
}

void addExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer != nullptr ? issuer : certificate, certificate, nullptr,
                   nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    if (extension == nullptr) {
        throw std::runtime_error("extension " + value);
    }
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

}  // namespace

KeyPtr CertificateForge::makeKey() {
    return KeyPtr(EVP_EC_gen("P-256"));
}

X509Ptr CertificateForge::makeCertificate(const Names& names, EVP_PKEY* key, bool authority,
                                          X509* issuer, EVP_PKEY* issuerKey) {
    X509Ptr certificate(X509_new());
    X509* x = certificate.get();
    X509_set_version(x, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x),
                     static_cast<long>(std::hash<std::string>{}(names.commonName) & 0x7fffffff));
    X509_gmtime_adj(X509_getm_notBefore(x), -3600);
    X509_gmtime_adj(X509_getm_notAfter(x), 86400L * 365);
    X509_set_pubkey(x, key);
    X509_NAME* subject = X509_get_subject_name(x);
    X509_NAME_add_entry_by_txt(subject, "O", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>("Test Org"), -1, -1, 0);
    if (!names.commonName.empty()) {
        X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(names.commonName.c_str()),
                                   -1, -1, 0);
    }
    X509_set_issuer_name(x, issuer != nullptr ? X509_get_subject_name(issuer) : subject);
    addExtension(x, issuer, NID_basic_constraints, authority ? "critical,CA:TRUE" : "CA:FALSE");
    // Built by hand: the configuration syntax cannot carry UTF-8 in a principal name.
    GENERAL_NAMES* alt = sk_GENERAL_NAME_new_null();
    const auto add = [alt](int type, int stringType, const std::string& text,
                           const char* oid = nullptr) {
        if (text.empty()) {
            return;
        }
        ASN1_STRING* value = ASN1_STRING_type_new(stringType);
        ASN1_STRING_set(value, text.data(), static_cast<int>(text.size()));
        GENERAL_NAME* name = GENERAL_NAME_new();
        if (oid != nullptr) {
            ASN1_TYPE* any = ASN1_TYPE_new();
            ASN1_TYPE_set(any, stringType, value);
            GENERAL_NAME_set0_othername(name, OBJ_txt2obj(oid, 1), any);
        } else {
            GENERAL_NAME_set0_value(name, type, value);
        }
        sk_GENERAL_NAME_push(alt, name);
    };
    add(GEN_EMAIL, V_ASN1_IA5STRING, names.email);
    add(GEN_DNS, V_ASN1_IA5STRING, names.dns);
    add(GEN_OTHERNAME, V_ASN1_UTF8STRING, names.principal, "1.3.6.1.4.1.311.20.2.3");
    if (sk_GENERAL_NAME_num(alt) > 0) {
        X509_add1_ext_i2d(x, NID_subject_alt_name, alt, 0, X509V3_ADD_DEFAULT);
    }
    GENERAL_NAMES_free(alt);
    X509_sign(x, issuerKey != nullptr ? issuerKey : key, EVP_sha256());
    return certificate;
}

std::string CertificateForge::pem(X509* certificate) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    PEM_write_bio_X509(bio.get(), certificate);
    return drain(bio.get());
}

std::string CertificateForge::pem(EVP_PKEY* key, std::string_view password) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (password.empty()) {
        PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr);
    } else {
        PEM_write_bio_PKCS8PrivateKey(bio.get(), key, EVP_aes_256_cbc(), password.data(),
                                      static_cast<int>(password.size()), nullptr, nullptr);
    }
    return drain(bio.get());
}

std::string CertificateForge::der(X509* certificate) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    i2d_X509_bio(bio.get(), certificate);
    return drain(bio.get());
}

std::string CertificateForge::pkcs12(X509* certificate, EVP_PKEY* key, const char* password,
                                     bool shroudCertificates) {
    PKCS12* p12 = PKCS12_create(password, "client", key, certificate, nullptr, 0,
                                shroudCertificates ? 0 : -1, 0, 0, 0);
    BioPtr bio(BIO_new(BIO_s_mem()));
    i2d_PKCS12_bio(bio.get(), p12);
    PKCS12_free(p12);
    return drain(bio.get());
}

void CertificateForge::write(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace rizorivu::testing
