#pragma once

#include <memory>
#include <string>

#include "dot1x/SoftwareDot1xLibrary.h"
#include "tests/dot1x/CertificateForge.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu::testing {

// The utility's 802.1X library over certificate folders of the test's own, with a CA that
// signs the test's client certificates.
struct CertificateBed {
    CertificateBed() : bed(settingsWorld()) {}

    std::filesystem::path userStore() const { return bed.dir / "certificates"; }
    std::filesystem::path systemStore() const { return bed.dir / "system-certificates"; }
    std::filesystem::path privateFolder() const { return bed.dir / "private"; }

    // A client certificate signed by the CA, with its key in the same PEM file.
    dot1x::X509Ptr addClient(const std::string& file, const CertificateForge::Names& names) {
        dot1x::KeyPtr key = CertificateForge::makeKey();
        dot1x::X509Ptr certificate =
            CertificateForge::makeCertificate(names, key.get(), false, ca.get(), caKey.get());
        CertificateForge::write(userStore() / file, CertificateForge::pem(certificate.get()) +
                                                        CertificateForge::pem(key.get()));
        return certificate;
    }

    AdapterTestBed bed;
    dot1x::SoftwareDot1xLibrary& library = bed.dot1x;
    dot1x::KeyPtr caKey = CertificateForge::makeKey();
    dot1x::X509Ptr ca = CertificateForge::makeCertificate({"Test Root CA"}, caKey.get(), true);
    std::unique_ptr<CertificateList> list = std::make_unique<CertificateList>();
};

}  // namespace rizorivu::testing
