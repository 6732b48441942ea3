#include "dot1x/UserCertificateStore.h"

#include <openssl/x509v3.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "dot1x/CertificateFileReader.h"
#include "dot1x/CertificateText.h"
#include "platform/Unicode.h"

namespace rizorivu::dot1x {

namespace fs = std::filesystem;

namespace {

struct FolderFile {
    std::string name;
    CertificateFileContents contents;
};

// The readable files of `folder` in name order; a missing folder holds none.
std::vector<FolderFile> readFolder(const fs::path& folder) {
    std::vector<fs::path> paths;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (paths.size() >= UserCertificateStore::kMaxFilesPerFolder) {
            break;
        }
        std::error_code statError;
        if (it->is_regular_file(statError)) {
            paths.push_back(it->path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<FolderFile> files;
    for (const fs::path& path : paths) {
        if (auto contents = CertificateFileReader::read(path)) {
            files.push_back({path.filename().string(), std::move(*contents)});
        }
    }
    return files;
}

std::string stemOf(const std::string& name) {
    const auto dot = name.find('.', 1);
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The key files that belong to a certificate file of stem `stem`.
std::array<std::string, 4> keyFileNames(const std::string& stem) {
    return {stem + ".key", stem + "_key.pem", stem + "-key.pem", stem + ".key.pem"};
}

KeyPtr matchingKey(X509* certificate, const std::vector<KeyPtr>& keys) {
    for (const KeyPtr& key : keys) {
        if (X509_check_private_key(certificate, key.get()) == 1) {
            return share(key.get());
        }
    }
    return nullptr;
}

bool isAuthority(X509* certificate) {
    return X509_check_ca(certificate) > 0;
}

// Each certificate once, however many files or links hold it.
class SeenCertificates {
public:
    bool first(X509* certificate) {
        std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
        unsigned int length = 0;
        if (X509_digest(certificate, EVP_sha256(), digest.data(), &length) != 1) {
            return false;
        }
        return seen_.emplace(digest.begin(), digest.begin() + length).second;
    }

private:
    std::set<std::string> seen_;
};

StoredCertificate entryFor(X509* certificate) {
    StoredCertificate entry;
    entry.certificate = share(certificate);
    entry.first = CertificateText::displayName(X509_get_subject_name(certificate));
    entry.second = CertificateText::displayName(X509_get_issuer_name(certificate));
    return entry;
}

template <typename Visit>
void classify(const std::vector<FolderFile>& files, Visit&& visit) {
    std::map<std::string, const FolderFile*> byName;
    for (const FolderFile& file : files) {
        byName.emplace(file.name, &file);
    }
    for (const FolderFile& file : files) {
        if (file.contents.protectedBundle) {
            // Nothing readable without the password: named by its file, so the user sees it.
            StoredCertificate entry;
            entry.keyProtected = true;
            entry.first = utf8ToUtf16(file.name);
            entry.second = u"(password protected)";
            visit(std::move(entry), true);
            continue;
        }
        bool protectedKeyUsed = false;
        for (const X509Ptr& certificate : file.contents.certificates) {
            StoredCertificate entry = entryFor(certificate.get());
            entry.key = matchingKey(certificate.get(), file.contents.keys);
            bool siblingProtected = false;
            for (const std::string& keyName : keyFileNames(stemOf(file.name))) {
                const auto sibling = byName.find(keyName);
                if (entry.key || sibling == byName.end() || sibling->second == &file) {
                    continue;
                }
                entry.key = matchingKey(certificate.get(), sibling->second->contents.keys);
                siblingProtected = siblingProtected || sibling->second->contents.protectedKey;
            }
            if (!entry.key && !isAuthority(certificate.get()) &&
                ((file.contents.protectedKey && !protectedKeyUsed) || siblingProtected)) {
                // The key cannot be read, so it cannot be matched: the file's first non-CA
                // certificate is taken as its owner.
                protectedKeyUsed = protectedKeyUsed || file.contents.protectedKey;
                entry.keyProtected = true;
            }
            const bool client = entry.key || entry.keyProtected;
            visit(std::move(entry), client);
        }
    }
}

int fill(const std::vector<StoredCertificate>& entries, CertificateList& list) {
    std::size_t count = 0;
    for (const StoredCertificate& entry : entries) {
        if (!list.set(count, entry.first, entry.second)) {
            break;
        }
        ++count;
    }
    return static_cast<int>(count);
}

std::optional<StoredCertificate> find(std::vector<StoredCertificate> entries,
                                      std::u16string_view first, std::u16string_view second) {
    const auto shown = std::make_unique<CertificateList>();  // 512 KB: not on the stack
    const int count = fill(entries, *shown);
    // Compared as the list shows the texts, cut to its width, so a long name still matches.
    for (int i = 0; i < count; ++i) {
        if (shown->first(i) == first && shown->second(i) == second) {
            return std::move(entries[static_cast<std::size_t>(i)]);
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<StoredCertificate> UserCertificateStore::clientCertificates() const {
    std::vector<StoredCertificate> clients;
    SeenCertificates seen;
    classify(readFolder(locations_.userStore), [&](StoredCertificate entry, bool client) {
        if (client && clients.size() < CertificateList::kEntries &&
            (!entry.certificate || seen.first(entry.certificate.get()))) {
            clients.push_back(std::move(entry));
        }
    });
    return clients;
}

std::vector<StoredCertificate> UserCertificateStore::authorities() const {
    std::vector<StoredCertificate> authorities;
    SeenCertificates seen;
    const auto take = [&](StoredCertificate entry, bool client) {
        if (!client && entry.certificate && isAuthority(entry.certificate.get()) &&
            authorities.size() < CertificateList::kEntries && seen.first(entry.certificate.get())) {
            authorities.push_back(std::move(entry));
        }
    };
    classify(readFolder(locations_.userStore), take);
    if (authorities.size() < CertificateList::kEntries && !locations_.systemStore.empty()) {
        classify(readFolder(locations_.systemStore), take);
    }
    return authorities;
}

int UserCertificateStore::fillClientList(CertificateList& list) const {
    return fill(clientCertificates(), list);
}

int UserCertificateStore::fillAuthorityList(CertificateList& list) const {
    return fill(authorities(), list);
}

std::optional<StoredCertificate> UserCertificateStore::findClient(
    std::u16string_view subject, std::u16string_view issuer) const {
    return find(clientCertificates(), subject, issuer);
}

std::optional<StoredCertificate> UserCertificateStore::findAuthority(
    std::u16string_view name, std::u16string_view issuer) const {
    return find(authorities(), name, issuer);
}

}  // namespace rizorivu::dot1x
