#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include <openssl/ssl.h>

namespace rizorivu::dot1x {

// The client end of one TLS connection whose records travel in EAP packets: OpenSSL over
// memory BIOs, at most TLS 1.2 (the EAP-TLS key derivation of RFC 5216 and PEAPv0 assume it).
// The server must present a certificate chain to one of the CA certificates given; a server
// that does not is refused during the handshake.
class TlsSession {
public:
    struct Settings {
        std::string caCertificateFile;
        std::string clientCertificateFile;  // empty: no client certificate (PEAP)
        std::string privateKeyFile;
        std::string privateKeyPassword;
    };

    TlsSession() = default;
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    // Loads the certificates and starts the handshake: the ClientHello waits in takeOutput().
    // False when a file cannot be read or the key does not open with the password.
    bool open(const Settings& settings);
    // Hands in records from the server and moves the handshake on. False when TLS failed (an
    // alert to the server may wait in takeOutput()).
    bool receive(std::span<const std::uint8_t> records);
    // Encrypts application data for the server (after the handshake).
    bool write(std::span<const std::uint8_t> plaintext);
    // The application data received so far.
    std::vector<std::uint8_t> read();
    std::vector<std::uint8_t> takeOutput();

    bool established() const { return ssl_ != nullptr && SSL_is_init_finished(ssl_.get()) == 1; }
    bool failed() const { return failed_; }
    // TLS key exporter (RFC 5705) without a context.
    bool exportKey(std::string_view label, std::span<std::uint8_t> key) const;

private:
    struct Free {
        void operator()(SSL_CTX* c) const { SSL_CTX_free(c); }
        void operator()(SSL* s) const { SSL_free(s); }
    };
    bool advance();

    std::unique_ptr<SSL_CTX, Free> context_;
    std::unique_ptr<SSL, Free> ssl_;
    BIO* fromServer_ = nullptr;  // owned by ssl_
    BIO* toServer_ = nullptr;    // owned by ssl_
    std::string password_;
    bool failed_ = false;
};

}  // namespace rizorivu::dot1x
