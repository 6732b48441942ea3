#include "dot1x/SoftwareDot1xLibrary.h"

namespace rizorivu::dot1x {

// Under construction: each group of operations is filled in by its own component.

SoftwareDot1xLibrary::SoftwareDot1xLibrary(AdapterLibrary& adapters, Clock& clock)
    : adapters_(adapters), clock_(clock) {}

// --- Certificate store -----------------------------------------------------------------------

int SoftwareDot1xLibrary::getMyCertList(CertificateList&) {
    return 0;
}

int SoftwareDot1xLibrary::getROOTCertList(CertificateList&) {
    return 0;
}

int SoftwareDot1xLibrary::getMyCertSubjectAltName(std::u16string_view, std::u16string_view,
                                                  std::span<char16_t> output) {
    if (!output.empty()) {
        output[0] = u'\0';
    }
    return -1;
}

int SoftwareDot1xLibrary::genMyCertFile(std::u16string_view, std::u16string_view) {
    return -1;
}

int SoftwareDot1xLibrary::genMySSLFile() {
    return -1;
}

int SoftwareDot1xLibrary::genROOTCertFile(std::u16string_view, std::u16string_view) {
    return -1;
}

int SoftwareDot1xLibrary::genROOTSSLFile() {
    return -1;
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

void SoftwareDot1xLibrary::Shutdown_Dot1x_Module() {}

}  // namespace rizorivu::dot1x
