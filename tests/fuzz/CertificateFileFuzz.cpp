// A file of the user's certificate folder may hold anything. Whatever the reader accepts must
// hold something it can use, and the texts the lists show must come out of it without fault.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "dot1x/CertificateFileReader.h"
#include "dot1x/CertificateText.h"

using namespace rizorivu::dot1x;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that reading past it is caught.
    const std::unique_ptr<char[]> bytes(new char[size == 0 ? 1 : size]);
    std::copy_n(reinterpret_cast<const char*>(data), size, bytes.get());
    const auto contents = CertificateFileReader::parse(std::string_view(bytes.get(), size));
    if (!contents) {
        return 0;
    }
    if (contents->certificates.empty() && contents->keys.empty() && !contents->protectedKey) {
        std::abort();
    }
    for (const X509Ptr& certificate : contents->certificates) {
        CertificateText::displayName(X509_get_subject_name(certificate.get()));
        CertificateText::identity(certificate.get());
    }
    return 0;
}
