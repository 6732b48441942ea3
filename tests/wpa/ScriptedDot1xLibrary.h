#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "adapter/Dot1xLibrary.h"

namespace rizorivu::testing {

// An 802.1X library that records what the WPA worker asks of it and answers from a script:
// thread-safe, since the worker calls it while the test watches. A library step can be made
// to take real time, as a step of the real library waits for a frame.
class ScriptedDot1xLibrary final : public Dot1xLibrary {
public:
    // What the worker handed over for one handshake.
    struct Negotiation {
        std::array<std::uint8_t, 6> ownMac{};
        std::array<std::uint8_t, 32> pairwiseMasterKey{};
        std::vector<std::uint8_t> wpaElement;
        int pairwiseCipher = 0;
        int groupCipher = 0;
        int authenticationMode = -1;
    };

    // Script.
    std::atomic<int> stepMs{0};               // real time each eapol/negotiation step takes
    std::atomic<int> eapolSucceedsAtStep{0};  // 0: never
    int myCertAnswer = 0;
    int mySslAnswer = 0;
    int rootCertAnswer = 0;
    int rootSslAnswer = 0;
    std::array<std::uint8_t, 32> eapKey{};
    // Run inside the first negotiation step of every handshake, with the handshake's context:
    // where a test installs keys as the real library would.
    std::function<void(KeyNegotiationContext&)> onFirstStep;

    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    // The thread that made each call of calls(), in the same order.
    std::vector<std::thread::id> callers() const {
        std::lock_guard lock(mutex_);
        return callers_;
    }
    std::size_t count(std::string_view name) const {
        std::lock_guard lock(mutex_);
        std::size_t n = 0;
        for (const auto& call : calls_) {
            n += call == name ? 1 : 0;
        }
        return n;
    }
    std::vector<Negotiation> negotiations() const {
        std::lock_guard lock(mutex_);
        return negotiations_;
    }
    std::vector<std::vector<std::uint8_t>> pskSsids() const {
        std::lock_guard lock(mutex_);
        return pskSsids_;
    }
    std::vector<EapolConfig> eapolConfigs() const {
        std::lock_guard lock(mutex_);
        return eapolConfigs_;
    }
    std::vector<std::u16string> certificateNames() const {
        std::lock_guard lock(mutex_);
        return certificateNames_;
    }
    // The passphrase's length only: a test never needs the secret back to check the call.
    std::size_t lastPassphraseLength() const {
        std::lock_guard lock(mutex_);
        return passphraseLength_;
    }
    // Blocks until `name` has been called at least `times` times, or gives up after 5 s.
    bool waitFor(std::string_view name, std::size_t times = 1) const {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (count(name) < times) {
            if (std::chrono::steady_clock::now() > until) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    int getMyCertList(CertificateList&) override { return 0; }
    int getROOTCertList(CertificateList&) override { return 0; }
    int getMyCertSubjectAltName(std::u16string_view, std::u16string_view,
                                std::span<char16_t>) override {
        return -1;
    }
    int genMyCertFile(std::u16string_view subject, std::u16string_view issuer) override {
        noteCertificate("genMyCertFile", subject, issuer);
        return myCertAnswer;
    }
    int genMySSLFile() override {
        note("genMySSLFile");
        return mySslAnswer;
    }
    int genROOTCertFile(std::u16string_view subject, std::u16string_view issuer) override {
        noteCertificate("genROOTCertFile", subject, issuer);
        return rootCertAnswer;
    }
    int genROOTSSLFile() override {
        note("genROOTSSLFile");
        return rootSslAnswer;
    }
    void Get_PSK_Key_32byte(std::string_view passphrase, const std::uint8_t* ssid, int ssidLength,
                            int iterations, std::uint8_t* output, int outputLength) override {
        std::lock_guard lock(mutex_);
        calls_.emplace_back("Get_PSK_Key_32byte");
        callers_.push_back(std::this_thread::get_id());
        pskSsids_.emplace_back(ssid, ssid + ssidLength);
        passphraseLength_ = passphrase.size();
        iterations_ = iterations;
        for (int i = 0; i < outputLength; ++i) {
            output[i] = static_cast<std::uint8_t>(0xA0 + i);
        }
    }
    int do_eapol_init(AdapterRecord*, int, std::span<const std::uint8_t, 6>,
                      std::span<const std::uint8_t, 6>, const EapolConfig& config) override {
        std::lock_guard lock(mutex_);
        calls_.emplace_back("do_eapol_init");
        callers_.push_back(std::this_thread::get_id());
        eapolConfigs_.push_back(config);
        eapolSteps_ = 0;
        return 0;
    }
    int do_eapol_run() override {
        takeStep();
        std::lock_guard lock(mutex_);
        calls_.emplace_back("do_eapol_run");
        callers_.push_back(std::this_thread::get_id());
        const int succeedAt = eapolSucceedsAtStep.load();
        return succeedAt != 0 && ++eapolSteps_ >= succeedAt ? 1 : 0;
    }
    void do_eapol_halt() override { note("do_eapol_halt"); }
    void Get_EAP_Derived_Key_32byte(std::span<std::uint8_t, 32> key) override {
        note("Get_EAP_Derived_Key_32byte");
        std::copy(eapKey.begin(), eapKey.end(), key.begin());
    }
    void do_eapol_start(std::span<const std::uint8_t, 6>,
                        std::span<const std::uint8_t, 6>) override {
        note("do_eapol_start");
    }
    int do_key_negotiation_init(AdapterRecord*, KeyNegotiationContext& context) override {
        std::lock_guard lock(mutex_);
        calls_.emplace_back("do_key_negotiation_init");
        callers_.push_back(std::this_thread::get_id());
        negotiations_.push_back({context.ownMac, context.pairwiseMasterKey, context.wpaElement,
                                 context.pairwiseCipher, context.groupCipher,
                                 context.authenticationMode});
        firstStep_ = true;
        return 0;
    }
    int do_key_negotiation_run(KeyNegotiationContext& context) override {
        takeStep();
        bool first = false;
        {
            std::lock_guard lock(mutex_);
            calls_.emplace_back("do_key_negotiation_run");
            callers_.push_back(std::this_thread::get_id());
            first = std::exchange(firstStep_, false);
        }
        if (first && onFirstStep) {
            onFirstStep(context);
        }
        return 0;
    }
    void Shutdown_Dot1x_Module() override { note("Shutdown_Dot1x_Module"); }

    int iterations() const {
        std::lock_guard lock(mutex_);
        return iterations_;
    }

private:
    void note(const char* name) {
        std::lock_guard lock(mutex_);
        calls_.emplace_back(name);
        callers_.push_back(std::this_thread::get_id());
    }
    void noteCertificate(const char* name, std::u16string_view subject,
                         std::u16string_view issuer) {
        std::lock_guard lock(mutex_);
        calls_.emplace_back(name);
        callers_.push_back(std::this_thread::get_id());
        certificateNames_.emplace_back(subject);
        certificateNames_.emplace_back(issuer);
    }
    void takeStep() const {
        if (const int ms = stepMs.load(); ms > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }

    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    std::vector<std::thread::id> callers_;  // the thread of each call
    std::vector<Negotiation> negotiations_;
    std::vector<std::vector<std::uint8_t>> pskSsids_;
    std::vector<EapolConfig> eapolConfigs_;
    std::vector<std::u16string> certificateNames_;
    std::size_t passphraseLength_ = 0;
    int iterations_ = 0;
    int eapolSteps_ = 0;
    bool firstStep_ = false;
};

}  // namespace rizorivu::testing
