#pragma once

#include <string>

#include "adapter/EapolConfig.h"
#include "tests/dot1x/CertificateForge.h"
#include "tests/support/TempDir.h"

namespace rizorivu::testing {

using dot1x::KeyPtr;
using dot1x::X509Ptr;

// A CA with a server and a client certificate, and a second CA nobody trusts; the files an
// exchange reads, named as the certificate operations name them (the key under "Vodid").
struct EapCertificates {
    testing::TempDir dir;
    KeyPtr caKey = CertificateForge::makeKey();
    X509Ptr ca = CertificateForge::makeCertificate({"Campus Root"}, caKey.get(), true);
    KeyPtr serverKey = CertificateForge::makeKey();
    X509Ptr server = CertificateForge::makeCertificate({"radius.campus"}, serverKey.get(), false,
                                                       ca.get(), caKey.get());
    KeyPtr otherKey = CertificateForge::makeKey();
    X509Ptr otherCa = CertificateForge::makeCertificate({"Other Root"}, otherKey.get(), true);
    X509Ptr impostor = CertificateForge::makeCertificate({"radius.campus"}, serverKey.get(), false,
                                                         otherCa.get(), otherKey.get());
    KeyPtr clientKey = CertificateForge::makeKey();
    X509Ptr client = CertificateForge::makeCertificate({"student"}, clientKey.get(), false,
                                                       ca.get(), caKey.get());

    EapCertificates() {
        dir.write("caroot.pem", CertificateForge::pem(ca.get()));
        dir.write("client.pem", CertificateForge::pem(client.get()));
        dir.write("client_key.pem", CertificateForge::pem(clientKey.get(), "Vodid"));
    }

    EapolConfig config(const std::string& method, int fragmentSize) const {
        EapolConfig c;
        c.identity = "student";
        c.method = method;
        c.fragmentSize = fragmentSize;
        c.caCertificateFile = (dir / "caroot.pem").string();
        if (method == "TLS") {
            c.password = "Vodid";
            c.clientCertificateFile = (dir / "client.pem").string();
            c.privateKeyFile = (dir / "client_key.pem").string();
        } else {
            c.password = "library-card";
            c.innerMethod = "MS-CHAPv2";
            c.innerIdentity = c.identity;
        }
        return c;
    }
};

}  // namespace rizorivu::testing
