#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <optional>

#include "adapter/AdapterLibrary.h"
#include "adapter/Dot1xLibrary.h"
#include "crypto/MsChapV2.h"
#include "crypto/NonceSource.h"
#include "crypto/Rc4Cipher.h"
#include "dot1x/CertificateFiles.h"
#include "dot1x/CertificateLocations.h"
#include "dot1x/EapSupplicant.h"
#include "dot1x/KeyHandshake.h"
#include "dot1x/UserCertificateStore.h"
#include "platform/Clock.h"

namespace rizorivu::dot1x {

// The utility's own 802.1X library: WPA keys from OpenSSL, the EAPOL exchange and key
// handshake over the adapter's EAPOL port, and the certificates of the user's store.
class SoftwareDot1xLibrary final : public Dot1xLibrary {
public:
    // `nonces` defaults to OpenSSL's generator; tests hand in fixed ones.
    SoftwareDot1xLibrary(AdapterLibrary& adapters, Clock& clock, CertificateLocations certificates,
                         std::unique_ptr<crypto::NonceSource> nonces = nullptr);
    ~SoftwareDot1xLibrary() override;
    SoftwareDot1xLibrary(const SoftwareDot1xLibrary&) = delete;
    SoftwareDot1xLibrary& operator=(const SoftwareDot1xLibrary&) = delete;

    // Where the certificate operations leave the exchange's files.
    const CertificateFiles& certificateFiles() const { return certificateFiles_; }
    // Removes the files the certificate operations wrote (also done when the worker ends).
    void removeCertificateFiles();

    int getMyCertList(CertificateList& list) override;
    int getROOTCertList(CertificateList& list) override;
    int getMyCertSubjectAltName(std::u16string_view subject, std::u16string_view issuer,
                                std::span<char16_t> output) override;
    int genMyCertFile(std::u16string_view subject, std::u16string_view issuer) override;
    int genMySSLFile() override;
    int genROOTCertFile(std::u16string_view subject, std::u16string_view issuer) override;
    int genROOTSSLFile() override;

    void Get_PSK_Key_32byte(std::string_view passphrase, const std::uint8_t* ssid, int ssidLength,
                            int iterations, std::uint8_t* output, int outputLength) override;

    int do_eapol_init(AdapterRecord* adapter, int reserved, std::span<const std::uint8_t, 6> ownMac,
                      std::span<const std::uint8_t, 6> bssid, const EapolConfig& config) override;
    int do_eapol_run() override;
    void do_eapol_halt() override;
    void Get_EAP_Derived_Key_32byte(std::span<std::uint8_t, 32> key) override;

    void do_eapol_start(std::span<const std::uint8_t, 6> bssid,
                        std::span<const std::uint8_t, 6> ownMac) override;
    int do_key_negotiation_init(AdapterRecord* adapter, KeyNegotiationContext& context) override;
    int do_key_negotiation_run(KeyNegotiationContext& context) override;

    void Shutdown_Dot1x_Module() override;

    // The key handshake under way, if any (diagnostics and tests).
    const KeyHandshake* keyHandshake() const { return handshake_ ? &*handshake_ : nullptr; }
    // The EAP exchange under way, if any (diagnostics and tests).
    const EapSupplicant* eapSupplicant() const { return eap_ ? &*eap_ : nullptr; }

private:
    void wipeEapKey();

    AdapterLibrary& adapters_;
    Clock& clock_;
    UserCertificateStore certificateStore_;
    // Written by the worker, removed when it ends or with the library.
    CertificateFiles certificateFiles_;
    std::mutex certificateFilesLock_;

    // Key handshake state: used only from the WPA worker, one negotiation at a time.
    std::unique_ptr<crypto::NonceSource> nonces_;
    // Loaded at the first negotiation: most runs of the utility never need RC4.
    std::optional<crypto::Rc4Cipher> rc4_;
    // Shared with the adapter: an unplugged adapter's port stays valid, and silent, until here.
    std::shared_ptr<EapolPort> port_;
    std::optional<KeyHandshake> handshake_;

    // EAP exchange state: used only from the WPA worker, like the handshake.
    // Loaded at the first PEAP exchange, for the same reason as RC4.
    std::optional<crypto::MsChapV2> msChapV2_;
    std::optional<EapSupplicant> eap_;
    // The master key of the last successful exchange; zeros otherwise.
    std::array<std::uint8_t, 32> eapKey_{};
    bool eapKeyValid_ = false;
};

}  // namespace rizorivu::dot1x
