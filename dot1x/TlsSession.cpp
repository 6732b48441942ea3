#include "dot1x/TlsSession.h"

#include <openssl/crypto.h>
#include <openssl/err.h>

#include <limits>

namespace rizorivu::dot1x {

namespace {

int passwordCallback(char* buffer, int size, int, void* user) {
    const auto* password = static_cast<const std::string*>(user);
    if (password == nullptr || size <= 0 || password->size() > static_cast<std::size_t>(size)) {
        return 0;
    }
    password->copy(buffer, password->size());
    return static_cast<int>(password->size());
}

}  // namespace

TlsSession::~TlsSession() {
    OPENSSL_cleanse(password_.data(), password_.size());
}

bool TlsSession::open(const Settings& settings) {
    ERR_clear_error();
    context_.reset(SSL_CTX_new(TLS_client_method()));
    if (!context_ || SSL_CTX_set_max_proto_version(context_.get(), TLS1_2_VERSION) != 1 ||
        SSL_CTX_load_verify_locations(context_.get(), settings.caCertificateFile.c_str(),
                                      nullptr) != 1) {
        failed_ = true;
        return false;
    }
    SSL_CTX_set_verify(context_.get(), SSL_VERIFY_PEER, nullptr);
    // The session ends with the exchange; EAP never resumes through a ticket we kept.
    SSL_CTX_set_options(context_.get(), SSL_OP_NO_TICKET);
    if (!settings.clientCertificateFile.empty()) {
        password_ = settings.privateKeyPassword;
        SSL_CTX_set_default_passwd_cb(context_.get(), passwordCallback);
        SSL_CTX_set_default_passwd_cb_userdata(context_.get(), &password_);
        const bool loaded =
            SSL_CTX_use_certificate_chain_file(context_.get(),
                                               settings.clientCertificateFile.c_str()) == 1 &&
            SSL_CTX_use_PrivateKey_file(context_.get(), settings.privateKeyFile.c_str(),
                                        SSL_FILETYPE_PEM) == 1 &&
            SSL_CTX_check_private_key(context_.get()) == 1;
        OPENSSL_cleanse(password_.data(), password_.size());
        password_.clear();
        if (!loaded) {
            failed_ = true;
            return false;
        }
    }
    ssl_.reset(SSL_new(context_.get()));
    fromServer_ = BIO_new(BIO_s_mem());
    toServer_ = BIO_new(BIO_s_mem());
    if (!ssl_ || fromServer_ == nullptr || toServer_ == nullptr) {
        BIO_free(fromServer_);
        BIO_free(toServer_);
        fromServer_ = toServer_ = nullptr;
        failed_ = true;
        return false;
    }
    // An empty read BIO means "wait for more", not end of file.
    BIO_set_mem_eof_return(fromServer_, -1);
    SSL_set_bio(ssl_.get(), fromServer_, toServer_);
    SSL_set_connect_state(ssl_.get());
    return advance();
}

bool TlsSession::advance() {
    if (failed_ || !ssl_) {
        return false;
    }
    if (SSL_is_init_finished(ssl_.get()) == 1) {
        return true;
    }
    ERR_clear_error();
    const int result = SSL_do_handshake(ssl_.get());
    if (result == 1) {
        return true;
    }
    const int error = SSL_get_error(ssl_.get(), result);
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
        return true;
    }
    failed_ = true;
    return false;
}

bool TlsSession::receive(std::span<const std::uint8_t> records) {
    if (failed_ || !ssl_ ||
        records.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    if (!records.empty() &&
        BIO_write(fromServer_, records.data(), static_cast<int>(records.size())) !=
            static_cast<int>(records.size())) {
        failed_ = true;
        return false;
    }
    return advance();
}

bool TlsSession::write(std::span<const std::uint8_t> plaintext) {
    if (failed_ || !established() ||
        plaintext.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    if (plaintext.empty()) {
        return true;
    }
    ERR_clear_error();
    if (SSL_write(ssl_.get(), plaintext.data(), static_cast<int>(plaintext.size())) !=
        static_cast<int>(plaintext.size())) {
        failed_ = true;
        return false;
    }
    return true;
}

std::vector<std::uint8_t> TlsSession::read() {
    std::vector<std::uint8_t> out;
    if (failed_ || !established()) {
        return out;
    }
    std::uint8_t buffer[4096];
    for (;;) {
        ERR_clear_error();
        const int got = SSL_read(ssl_.get(), buffer, sizeof buffer);
        if (got <= 0) {
            const int error = SSL_get_error(ssl_.get(), got);
            if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) {
                failed_ = true;
            }
            break;
        }
        out.insert(out.end(), buffer, buffer + got);
    }
    OPENSSL_cleanse(buffer, sizeof buffer);
    return out;
}

std::vector<std::uint8_t> TlsSession::takeOutput() {
    std::vector<std::uint8_t> out;
    if (toServer_ == nullptr) {
        return out;
    }
    const std::size_t pending = BIO_ctrl_pending(toServer_);
    out.resize(pending);
    if (pending > 0 &&
        BIO_read(toServer_, out.data(), static_cast<int>(pending)) != static_cast<int>(pending)) {
        out.clear();
    }
    return out;
}

bool TlsSession::exportKey(std::string_view label, std::span<std::uint8_t> key) const {
    return established() && !failed_ &&
           SSL_export_keying_material(ssl_.get(), key.data(), key.size(), label.data(),
                                      label.size(), nullptr, 0, 0) == 1;
}

}  // namespace rizorivu::dot1x
