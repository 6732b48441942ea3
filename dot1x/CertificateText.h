#pragma once

#include <openssl/x509.h>

#include <string>

namespace rizorivu::dot1x {

// The texts the certificate lists show and the TLS identity, as UTF-16 so that names
// outside Latin-1 survive.
class CertificateText {
public:
    // The name's common name, as a user knows the certificate; the whole name (RFC 2253 form)
    // when it has none.
    static std::u16string displayName(const X509_NAME* name);
    // The identity a TLS client presents: the first e-mail address of the subject alternative
    // name, else its user principal name, else its first DNS name, else the subject's common
    // name.
    static std::u16string identity(X509* certificate);
};

}  // namespace rizorivu::dot1x
