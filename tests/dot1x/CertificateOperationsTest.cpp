#include <gtest/gtest.h>
#include <sys/stat.h>

#include <openssl/pem.h>

#include "platform/Unicode.h"
#include "tests/dot1x/CertificateBed.h"

namespace rizorivu::testing {
namespace {

using dot1x::KeyPtr;
using dot1x::X509Ptr;
using Forge = CertificateForge;

unsigned modeOf(const std::filesystem::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

TEST(CertificateIdentityTest, PrefersMailThenPrincipalThenDnsThenCommonName) {
    struct Row {
        CertificateForge::Names names;
        const char* identity;
    };
    const Row rows[] = {
        {{"c1", "alice@example.org", "host.example.org", "alice@corp"}, "alice@example.org"},
        {{"c2", "", "host.example.org", "сергей@пример.рф"}, "сергей@пример.рф"},
        {{"c3", "", "host.example.org", ""}, "host.example.org"},
        {{"Plain Name", "", "", ""}, "Plain Name"},
    };
    CertificateBed t;
    for (const Row& row : rows) {
        t.addClient(row.names.commonName + ".pem", row.names);
    }
    for (const Row& row : rows) {
        std::array<char16_t, 256> output{};
        output.fill(u'x');
        EXPECT_EQ(t.library.getMyCertSubjectAltName(utf8ToUtf16(row.names.commonName),
                                                    u"Test Root CA", output),
                  0);
        EXPECT_EQ(std::u16string_view(output.data()), utf8ToUtf16(row.identity));
    }
}

TEST(CertificateIdentityTest, OutputIsBoundedAndAlwaysTerminated) {
    CertificateBed t;
    // "ab😀": the pair would be split by a cut after three units.
    t.addClient("c.pem", {"c", "ab\xF0\x9F\x98\x80@x"});
    struct Row {
        std::size_t capacity;
        std::u16string_view expected;
    };
    const Row rows[] = {{1, u""}, {3, u"ab"}, {4, u"ab"}, {5, u"ab\U0001F600"}};
    for (const Row& row : rows) {
        std::array<char16_t, 8> output{};
        output.fill(u'x');
        EXPECT_EQ(t.library.getMyCertSubjectAltName(u"c", u"Test Root CA",
                                                    std::span(output.data(), row.capacity)),
                  0);
        EXPECT_EQ(std::u16string_view(output.data()), row.expected) << row.capacity;
        EXPECT_EQ(output[row.capacity], u'x') << "written past the capacity";
    }
    std::array<char16_t, 4> output{u'x'};
    EXPECT_NE(t.library.getMyCertSubjectAltName(u"unknown", u"Test Root CA", output), 0);
    EXPECT_EQ(output[0], u'\0');
    EXPECT_NE(t.library.getMyCertSubjectAltName(u"c", u"Test Root CA", {}), 0);
}

TEST(CertificateFilesTest, ClientFilesArePrivateReadableAndGoWithTheWorker) {
    CertificateBed t;
    X509Ptr client = t.addClient("me.pem", {"Me", "me@example.org"});
    Forge::write(t.userStore() / "root.pem", Forge::pem(t.ca.get()));
    const auto& files = t.library.certificateFiles();

    EXPECT_NE(t.library.genMySSLFile(), 0) << "nothing exported yet";
    ASSERT_EQ(t.library.genMyCertFile(u"Me", u"Test Root CA"), 0);
    ASSERT_EQ(t.library.genMySSLFile(), 0);
    EXPECT_EQ(modeOf(t.privateFolder()), 0700u);
    for (const auto& file :
         {files.clientCertificate(), files.privateKey(), files.authorities(), files.randomSeed()}) {
        EXPECT_EQ(modeOf(file), 0600u) << file;
    }
    // The written key belongs to the written certificate, and the CA file holds the CA.
    dot1x::BioPtr keyFile(BIO_new_file(files.privateKey().c_str(), "r"));
    KeyPtr key(PEM_read_bio_PrivateKey(keyFile.get(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(key);
    EXPECT_EQ(X509_check_private_key(client.get(), key.get()), 1);
    dot1x::BioPtr caFile(BIO_new_file(files.authorities().c_str(), "r"));
    X509Ptr ca(PEM_read_bio_X509(caFile.get(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(ca);
    EXPECT_EQ(X509_cmp(ca.get(), t.ca.get()), 0);

    t.library.Shutdown_Dot1x_Module();
    for (const auto& file :
         {files.clientCertificate(), files.privateKey(), files.authorities(), files.randomSeed()}) {
        EXPECT_FALSE(std::filesystem::exists(file)) << file;
    }
}

TEST(CertificateFilesTest, AuthorityFileHoldsTheChosenCertificate) {
    CertificateBed t;
    KeyPtr key = Forge::makeKey();
    X509Ptr other = Forge::makeCertificate({"Other CA"}, key.get(), true);
    Forge::write(t.userStore() / "root.pem", Forge::pem(t.ca.get()));
    Forge::write(t.systemStore() / "other.pem", Forge::pem(other.get()));
    const auto& files = t.library.certificateFiles();

    EXPECT_NE(t.library.genROOTSSLFile(), 0) << "nothing exported yet";
    EXPECT_NE(t.library.genROOTCertFile(u"Missing CA", u"Missing CA"), 0);
    ASSERT_EQ(t.library.genROOTCertFile(u"Other CA", u"Other CA"), 0);
    ASSERT_EQ(t.library.genROOTSSLFile(), 0);
    dot1x::BioPtr caFile(BIO_new_file(files.authorities().c_str(), "r"));
    X509Ptr written(PEM_read_bio_X509(caFile.get(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(written);
    EXPECT_EQ(X509_cmp(written.get(), other.get()), 0);
    EXPECT_EQ(PEM_read_bio_X509(caFile.get(), nullptr, nullptr, nullptr), nullptr)
        << "only the chosen CA";
    EXPECT_EQ(modeOf(files.authorities()), 0600u);
}

TEST(CertificateFilesTest, AProtectedKeyWritesNothing) {
    CertificateBed t;
    KeyPtr key = Forge::makeKey();
    X509Ptr c = Forge::makeCertificate({"Locked"}, key.get(), false, t.ca.get(), t.caKey.get());
    Forge::write(t.userStore() / "locked.pem", Forge::pem(c.get()) + Forge::pem(key.get(), "pw"));
    ASSERT_EQ(t.library.getMyCertList(*t.list), 1);
    EXPECT_NE(t.library.genMyCertFile(u"Locked", u"Test Root CA"), 0);
    EXPECT_FALSE(std::filesystem::exists(t.library.certificateFiles().privateKey()));
    EXPECT_NE(t.library.genMySSLFile(), 0);
}

}  // namespace
}  // namespace rizorivu::testing
