#include "dot1x/SoftwareDot1xLibrary.h"

#include <algorithm>

#include "dot1x/CertificateText.h"

namespace rizorivu::dot1x {

// Under construction: each group of operations is filled in by its own component.

SoftwareDot1xLibrary::SoftwareDot1xLibrary(AdapterLibrary& adapters, Clock& clock,
                                           CertificateLocations certificates)
    : adapters_(adapters),
      clock_(clock),
      certificateStore_(certificates),
      certificateFiles_(certificates.privateFolder) {}

// --- Certificate store -----------------------------------------------------------------------

int SoftwareDot1xLibrary::getMyCertList(CertificateList& list) {
    return certificateStore_.fillClientList(list);
}

int SoftwareDot1xLibrary::getROOTCertList(CertificateList& list) {
    return certificateStore_.fillAuthorityList(list);
}

int SoftwareDot1xLibrary::getMyCertSubjectAltName(std::u16string_view subject,
                                                  std::u16string_view issuer,
                                                  std::span<char16_t> output) {
    if (output.empty()) {
        return -1;
    }
    output[0] = u'\0';
    const auto entry = certificateStore_.findClient(subject, issuer);
    if (!entry || !entry->certificate) {
        return -1;
    }
    const std::u16string identity = CertificateText::identity(entry->certificate.get());
    std::size_t length = std::min(identity.size(), output.size() - 1);
    // Never leave the first half of a surrogate pair at the cut.
    if (length > 0 && length < identity.size() && identity[length - 1] >= 0xD800 &&
        identity[length - 1] <= 0xDBFF) {
        --length;
    }
    std::copy_n(identity.begin(), length, output.begin());
    output[length] = u'\0';
    return 0;
}

int SoftwareDot1xLibrary::genMyCertFile(std::u16string_view subject, std::u16string_view issuer) {
    const auto entry = certificateStore_.findClient(subject, issuer);
    if (!entry || !entry->exportable()) {
        return 1;
    }
    const std::lock_guard lock(certificateFilesLock_);
    return certificateFiles_.writeClient(entry->certificate.get(), entry->key.get()) == 0 ? 0 : 1;
}

int SoftwareDot1xLibrary::genMySSLFile() {
    // EAP-TLS checks the server against every CA certificate of the store.
    const auto authorities = certificateStore_.authorities();
    const std::lock_guard lock(certificateFilesLock_);
    if (!certificateFiles_.exists(certificateFiles_.clientCertificate()) ||
        !certificateFiles_.exists(certificateFiles_.privateKey()) ||
        certificateFiles_.writeAuthorities(authorities) != 0) {
        return -1;
    }
    return certificateFiles_.writeRandomSeed();
}

int SoftwareDot1xLibrary::genROOTCertFile(std::u16string_view subject, std::u16string_view issuer) {
    auto entry = certificateStore_.findAuthority(subject, issuer);
    if (!entry) {
        return -1;
    }
    const std::lock_guard lock(certificateFilesLock_);
    return certificateFiles_.writeAuthorities(std::span(&*entry, 1));
}

int SoftwareDot1xLibrary::genROOTSSLFile() {
    const std::lock_guard lock(certificateFilesLock_);
    if (!certificateFiles_.exists(certificateFiles_.authorities())) {
        return -1;
    }
    return certificateFiles_.writeRandomSeed();
}

void SoftwareDot1xLibrary::removeCertificateFiles() {
    const std::lock_guard lock(certificateFilesLock_);
    certificateFiles_.remove();
}

// --- Keys and the key handshake ----------------------------------------------------------------

void SoftwareDot1xLibrary::Get_PSK_Key_32byte(std::string_view, const std::uint8_t*, int, int,
                                              std::uint8_t*, int) {}

void SoftwareDot1xLibrary::do_eapol_start(std::span<const std::uint8_t, 6>,
                                          std::span<const std::uint8_t, 6>) {}

int SoftwareDot1xLibrary::do_key_negotiation_init(AdapterRecord*, KeyNegotiationContext&) {
    return -1;
}

int SoftwareDot1xLibrary::do_key_negotiation_run(KeyNegotiationContext&) {
    return -1;
}

// --- EAP exchange ------------------------------------------------------------------------------

int SoftwareDot1xLibrary::do_eapol_init(AdapterRecord*, int, std::span<const std::uint8_t, 6>,
                                        std::span<const std::uint8_t, 6>, const EapolConfig&) {
    return -1;
}

int SoftwareDot1xLibrary::do_eapol_run() {
    return 0;
}

void SoftwareDot1xLibrary::do_eapol_halt() {}

void SoftwareDot1xLibrary::Get_EAP_Derived_Key_32byte(std::span<std::uint8_t, 32> key) {
    std::fill(key.begin(), key.end(), 0);
}

// --- Shutdown ----------------------------------------------------------------------------------

void SoftwareDot1xLibrary::Shutdown_Dot1x_Module() {
    // The exchange is over: its private key must not outlive it on disk.
    removeCertificateFiles();
}

}  // namespace rizorivu::dot1x
