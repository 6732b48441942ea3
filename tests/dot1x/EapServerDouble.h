#pragma once

#include <openssl/ssl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "crypto/MsChapV2.h"
#include "tests/support/LoopbackEapol.h"

namespace rizorivu::testing {

// An authentication server and access point in one, for the supplicant's tests: OpenSSL's TLS
// server over memory BIOs speaking EAP-TLS, or PEAPv0 with EAP-MS-CHAPv2 inside, through the
// loopback's queues. It trusts what it receives: the supplicant is the subject, not it.
class EapServerDouble {
public:
    struct Options {
        Options(std::uint8_t type, X509* serverCertificate, EVP_PKEY* serverKey,
                X509* clientCa = nullptr, std::size_t fragmentBytes = 1000,
                std::string userPassword = {}, std::uint8_t proposal = 0)
            : method(type),
              certificate(serverCertificate),
              key(serverKey),
              clientAuthority(clientCa),
              fragmentSize(fragmentBytes),
              password(std::move(userPassword)),
              firstProposal(proposal) {}

        std::uint8_t method;  // 13 EAP-TLS, 25 PEAP
        X509* certificate;
        EVP_PKEY* key;
        X509* clientAuthority;  // EAP-TLS: signs the client certificates
        std::size_t fragmentSize;
        std::string password;        // PEAP: the user's password
        std::uint8_t firstProposal;  // a method offered before ours (answered with a NAK)
        std::vector<std::uint8_t> firstInnerPacket;  // PEAP: sent instead of the inner identity
    };

    explicit EapServerDouble(Options options);
    ~EapServerDouble();

    // Answers every frame the station sent since the last call.
    void serve(LoopbackEapol& link);

    bool succeeded() const { return succeeded_; }
    bool failed() const { return failed_; }
    const std::vector<std::uint8_t>& masterSessionKey() const { return msk_; }
    int fragmentsReceived() const { return fragmentsReceived_; }
    int acksReceived() const { return acksReceived_; }
    int naksReceived() const { return naksReceived_; }

private:
    void handle(std::span<const std::uint8_t> frame);
    void handleTls(std::span<const std::uint8_t> data);
    void handleInner(std::span<const std::uint8_t> plaintext);
    void startMethod(std::uint8_t type);
    void sendRequest(std::uint8_t type, std::span<const std::uint8_t> data);
    void sendStatus(std::uint8_t code);
    void sendNextFragment();
    void sendTunnelled(std::span<const std::uint8_t> plaintext);
    void succeed();

    struct Free {
        void operator()(SSL_CTX* c) const { SSL_CTX_free(c); }
        void operator()(SSL* s) const { SSL_free(s); }
    };

    Options options_;
    LoopbackEapol* link_ = nullptr;
    std::unique_ptr<SSL_CTX, Free> context_;
    std::unique_ptr<SSL, Free> ssl_;
    BIO* in_ = nullptr;
    BIO* out_ = nullptr;
    std::uint8_t id_ = 0x30;
    std::vector<std::uint8_t> incoming_;
    std::vector<std::uint8_t> outgoing_;
    std::size_t sent_ = 0;
    int innerStage_ = 0;
    crypto::MsChapV2 algorithms_;
    crypto::MsChapV2::Challenge challenge_{};
    bool innerAccepted_ = false;
    bool succeeded_ = false;
    bool failed_ = false;
    std::vector<std::uint8_t> msk_;
    int fragmentsReceived_ = 0;
    int acksReceived_ = 0;
    int naksReceived_ = 0;
};

}  // namespace rizorivu::testing
