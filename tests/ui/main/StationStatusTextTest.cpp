#include "ui/main/StationStatusText.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/PrivateProfile.h"
#include "tests/support/CommaDecimalLocale.h"

namespace rizorivu::ui {
namespace {

// Without a language file every text is its English default.
class StationStatusTextTest : public ::testing::Test {
protected:
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    LocalizedText text{profile};
};

TEST_F(StationStatusTextTest, NetworkTypes) {
    EXPECT_EQ(networkTypeText(text, 0), "Ad-Hoc");
    EXPECT_EQ(networkTypeText(text, 1), "Infrastructure");
    EXPECT_EQ(networkTypeText(text, 2), "WDS");
    EXPECT_EQ(networkTypeText(text, 3), "Pseudo IBSS");
    EXPECT_EQ(networkTypeText(text, 5), "Unknown type(5)");
}

TEST_F(StationStatusTextTest, RatesInWholeAndHalfMegabits) {
    EXPECT_EQ(rateText(text, 11000), "11 Mbps");
    EXPECT_EQ(rateText(text, 5500), "5.5 Mbps");
    EXPECT_EQ(rateText(text, 1000), "1 Mbps");
    EXPECT_EQ(rateText(text, 54000), "54 Mbps");
}

TEST_F(StationStatusTextTest, RatesKeepTheirPointUnderACommaLocale) {
    const testing::CommaDecimalLocale locale;
    ASSERT_TRUE(locale.active()) << "no German or French locale: run tools/install-deps.sh";
    EXPECT_EQ(rateText(text, 5500), "5.5 Mbps");
    EXPECT_EQ(rateText(text, 1500), "1.5 Mbps");
}

TEST_F(StationStatusTextTest, EncryptionAndItsDebugForm) {
    EXPECT_EQ(encryptionText(text, 0), "WEP");
    EXPECT_EQ(encryptionText(text, 1), "NONE");
    EXPECT_EQ(encryptionText(text, 4), "TKIP");
    EXPECT_EQ(encryptionText(text, 6), "AES");
    EXPECT_EQ(encryptionText(text, 2), "Unknown");
    EXPECT_EQ(encryptionDebugText(0, 1), "Q:E S:D");
    EXPECT_EQ(encryptionDebugText(6, -1), "Q:? S:?");
}

TEST_F(StationStatusTextTest, ConnectedTextByNetworkType) {
    EXPECT_EQ(connectedText(text, 0, 1), "Connected to Ad-Hoc.");
    EXPECT_EQ(connectedText(text, 1, 1), "Connected to Access Point.");
    EXPECT_EQ(connectedText(text, 3, 1), "Connected to Pseudo IBSS.");
    EXPECT_EQ(connectedText(text, 3, 0), "Unknown");
    EXPECT_EQ(connectedText(text, 2, 1), "Unknown");
    EXPECT_EQ(connectingText(text, 2), "Connecting.........");
}

TEST(SignalAveragesTest, ClampsAndAveragesTheReadingsTakenSoFar) {
    SignalAverages averages;
    averages.add(-30, 120);  // above the strongest reading and above 100 %
    EXPECT_EQ(averages.count(), 1);
    EXPECT_EQ(averages.signalPercent(), 100);
    EXPECT_EQ(averages.qualityPercent(), 100);
    averages.add(-105, 0);
    EXPECT_EQ(averages.signalPercent(), (-72 + 105) * 100 / 65);  // (-40 - 105) / 2 = -72
    EXPECT_EQ(averages.qualityPercent(), 50);

    averages.reset();
    averages.add(-120, 40);
    EXPECT_EQ(averages.signalPercent(), 0);  // the first reading after a reset stands alone
    EXPECT_EQ(averages.qualityPercent(), 40);
}

TEST(SignalAveragesTest, OnlyTheLastSixReadingsCount) {
    SignalAverages averages;
    for (int i = 0; i < 6; ++i) {
        averages.add(-105, 0);
    }
    for (int i = 0; i < 6; ++i) {
        averages.add(-40, 100);
    }
    EXPECT_EQ(averages.count(), SignalAverages::kSamples);
    EXPECT_EQ(averages.signalPercent(), 100);
    EXPECT_EQ(averages.qualityPercent(), 100);
}

}  // namespace
}  // namespace rizorivu::ui
