// WPA-Enterprise end to end: the WPA worker, with the utility's own 802.1X library and the
// user's certificate folder, joins the simulated Campus network (WPA with TKIP, or WPA2 with
// AES and the 802.11i handshake), whose access point asks a real FreeRADIUS. Success means the keys
// the handshake installed carry data; a refusal means the exchange failed and nothing flows.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "dot1x/SoftwareDot1xLibrary.h"
#include "platform/Unicode.h"
#include "settings/SettingNames.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/FreeRadiusLab.h"
#include "tests/support/TestWorlds.h"
#include "wpa/WpaWorker.h"

namespace rizorivu::testing {
namespace {

using dot1x::EapSupplicant;
using namespace std::chrono_literals;

// The library as the worker sees it, telling the test how the last EAP step left the
// exchange. Everything else goes straight through.
class ObservedDot1x final : public Dot1xLibrary {
public:
    explicit ObservedDot1x(dot1x::SoftwareDot1xLibrary& real) : real_(real) {}

    std::atomic<EapSupplicant::State> state{EapSupplicant::State::Connecting};
    std::atomic<int> halts{0};

    int getMyCertList(CertificateList& l) override { return real_.getMyCertList(l); }
    int getROOTCertList(CertificateList& l) override { return real_.getROOTCertList(l); }
    int getMyCertSubjectAltName(std::u16string_view s, std::u16string_view i,
                                std::span<char16_t> o) override {
        return real_.getMyCertSubjectAltName(s, i, o);
    }
    int genMyCertFile(std::u16string_view s, std::u16string_view i) override {
        return real_.genMyCertFile(s, i);
    }
    int genMySSLFile() override { return real_.genMySSLFile(); }
    int genROOTCertFile(std::u16string_view s, std::u16string_view i) override {
        return real_.genROOTCertFile(s, i);
    }
    int genROOTSSLFile() override { return real_.genROOTSSLFile(); }
    void Get_PSK_Key_32byte(std::string_view p, const std::uint8_t* s, int n, int it,
                            std::uint8_t* o, int on) override {
        real_.Get_PSK_Key_32byte(p, s, n, it, o, on);
    }
    int do_eapol_init(AdapterRecord* a, int r, std::span<const std::uint8_t, 6> own,
                      std::span<const std::uint8_t, 6> bssid, const EapolConfig& c) override {
        return real_.do_eapol_init(a, r, own, bssid, c);
    }
    int do_eapol_run() override {
        const int result = real_.do_eapol_run();
        if (const EapSupplicant* eap = real_.eapSupplicant()) {
            state = eap->state();
        }
        return result;
    }
    void do_eapol_halt() override {
        real_.do_eapol_halt();
        ++halts;
    }
    void Get_EAP_Derived_Key_32byte(std::span<std::uint8_t, 32> k) override {
        real_.Get_EAP_Derived_Key_32byte(k);
    }
    void do_eapol_start(std::span<const std::uint8_t, 6> b,
                        std::span<const std::uint8_t, 6> o) override {
        real_.do_eapol_start(b, o);
    }
    int do_key_negotiation_init(AdapterRecord* a, KeyNegotiationContext& c) override {
        return real_.do_key_negotiation_init(a, c);
    }
    int do_key_negotiation_run(KeyNegotiationContext& c) override {
        return real_.do_key_negotiation_run(c);
    }
    void Shutdown_Dot1x_Module() override { real_.Shutdown_Dot1x_Module(); }

private:
    dot1x::SoftwareDot1xLibrary& real_;
};

class EnterpriseJoin : public ::testing::Test {
protected:
    // One server for the whole suite: writing its certificates takes seconds.
    static void SetUpTestSuite() {
        lab_ = std::make_unique<FreeRadiusLab>();
        labStarted_ = FreeRadiusLab::installed() && lab_->start();
    }
    static void TearDownTestSuite() { lab_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(FreeRadiusLab::installed()) << "tools/install-deps.sh installs FreeRADIUS";
        ASSERT_TRUE(labStarted_) << lab_->failure();
    }

    // The Campus network's access point asks the lab, or a port where nothing answers.
    void build(bool serverAnswers = true, bool wpa2 = false) {
        const std::uint16_t port = serverAnswers ? lab_->port() : FreeRadiusLab::freePort();
        wpa2_ = wpa2;
        bed_ = std::make_unique<AdapterTestBed>(
            settingsWorld() +
            "[Network.Campus]\nSSID=Campus\nBSSID=02-10-00-00-00-04\nChannel=1\nSignal=-55\n" +
            (wpa2 ? "Security=wpa2-eap\nCipher=aes\n" : "Security=wpa-eap\nCipher=tkip\n") +
            "Radius=127.0.0.1:" + std::to_string(port) + "\nRadiusSecret=" + lab_->secret() + "\n");
        observed_ = std::make_unique<ObservedDot1x>(bed_->dot1x);
        worker_ =
            std::make_unique<wpa::WpaWorker>(*bed_->library, workerClock_, bed_->ansi, *observed_,
                                             bed_->dot1x.certificateFiles().folder());
        worker_->attach(bed_->adapter, bed_->last);
    }

    void TearDown() override {
        if (worker_) {
            worker_->stopWpaConnection();
            worker_->detach();
        }
    }

    // Puts lab files into the user's certificate folder, as a user copies them there.
    void addCertificates(std::initializer_list<const char*> names) {
        const std::filesystem::path folder = bed_->dir / "certificates";
        std::filesystem::create_directories(folder);
        for (const char* name : names) {
            std::filesystem::copy_file(lab_->certificate(name), folder / name,
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }

    // What the WPA settings dialog stores for the first certificate of the list it shows.
    void storeMethod(int protocol, std::string_view user, std::string_view password) {
        CertificateList list;
        const int count =
            protocol == 0 ? bed_->dot1x.getMyCertList(list) : bed_->dot1x.getROOTCertList(list);
        ASSERT_GT(count, 0);
        store(settingname::kAuthenticationMode, std::to_string(authentication()));
        store(settingname::kDot1xProtocol, std::to_string(protocol));
        store(settingname::kDot1xCertSubject, utf16ToUtf8(list.first(0)));
        store(settingname::kDot1xCertIssuer, utf16ToUtf8(list.second(0)));
        store(settingname::kDot1xUsername, user);
        store(settingname::kDot1xPassword, password);
    }

    // Associates with Campus and runs the worker until data flows or the exchange failed.
    bool join() {
        store(settingname::kSsid, "Campus");
        store(settingname::kNetworkType, "1");
        store(settingname::kWepStatus, std::to_string(encryption()));
        EXPECT_TRUE(bed_->open(kK540));
        AdapterLibrary& lib = *bed_->library;
        lib.SetWL_NetworkType(&bed_->adapter, 1);
        lib.SetWL_AuthenticationMode(&bed_->adapter, authentication());
        lib.SetWL_WEPStatus(&bed_->adapter, encryption());
        lib.SetWL_SSID(&bed_->adapter, reinterpret_cast<const std::uint8_t*>("Campus"), 6);
        worker_->startWpaConnection();
        FrameCounts before{};
        for (auto end = std::chrono::steady_clock::now() + 30s;
             std::chrono::steady_clock::now() < end;) {
            // The simulated world moves on while the worker and the server work in real time.
            bed_->clock.advance(20);
            std::this_thread::sleep_for(5ms);
            FrameCounts after{};
            lib.GetTxRxFrameCount(&bed_->adapter, &after);
            if (lib.QueryWL_ConnectState(&bed_->adapter) == 0 && before.received != 0 &&
                after.received > before.received &&
                observed_->state == EapSupplicant::State::Authenticated) {
                return true;
            }
            if (observed_->state == EapSupplicant::State::Failed) {
                return false;
            }
            before = after;
        }
        ADD_FAILURE() << "the exchange neither succeeded nor failed";
        return false;
    }

    void store(std::string_view name, std::string_view value) {
        bed_->last.writeLastSetting(OperatingMode::kStation, name, value);
    }
    // WPA (3) with TKIP (4), or WPA2 (6) with AES (6).
    int authentication() const { return wpa2_ ? 6 : 3; }
    int encryption() const { return wpa2_ ? 6 : 4; }

    static inline std::unique_ptr<FreeRadiusLab> lab_;
    static inline bool labStarted_ = false;
    bool wpa2_ = false;
    RealClock workerClock_;
    std::unique_ptr<AdapterTestBed> bed_;
    std::unique_ptr<ObservedDot1x> observed_;
    std::unique_ptr<wpa::WpaWorker> worker_;
};

TEST_F(EnterpriseJoin, TlsWithTheStudentsCertificateCarriesData) {
    build();
    addCertificates({"student.pem", "student.key", "ca.pem"});
    storeMethod(0, "student", "");
    EXPECT_TRUE(join());
}

TEST_F(EnterpriseJoin, PeapWithTheStudentsPasswordCarriesData) {
    build();
    addCertificates({"ca.pem"});
    storeMethod(1, "student", "library-card");
    EXPECT_TRUE(join());
}

TEST_F(EnterpriseJoin, Wpa2TlsAndPeapCarryDataAfterTheRsnHandshake) {
    build(true, true);
    addCertificates({"student.pem", "student.key", "ca.pem"});
    storeMethod(0, "student", "");
    EXPECT_TRUE(join());
    TearDown();
    build(true, true);
    addCertificates({"ca.pem"});
    storeMethod(1, "student", "library-card");
    EXPECT_TRUE(join());
    // The worker spoke with the access point's RSN element.
    EXPECT_EQ(bed_->station(settingname::kDot1xWpaIes).substr(0, 2), "30");
}

struct Refusal {
    const char* name;
    int protocol;
    std::initializer_list<const char*> files;
    const char* password;
    bool serverAnswers;
};

TEST_F(EnterpriseJoin, RefusedExchangesInstallNothing) {
    const Refusal refusals[] = {
        {"wrong password", 1, {"ca.pem"}, "library-card!", true},
        {"client certificate of an unknown CA",
         0,
         {"untrusted-student.pem", "untrusted-student.key", "ca.pem"},
         "",
         true},
        {"server certificate the chosen CA did not sign",
         1,
         {"untrusted-ca.pem"},
         "library-card",
         true},
        {"no server answers", 1, {"ca.pem"}, "library-card", false},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        TearDown();
        build(r.serverAnswers);
        addCertificates(r.files);
        storeMethod(r.protocol, "student", r.password);
        EXPECT_FALSE(join());
        worker_->stopWpaConnection();
        EXPECT_TRUE(worker_->workerEnded());
    }
}

}  // namespace
}  // namespace rizorivu::testing
