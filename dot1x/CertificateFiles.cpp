#include "dot1x/CertificateFiles.h"

#include <fcntl.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string>

#include "platform/PrivateFiles.h"

namespace rizorivu::dot1x {

namespace fs = std::filesystem;

namespace {

std::string drain(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    std::string bytes(data, length > 0 ? static_cast<std::size_t>(length) : 0);
    (void)BIO_reset(bio);
    return bytes;
}

}  // namespace

int CertificateFiles::writePrivate(const fs::path& file, std::string_view bytes) {
    int err = 0;
    if (!ensurePrivateFolder(folder_, err)) {
        return -1;
    }
    // The folder is ours alone, whatever the umask made of it.
    ::chmod(folder_.c_str(), 0700);
    const fs::path partial = file.string() + ".partial";
    ::unlink(partial.c_str());
    const int fd =
        ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -1;
    }
    ::fchmod(fd, 0600);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    const bool complete = ::close(fd) == 0 && written == bytes.size();
    // The complete file replaces the old one at once, so a reader never sees half a key.
    if (!complete || ::rename(partial.c_str(), file.c_str()) != 0) {
        ::unlink(partial.c_str());
        return -1;
    }
    return 0;
}

int CertificateFiles::writeClient(X509* certificate, EVP_PKEY* key) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio || certificate == nullptr || key == nullptr ||
        PEM_write_bio_X509(bio.get(), certificate) != 1) {
        return -1;
    }
    const std::string certificateText = drain(bio.get());
    if (PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1) {
        return -1;
    }
    std::string keyText = drain(bio.get());
    const int result = writePrivate(privateKey(), keyText) != 0 ||
                               writePrivate(clientCertificate(), certificateText) != 0
                           ? -1
                           : 0;
    OPENSSL_cleanse(keyText.data(), keyText.size());
    return result;
}

int CertificateFiles::writeAuthorities(std::span<const StoredCertificate> authorities) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    std::size_t count = 0;
    for (const StoredCertificate& entry : authorities) {
        if (!bio || !entry.certificate ||
            PEM_write_bio_X509(bio.get(), entry.certificate.get()) != 1) {
            continue;
        }
        ++count;
    }
    if (count == 0) {
        return -1;
    }
    return writePrivate(this->authorities(), drain(bio.get()));
}

int CertificateFiles::writeRandomSeed() {
    std::array<unsigned char, 1024> seed{};
    if (RAND_bytes(seed.data(), static_cast<int>(seed.size())) != 1) {
        return -1;
    }
    const int result = writePrivate(
        randomSeed(), std::string_view(reinterpret_cast<const char*>(seed.data()), seed.size()));
    OPENSSL_cleanse(seed.data(), seed.size());
    return result;
}

bool CertificateFiles::exists(const fs::path& file) const {
    std::error_code error;
    return fs::is_regular_file(file, error);
}

void CertificateFiles::remove() {
    for (const fs::path& file : {clientCertificate(), privateKey(), authorities(), randomSeed()}) {
        ::unlink(file.c_str());
    }
}

}  // namespace rizorivu::dot1x
