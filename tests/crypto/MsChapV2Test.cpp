// MS-CHAPv2 against the published vectors of RFC 2759 section 9.2.

#include <gtest/gtest.h>

#include <string>

#include "crypto/MsChapV2.h"
#include "tests/support/HexBytes.h"

namespace rizorivu::crypto {
namespace {

using testing::hexBytes;

template <std::size_t N>
std::array<std::uint8_t, N> fixed(const char* hex) {
    const auto bytes = hexBytes(hex);
    std::array<std::uint8_t, N> out{};
    std::copy_n(bytes.begin(), N, out.begin());
    return out;
}

struct Rfc2759 {
    const MsChapV2::Challenge authenticator = fixed<16>("5B5D7C7D7B3F2F3E3C2C602132262628");
    const MsChapV2::Challenge peer = fixed<16>("21402324255E262A28295F2B3A337C7E");
    const std::string user = "User";
    const std::string password = "clientPass";
};

TEST(MsChapV2Test, MatchesRfc2759Vectors) {
    const MsChapV2 algorithms;
    ASSERT_TRUE(algorithms.available());
    const Rfc2759 v;

    std::array<std::uint8_t, 8> challenge{};
    ASSERT_TRUE(algorithms.challengeHash(v.peer, v.authenticator, v.user, challenge));
    EXPECT_EQ(challenge, (fixed<8>("D02E4386BCE91226")));

    MsChapV2::PasswordHash hash{};
    ASSERT_TRUE(algorithms.ntPasswordHash(v.password, hash));
    EXPECT_EQ(hash, (fixed<16>("44EBBA8D5312B8D611474411F56989AE")));

    MsChapV2::NtResponse response{};
    ASSERT_TRUE(
        algorithms.generateNtResponse(v.authenticator, v.peer, v.user, v.password, response));
    EXPECT_EQ(response, (fixed<24>("82309ECD8D708B5EA08FAA3981CD83544233114A3D85D6DF")));

    std::string authenticatorResponse;
    ASSERT_TRUE(algorithms.generateAuthenticatorResponse(
        v.password, response, v.peer, v.authenticator, v.user, authenticatorResponse));
    EXPECT_EQ(authenticatorResponse, "S=407A5589115FD0D6209F510FE9C04566932CDA56");
}

TEST(MsChapV2Test, AuthenticatorResponseCheck) {
    const MsChapV2 algorithms;
    const Rfc2759 v;
    MsChapV2::NtResponse response{};
    ASSERT_TRUE(
        algorithms.generateNtResponse(v.authenticator, v.peer, v.user, v.password, response));
    struct Case {
        const char* received;
        std::string password;
        bool accepted;
    } cases[] = {
        {"S=407A5589115FD0D6209F510FE9C04566932CDA56 M=Welcome", v.password, true},
        {"S=407a5589115fd0d6209f510fe9c04566932cda56", v.password, true},
        {"S=407A5589115FD0D6209F510FE9C04566932CDA57", v.password, false},
        {"S=407A5589115FD0D6209F510FE9C04566932CDA5", v.password, false},
        {"S=407A5589115FD0D6209F510FE9C04566932CDAZ6", v.password, false},
        {"E=691 R=0", v.password, false},
        {"", v.password, false},
        {"S=407A5589115FD0D6209F510FE9C04566932CDA56", "otherPass", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(algorithms.checkAuthenticatorResponse(c.password, response, v.peer,
                                                        v.authenticator, v.user, c.received),
                  c.accepted)
            << c.received;
    }
}

TEST(MsChapV2Test, PasswordIsHashedAsUtf16) {
    const MsChapV2 algorithms;
    // "ä" is one UTF-16 unit (E4 00); the same byte outside UTF-8 stands for itself.
    MsChapV2::PasswordHash utf8{};
    MsChapV2::PasswordHash latin1{};
    ASSERT_TRUE(algorithms.ntPasswordHash("\xC3\xA4", utf8));
    ASSERT_TRUE(algorithms.ntPasswordHash("\xE4", latin1));
    EXPECT_EQ(utf8, latin1);
    MsChapV2::PasswordHash truncated{};
    ASSERT_TRUE(algorithms.ntPasswordHash("\xF0\x9F", truncated));  // cut sequence: no overread
}

}  // namespace
}  // namespace rizorivu::crypto
