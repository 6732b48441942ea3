#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "adapter/AdapterRecord.h"
#include "adapter/CertificateList.h"
#include "adapter/EapolConfig.h"
#include "adapter/KeyNegotiationContext.h"

namespace rizorivu {

// The 802.1X library: WPA key derivation, the EAPOL exchange and the key handshake, and the
// user's certificate store. The names and argument order are the library's own, so that the
// operations read as its documentation lists them.
//
// The certificate operations are called from the interface thread, the others from the WPA
// worker, at the same time; an implementation synchronises inside. The exchange and the
// handshake keep one state: one worker uses them at a time.
class Dot1xLibrary {
public:
    virtual ~Dot1xLibrary() = default;

    // Certificate store. The lists fill `list` (cleared by the caller) and answer the count.
    virtual int getMyCertList(CertificateList& list) = 0;
    virtual int getROOTCertList(CertificateList& list) = 0;
    // Writes the client certificate's subject alternative name (the TLS identity),
    // zero-terminated and cut to `output`'s capacity; answers 0 when the certificate was found.
    virtual int getMyCertSubjectAltName(std::u16string_view subject, std::u16string_view issuer,
                                        std::span<char16_t> output) = 0;
    // 0 when the client certificate and its key were written for the exchange; non-zero
    // when the key cannot be exported.
    virtual int genMyCertFile(std::u16string_view subject, std::u16string_view issuer) = 0;
    virtual int genMySSLFile() = 0;
    virtual int genROOTCertFile(std::u16string_view subject, std::u16string_view issuer) = 0;
    virtual int genROOTSSLFile() = 0;

    // The IEEE 802.11i passphrase mapping: `outputLength` bytes of PBKDF2-HMAC-SHA1.
    virtual void Get_PSK_Key_32byte(std::string_view passphrase, const std::uint8_t* ssid,
                                    int ssidLength, int iterations, std::uint8_t* output,
                                    int outputLength) = 0;

    // EAP exchange: prepare, run in bounded steps (non-zero once authenticated), end.
    virtual int do_eapol_init(AdapterRecord* adapter, int reserved,
                              std::span<const std::uint8_t, 6> ownMac,
                              std::span<const std::uint8_t, 6> bssid,
                              const EapolConfig& config) = 0;
    virtual int do_eapol_run() = 0;
    virtual void do_eapol_halt() = 0;
    virtual void Get_EAP_Derived_Key_32byte(std::span<std::uint8_t, 32> key) = 0;

    // Key handshake: start EAPOL with the access point, prepare, run in bounded steps.
    virtual void do_eapol_start(std::span<const std::uint8_t, 6> bssid,
                                std::span<const std::uint8_t, 6> ownMac) = 0;
    virtual int do_key_negotiation_init(AdapterRecord* adapter, KeyNegotiationContext& context) = 0;
    virtual int do_key_negotiation_run(KeyNegotiationContext& context) = 0;

    // Releases the state of the exchange and the handshake when a worker ends.
    virtual void Shutdown_Dot1x_Module() = 0;
};

}  // namespace rizorivu
