#pragma once

#include <filesystem>

#include "platform/UserFolders.h"

namespace rizorivu::dot1x {

// Where the certificate store reads and the exchange's files are written. Each is a field so
// that tests give folders of their own and never depend on the machine's trust store.
struct CertificateLocations {
    std::filesystem::path userStore;      // the user's client and CA certificates
    std::filesystem::path systemStore;    // the system's trusted CA certificates
    std::filesystem::path privateFolder;  // the files written for one exchange (0700)

    static CertificateLocations forUser(const UserFolders& folders) {
        return {folders.certificateStore(), "/etc/ssl/certs", folders.privateFolder()};
    }
};

}  // namespace rizorivu::dot1x
