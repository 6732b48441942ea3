#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "adapter/CertificateList.h"
#include "dot1x/CertificateLocations.h"
#include "dot1x/StoredCertificate.h"

namespace rizorivu::dot1x {

// The user's certificate store, read afresh on every request so that a file the user adds
// shows at the next refresh of the list.
//
// A client certificate is one with a private key: in its own file, or beside it in a file of
// the same stem ("name.key", "name_key.pem", "name-key.pem", "name.key.pem"). A certificate
// without a key that is a CA is a CA certificate; the user's come first, then the system's,
// each certificate once. Files are taken in name order; files that do not parse are skipped.
class UserCertificateStore {
public:
    static constexpr std::size_t kMaxFilesPerFolder = 4096;

    explicit UserCertificateStore(CertificateLocations locations)
        : locations_(std::move(locations)) {}

    std::vector<StoredCertificate> clientCertificates() const;
    std::vector<StoredCertificate> authorities() const;

    // Fill `list` and answer the count (at most CertificateList::kEntries).
    int fillClientList(CertificateList& list) const;
    int fillAuthorityList(CertificateList& list) const;

    // The first listed entry with these texts; two entries with the same texts are told
    // apart by list order only.
    std::optional<StoredCertificate> findClient(std::u16string_view subject,
                                                std::u16string_view issuer) const;
    std::optional<StoredCertificate> findAuthority(std::u16string_view name,
                                                   std::u16string_view issuer) const;

    const CertificateLocations& locations() const { return locations_; }

private:
    CertificateLocations locations_;
};

}  // namespace rizorivu::dot1x
