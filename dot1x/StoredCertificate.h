#pragma once

#include <string>

#include "dot1x/OpenSslHandles.h"

namespace rizorivu::dot1x {

// One entry of a certificate list: the certificate (absent when a protected PKCS#12 file
// hides it), its private key for a client certificate, and the two texts the list shows.
struct StoredCertificate {
    X509Ptr certificate;
    KeyPtr key;
    bool keyProtected = false;  // a key exists but needs a password: listed, not exportable
    std::u16string first;       // subject (client list) or name (CA list)
    std::u16string second;      // issuer

    bool exportable() const { return certificate && key && !keyProtected; }
};

}  // namespace rizorivu::dot1x
