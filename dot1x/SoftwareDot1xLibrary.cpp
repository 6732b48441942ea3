#include "dot1x/SoftwareDot1xLibrary.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <array>

#include "crypto/PassphraseKey.h"
#include "crypto/RandomNonceSource.h"
#include "dot1x/CertificateText.h"

namespace rizorivu::dot1x {

SoftwareDot1xLibrary::SoftwareDot1xLibrary(AdapterLibrary& adapters, Clock& clock,
                                           CertificateLocations certificates,
                                           std::unique_ptr<crypto::NonceSource> nonces)
    : adapters_(adapters),
      clock_(clock),
      certificateStore_(certificates),
      certificateFiles_(certificates.privateFolder),
      nonces_(nonces ? std::move(nonces) : std::make_unique<crypto::RandomNonceSource>()) {}

SoftwareDot1xLibrary::~SoftwareDot1xLibrary() {
    eap_.reset();
    wipeEapKey();
}

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

void SoftwareDot1xLibrary::Get_PSK_Key_32byte(std::string_view passphrase, const std::uint8_t* ssid,
                                              int ssidLength, int iterations, std::uint8_t* output,
                                              int outputLength) {
    if (output == nullptr || outputLength <= 0) {
        return;
    }
    const std::span<std::uint8_t> key(output, static_cast<std::size_t>(outputLength));
    // An SSID is at most 32 bytes; a longer or missing one maps as the bytes there are.
    const std::size_t ssidBytes = ssid == nullptr || ssidLength <= 0 ? 0 : std::min(ssidLength, 32);
    if (!crypto::derivePassphraseKey(passphrase, std::span(ssid, ssidBytes), iterations, key)) {
        // No key rather than a key of stale bytes: the handshake then fails its first MIC.
        std::fill(key.begin(), key.end(), 0);
    }
}

void SoftwareDot1xLibrary::do_eapol_start(std::span<const std::uint8_t, 6> bssid,
                                          std::span<const std::uint8_t, 6>) {
    if (handshake_) {
        handshake_->setAuthenticator(bssid);
    }
    if (port_ != nullptr) {
        port_->sendEapol(eapolStartFrame());
    }
}

int SoftwareDot1xLibrary::do_key_negotiation_init(AdapterRecord* adapter,
                                                  KeyNegotiationContext& context) {
    handshake_.reset();
    port_ = adapter != nullptr ? adapters_.eapolPort(adapter) : nullptr;
    if (port_ == nullptr) {
        return -1;
    }
    // The access point the adapter is associated with, until do_eapol_start names one.
    std::array<std::uint8_t, adapterbuf::kMacBytes> bssid{};
    adapters_.QueryWL_BSSID(adapter, bssid);
    if (!rc4_) {
        rc4_.emplace();
    }
    handshake_.emplace(*port_, clock_, *nonces_, *rc4_);
    if (!handshake_->begin(context, bssid)) {
        handshake_.reset();
        return -1;
    }
    return 0;
}

int SoftwareDot1xLibrary::do_key_negotiation_run(KeyNegotiationContext& context) {
    if (!handshake_) {
        // Nothing to negotiate: still take a bounded step, so a caller's loop never spins.
        clock_.sleepMs(KeyHandshake::kStepWaitMs);
        return -1;
    }
    return handshake_->step(context) ? 1 : 0;
}

// --- EAP exchange ------------------------------------------------------------------------------

int SoftwareDot1xLibrary::do_eapol_init(AdapterRecord* adapter, int,
                                        std::span<const std::uint8_t, 6>,
                                        std::span<const std::uint8_t, 6>,
                                        const EapolConfig& config) {
    // A new exchange: the handshake and the key of the last one are over.
    eap_.reset();
    handshake_.reset();
    wipeEapKey();
    port_ = adapter != nullptr ? adapters_.eapolPort(adapter) : nullptr;
    if (port_ == nullptr) {
        return -1;
    }
    if (config.method == "PEAP" && !msChapV2_) {
        msChapV2_.emplace();
    }
    eap_.emplace(*port_, clock_, config, *nonces_, msChapV2_ ? &*msChapV2_ : nullptr);
    eap_->start();
    return 0;
}

int SoftwareDot1xLibrary::do_eapol_run() {
    if (!eap_) {
        // Nothing to run: still take a bounded step, so a caller's loop never spins.
        clock_.sleepMs(EapSupplicant::kStepWaitMs);
        return 0;
    }
    if (!eap_->step()) {
        return 0;
    }
    eapKeyValid_ = eap_->masterKey(eapKey_);
    return eapKeyValid_ ? 1 : 0;
}

void SoftwareDot1xLibrary::do_eapol_halt() {
    eap_.reset();
}

void SoftwareDot1xLibrary::Get_EAP_Derived_Key_32byte(std::span<std::uint8_t, 32> key) {
    if (eapKeyValid_) {
        std::copy(eapKey_.begin(), eapKey_.end(), key.begin());
    } else {
        std::fill(key.begin(), key.end(), 0);
    }
}

void SoftwareDot1xLibrary::wipeEapKey() {
    OPENSSL_cleanse(eapKey_.data(), eapKey_.size());
    eapKeyValid_ = false;
}

// --- Shutdown ----------------------------------------------------------------------------------

void SoftwareDot1xLibrary::Shutdown_Dot1x_Module() {
    eap_.reset();
    wipeEapKey();
    handshake_.reset();
    port_ = nullptr;
    // The exchange is over: its private key must not outlive it on disk.
    removeCertificateFiles();
}

}  // namespace rizorivu::dot1x
