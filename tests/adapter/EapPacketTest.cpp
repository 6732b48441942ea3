#include "adapter/EapPacket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/HexBytes.h"

namespace rizorivu {
namespace {

using testing::hexBytes;

struct ParseCase {
    const char* name;
    const char* hex;
    bool accepted;
    std::size_t dataBytes;  // EAP: type data; EAPOL: body
};

TEST(EapPacketTest, EapPacketsAreTakenOnlyWithinTheirStatedLength) {
    const ParseCase cases[] = {
        {"identity request", "01 07 0005 01", true, 0},
        {"response with data and padding", "02 07 0008 01 61 62 63 00 00", true, 3},
        {"success", "03 07 0004", true, 0},
        {"failure", "04 07 0004", true, 0},
        {"request without type", "01 07 0004", false, 0},
        {"length beyond bytes", "01 07 0009 01 61", false, 0},
        {"length below header", "03 07 0003", false, 0},
        {"unknown code", "05 07 0004", false, 0},
        {"truncated header", "01 07 00", false, 0},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes = hexBytes(c.hex);
        const auto view = EapPacketView::parse(bytes);
        ASSERT_EQ(view.has_value(), c.accepted);
        if (view) {
            EXPECT_EQ(view->data.size(), c.dataBytes);
            EXPECT_EQ(view->identifier, 7);
        }
    }
}

TEST(EapPacketTest, EapolFramesAreTakenOnlyWithinTheirStatedLength) {
    const ParseCase cases[] = {
        {"start", "01 01 0000", true, 0},
        {"packet with padding", "02 00 0004 03 01 0004 00 00", true, 4},
        {"body beyond bytes", "01 00 0005 03 01 00 04", false, 0},
        {"truncated header", "01 00 00", false, 0},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes = hexBytes(c.hex);
        const auto view = EapolFrameView::parse(bytes);
        ASSERT_EQ(view.has_value(), c.accepted);
        if (view) {
            EXPECT_EQ(view->body.size(), c.dataBytes);
        }
    }
}

TEST(EapPacketTest, BuiltPacketsParseBackInsideTheirFrame) {
    const std::vector<std::uint8_t> name{'b', 'o', 'b'};
    const auto frame =
        eapolFrame(eap::kEapolPacket, eapPacket(eap::kResponse, 9, eap::kTypeIdentity, name));
    EXPECT_EQ(frame, hexBytes("01 00 0008 02 09 0008 01 62 6f 62"));
    const auto outer = EapolFrameView::parse(frame);
    ASSERT_TRUE(outer);
    const auto inner = EapPacketView::parse(outer->body);
    ASSERT_TRUE(inner);
    EXPECT_EQ(std::vector<std::uint8_t>(inner->data.begin(), inner->data.end()), name);
    EXPECT_EQ(eapStatus(eap::kFailure, 3), hexBytes("04 03 0004"));
    EXPECT_TRUE(
        eapPacket(eap::kRequest, 1, eap::kTypeTls, std::vector<std::uint8_t>(0xFFFF)).empty());
}

}  // namespace
}  // namespace rizorivu
