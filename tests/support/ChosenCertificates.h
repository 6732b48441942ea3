#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "adapter/Dot1xLibrary.h"

namespace rizorivu::testing {

// An 802.1X library whose certificate store holds the certificates a test chooses; everything
// else does nothing. `answer` overrides the counts the lists report, as a faulty library might.
class ChosenCertificates final : public Dot1xLibrary {
public:
    struct Certificate {
        std::u16string first;    // subject (client) or name (CA)
        std::u16string second;   // issuer (client) or second text (CA)
        std::u16string altName;  // client certificates: the TLS identity
    };

    std::vector<Certificate> client;
    std::vector<Certificate> authorities;
    std::optional<int> answer;
    int clientFills = 0;
    int authorityFills = 0;

    int getMyCertList(CertificateList& list) override {
        ++clientFills;
        return fill(client, list);
    }
    int getROOTCertList(CertificateList& list) override {
        ++authorityFills;
        return fill(authorities, list);
    }
    int getMyCertSubjectAltName(std::u16string_view subject, std::u16string_view issuer,
                                std::span<char16_t> output) override {
        for (const Certificate& c : client) {
            if (c.first.substr(0, CertificateList::kMaxTextLength) == subject &&
                c.second.substr(0, CertificateList::kMaxTextLength) == issuer && !output.empty()) {
                const std::size_t n = std::min(c.altName.size(), output.size() - 1);
                std::copy_n(c.altName.begin(), n, output.begin());
                output[n] = u'\0';
                return 0;
            }
        }
        return -1;
    }
    int genMyCertFile(std::u16string_view, std::u16string_view) override { return -1; }
    int genMySSLFile() override { return -1; }
    int genROOTCertFile(std::u16string_view, std::u16string_view) override { return -1; }
    int genROOTSSLFile() override { return -1; }
    void Get_PSK_Key_32byte(std::string_view, const std::uint8_t*, int, int, std::uint8_t*,
                            int) override {}
    int do_eapol_init(AdapterRecord*, int, std::span<const std::uint8_t, 6>,
                      std::span<const std::uint8_t, 6>, const EapolConfig&) override {
        return -1;
    }
    int do_eapol_run() override { return 0; }
    void do_eapol_halt() override {}
    void Get_EAP_Derived_Key_32byte(std::span<std::uint8_t, 32>) override {}
    void do_eapol_start(std::span<const std::uint8_t, 6>,
                        std::span<const std::uint8_t, 6>) override {}
    int do_key_negotiation_init(AdapterRecord*, KeyNegotiationContext&) override { return -1; }
    int do_key_negotiation_run(KeyNegotiationContext&) override { return 0; }
    void Shutdown_Dot1x_Module() override {}

private:
    int fill(const std::vector<Certificate>& from, CertificateList& list) const {
        std::size_t n = 0;
        for (; n < from.size() && n < CertificateList::kEntries; ++n) {
            list.set(n, from[n].first, from[n].second);
        }
        return answer.value_or(static_cast<int>(n));
    }
};

}  // namespace rizorivu::testing
