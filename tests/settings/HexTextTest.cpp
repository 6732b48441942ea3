#include "settings/HexText.h"

#include <gtest/gtest.h>

#include <vector>

namespace rizorivu {
namespace {

struct DecodeCase {
    const char* text;
    std::size_t capacity;
    std::vector<std::uint8_t> expected;  // the whole buffer afterwards
    std::size_t stored;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" into " << c.capacity;
}

class HexTextDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(HexTextDecode, FillsTheBufferAsTheTextSays) {
    const DecodeCase& c = GetParam();
    std::vector<std::uint8_t> buffer(c.capacity, 0xEE);
    EXPECT_EQ(HexTextToBytes(c.text, buffer), c.stored);
    EXPECT_EQ(buffer, c.expected) << "text: \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexTextDecode,
    ::testing::Values(DecodeCase{"0A 0B", 2, {0x0A, 0x0B}, 2},
                      DecodeCase{"0A0B", 2, {0x0A, 0x0B}, 2},
                      DecodeCase{"0a-0b", 6, {0x0A, 0, 0, 0, 0, 0}, 1},  // '-' ends the scan
                      DecodeCase{"1 2 3", 2, {0x01, 0x02}, 2},    // a third byte finds no room
                      DecodeCase{"f", 2, {0x0F, 0}, 1},           // one digit ends at the end
                      DecodeCase{"1\t2", 3, {0x01, 0x02, 0}, 2},  // tab separates like a blank
                      DecodeCase{"123", 2, {0x12, 0x03}, 2},      // pairs, then a lone digit
                      DecodeCase{"AB C!", 3, {0xAB, 0, 0}, 1},    // pending digit dropped at '!'
                      DecodeCase{"  FF   ", 1, {0xFF}, 1}, DecodeCase{"", 3, {0, 0, 0}, 0},
                      DecodeCase{"zz", 2, {0, 0}, 0},
                      DecodeCase{"02 04 0B 16 00 00 00 00",
                                 16,
                                 {0x02, 0x04, 0x0B, 0x16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                 8},
                      DecodeCase{"AA BB", 0, {}, 0}));

TEST(HexTextEncode, UpperCaseSpacedOrPacked) {
    const std::vector<std::uint8_t> bytes{0x00, 0x0A, 0x95, 0x9D, 0x68, 0xFF};
    EXPECT_EQ(BytesToHexText(bytes), "00 0A 95 9D 68 FF");
    EXPECT_EQ(BytesToHexText(bytes, false), "000A959D68FF");
    EXPECT_EQ(BytesToHexText({}), "");
}

TEST(HexTextEncode, DecodesWhatItEncodes) {
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) {
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    for (bool spaced : {true, false}) {
        std::vector<std::uint8_t> back(256);
        EXPECT_EQ(HexTextToBytes(BytesToHexText(all, spaced), back), 256u);
        EXPECT_EQ(back, all);
    }
}

}  // namespace
}  // namespace rizorivu
