#pragma once

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace rizorivu::dot1x {

// Owning handles for OpenSSL objects, so that every early return frees what it took.
struct OpenSslFree {
    void operator()(X509* x) const { X509_free(x); }
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
    void operator()(BIO* b) const { BIO_free_all(b); }
};

using X509Ptr = std::unique_ptr<X509, OpenSslFree>;
using KeyPtr = std::unique_ptr<EVP_PKEY, OpenSslFree>;
using BioPtr = std::unique_ptr<BIO, OpenSslFree>;

// A second owner of a certificate or key (OpenSSL counts references).
inline X509Ptr share(X509* x) {
    X509_up_ref(x);
    return X509Ptr(x);
}
inline KeyPtr share(EVP_PKEY* k) {
    EVP_PKEY_up_ref(k);
    return KeyPtr(k);
}

}  // namespace rizorivu::dot1x
