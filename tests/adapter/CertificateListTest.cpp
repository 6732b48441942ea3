#include "adapter/CertificateList.h"

#include <gtest/gtest.h>

#include <string>

namespace rizorivu {
namespace {

TEST(CertificateList, KeepsEachTextInItsHalfAndCutsLongOnes) {
    CertificateList list;
    const std::u16string longText(400, u'x');
    ASSERT_TRUE(list.set(0, longText, u"issuer"));
    EXPECT_EQ(list.first(0), std::u16string(CertificateList::kMaxTextLength, u'x'));
    EXPECT_EQ(list.second(0), u"issuer");

    // A cut never leaves half a surrogate pair: 254 letters and then a pair.
    std::u16string paired(CertificateList::kMaxTextLength - 1, u'a');
    paired += u"\U0001F512";
    ASSERT_TRUE(list.set(1, paired, u""));
    EXPECT_EQ(list.first(1).size(), CertificateList::kMaxTextLength - 1);
}

TEST(CertificateList, RefusesEntriesBeyondItsCapacityAndClears) {
    CertificateList list;
    ASSERT_TRUE(list.set(CertificateList::kEntries - 1, u"last", u"one"));
    EXPECT_FALSE(list.set(CertificateList::kEntries, u"beyond", u"it"));
    EXPECT_TRUE(list.first(CertificateList::kEntries).empty());
    EXPECT_EQ(list.first(CertificateList::kEntries - 1), u"last");

    ASSERT_TRUE(list.set(2, u"a long subject", u"a long issuer"));
    ASSERT_TRUE(list.set(2, u"short", u"s"));  // a rewrite leaves nothing of the old text
    EXPECT_EQ(list.first(2), u"short");
    EXPECT_EQ(list.second(2), u"s");
    list.clear();
    EXPECT_TRUE(list.first(CertificateList::kEntries - 1).empty());
}

}  // namespace
}  // namespace rizorivu
