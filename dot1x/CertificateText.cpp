#include "dot1x/CertificateText.h"

#include <openssl/asn1.h>
#include <openssl/objects.h>
#include <openssl/x509v3.h>

#include "dot1x/OpenSslHandles.h"
#include "platform/Unicode.h"

namespace rizorivu::dot1x {

namespace {

std::u16string fromAsn1(const ASN1_STRING* value) {
    unsigned char* utf8 = nullptr;
    const int length = value != nullptr ? ASN1_STRING_to_UTF8(&utf8, value) : -1;
    if (length < 0) {
        return {};
    }
    std::u16string text =
        utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(utf8), length));
    OPENSSL_free(utf8);
    return text;
}

// IA5 texts (e-mail and DNS names) are ASCII by rule; bytes beyond it are taken as UTF-8,
// as mail systems write them, and malformed ones become replacement characters.
std::u16string fromIa5(const ASN1_STRING* value) {
    if (value == nullptr) {
        return {};
    }
    return utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(ASN1_STRING_get0_data(value)),
                                        static_cast<std::size_t>(ASN1_STRING_length(value))));
}

std::u16string commonName(const X509_NAME* name) {
    const int index = X509_NAME_get_index_by_NID(name, NID_commonName, -1);
    if (index < 0) {
        return {};
    }
    return fromAsn1(X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index)));
}

// The user principal name of Windows domains, an otherName of the subject alternative name.
std::u16string principalName(const GENERAL_NAME* entry) {
    const ASN1_OBJECT* upn = OBJ_txt2obj("1.3.6.1.4.1.311.20.2.3", 1);
    std::u16string text;
    const OTHERNAME* other = entry->d.otherName;
    if (upn != nullptr && other != nullptr && OBJ_cmp(other->type_id, upn) == 0 &&
        other->value != nullptr && other->value->type == V_ASN1_UTF8STRING) {
        text = fromAsn1(other->value->value.utf8string);
    }
    ASN1_OBJECT_free(const_cast<ASN1_OBJECT*>(upn));
    return text;
}

}  // namespace

std::u16string CertificateText::displayName(const X509_NAME* name) {
    if (name == nullptr) {
        return {};
    }
    if (std::u16string cn = commonName(name); !cn.empty()) {
        return cn;
    }
    BioPtr bio(BIO_new(BIO_s_mem()));
    // Without ESC_MSB the printer keeps characters beyond ASCII as UTF-8.
    const unsigned long flags = XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB;
    if (!bio || X509_NAME_print_ex(bio.get(), name, 0, flags) < 0) {
        return {};
    }
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    return utf8ToUtf16(std::string_view(data, length > 0 ? static_cast<std::size_t>(length) : 0));
}

std::u16string CertificateText::identity(X509* certificate) {
    auto* names = static_cast<GENERAL_NAMES*>(
        X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    std::u16string found[3];  // e-mail, principal name, DNS name
    for (int i = 0; i < sk_GENERAL_NAME_num(names); ++i) {
        const GENERAL_NAME* entry = sk_GENERAL_NAME_value(names, i);
        if (entry->type == GEN_EMAIL && found[0].empty()) {
            found[0] = fromIa5(entry->d.rfc822Name);
        } else if (entry->type == GEN_OTHERNAME && found[1].empty()) {
            found[1] = principalName(entry);
        } else if (entry->type == GEN_DNS && found[2].empty()) {
            found[2] = fromIa5(entry->d.dNSName);
        }
    }
    GENERAL_NAMES_free(names);
    for (const std::u16string& text : found) {
        if (!text.empty()) {
            return text;
        }
    }
    return commonName(X509_get_subject_name(certificate));
}

}  // namespace rizorivu::dot1x
