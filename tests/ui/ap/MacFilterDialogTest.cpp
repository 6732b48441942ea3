#include "ui/ap/MacFilterDialog.h"

#include <gtest/gtest.h>

#include "settings/HexText.h"
#include "tests/ui/ap/ApBed.h"

namespace rizorivu {
namespace {

using testing::ApBed;
using ui::DialogCode;
using ui::MacFilterDialog;

std::string addressKey(int slot) {
    return "MACFilterAddr" + std::to_string(slot);
}

TEST(MacFilterDialog, OpeningWithNothingStoredSendsTypeZeroAndShowsEmptySlots) {
    ApBed s;
    s.openFilter([&](MacFilterDialog& d) {
        EXPECT_EQ(d.title().text(), "Access Point Setting") << "the key the settings share";
        EXPECT_EQ(d.typeList.items(),
                  (std::vector<std::string>{"Disable", "Allow listed only", "Deny listed"}));
        EXPECT_EQ(d.typeList.selected(), 0);
        EXPECT_EQ(d.slotLabels[0].text(), "00.");
        EXPECT_EQ(d.slotLabels[15].text(), "15.");
        for (const ui::TextField& field : d.slotFields) {
            EXPECT_EQ(field.text(), "");
        }
        EXPECT_EQ(s.chain.top(), DialogCode::MacFilter);
    });
    EXPECT_EQ(s.count("SetWLAP_FilterMode"), 1);
    EXPECT_EQ(s.ap("MACFilterMode"), "0");
}

TEST(MacFilterDialog, StoredTypeIsShownAndOnlyAnImpossibleOneIsReplaced) {
    struct Case {
        const char* stored;
        int selected;
        int writes;
    };
    const Case cases[] = {{"2", 2, 0}, {"1", 1, 0}, {"3", 0, 1}, {"-1", 0, 1}, {"x", 0, 0}};
    for (const Case& c : cases) {
        ApBed s;
        s.storeAp("MACFilterMode", c.stored);
        s.openFilter([&](MacFilterDialog& d) { EXPECT_EQ(d.typeList.selected(), c.selected); });
        EXPECT_EQ(s.count("SetWLAP_FilterMode"), c.writes) << c.stored;
    }
}

TEST(MacFilterDialog, TypedAddressesAreReadAsSixBytesOrRefused) {
    struct Case {
        const char* typed;
        int inUse;  // -1: refused with a message
        const char* stored;
    };
    const Case cases[] = {
        {"0a0b0c0d0e0f", 1, "0A 0B 0C 0D 0E 0F"},
        {"00 0A 95 9D 68 16", 1, "00 0A 95 9D 68 16"},
        {"00-0A-95-9D-68-16", 1, "00 0A 95 9D 68 16"},
        {"00:0a:95:9d:68:16", 1, "00 0A 95 9D 68 16"},
        {" \t00 0A 95\t9D 68 16 ", 1, "00 0A 95 9D 68 16"},
        {"00 00 00 00 00 01", 1, "00 00 00 00 00 01"},  // any non-zero byte counts
        {"00 00 00 00 00 00", 0, "00 00 00 00 00 00"},
        {"", 0, "00 00 00 00 00 00"},
        {"0A:0B", -1, nullptr},                 // too short
        {"00 0A 95 9D 68 16 17", -1, nullptr},  // too long
        {"0 A 95 9D 68 16 1", -1, nullptr},     // single digits
        {"00.0A.95.9D.68.16", -1, nullptr},     // separator
        {"00 0G 95 9D 68 16", -1, nullptr},     // not hex
        {"FF 0A 95 9D 68 16", -1, nullptr},     // group address
        {"FF FF FF FF FF FF", -1, nullptr},     // broadcast
        {"\xE3\x81\x82", -1, nullptr},
    };
    for (const Case& c : cases) {
        ApBed s;
        s.storeAp(addressKey(3), "02 00 00 00 00 99");
        std::vector<std::uint8_t> sent;
        s.openFilter([&](MacFilterDialog& d) {
            d.slotFields[3].setText(c.typed);
            const MacFilterDialog::Reading reading = d.readSlots();
            if (c.inUse >= 0) {
                EXPECT_EQ(reading.badSlot, -1) << c.typed;
                EXPECT_EQ(reading.list[3 * 7], c.inUse) << c.typed;
            }
            d.onApply();
            EXPECT_EQ(d.slotFields[3].text(), c.typed) << "the typed text stays";
        });
        if (c.inUse < 0) {
            ASSERT_EQ(s.host.messages().size(), 1u) << c.typed;
            EXPECT_EQ(s.host.messages()[0].box.text.rfind("03. ", 0), 0u)
                << s.host.messages()[0].box.text;
            EXPECT_EQ(s.count("SetWLAP_FilterList"), 0) << c.typed;
            EXPECT_EQ(s.ap(addressKey(3)), "02 00 00 00 00 99") << "nothing stored is lost";
        } else {
            EXPECT_TRUE(s.host.messages().empty()) << c.typed;
            EXPECT_EQ(s.ap(addressKey(3)), c.stored) << c.typed;
            EXPECT_EQ(s.ap(addressKey(0)), "00 00 00 00 00 00");
        }
    }
}

TEST(MacFilterDialog, AppliedAddressesShowAgainOnReopening) {
    ApBed s;
    s.openFilter([&](MacFilterDialog& d) {
        d.slotFields[3].setText("0a0b0c0d0e0f");
        d.slotFields[15].setText("02:C0:00:00:00:0B");
        d.onApply();
    });
    s.openFilter([&](MacFilterDialog& d) {
        EXPECT_EQ(d.slotFields[3].text(), "0A 0B 0C 0D 0E 0F");
        EXPECT_EQ(d.slotFields[15].text(), "02 C0 00 00 00 0B");
        EXPECT_EQ(d.slotFields[0].text(), "");
    });
}

TEST(MacFilterDialog, UnreadableStoredAddressesShowAsEmptySlots) {
    ApBed s;
    s.storeAp(addressKey(0), "zz");
    s.storeAp(addressKey(1), std::string(5000, '0') + "1");
    s.storeAp(addressKey(2), "0A");
    s.openFilter([&](MacFilterDialog& d) {
        EXPECT_EQ(d.slotFields[0].text(), "");
        EXPECT_EQ(d.slotFields[1].text(), "");
        EXPECT_EQ(d.slotFields[2].text(), "0A 00 00 00 00 00");
    });
}

TEST(MacFilterDialog, ReplayHandsTheAdapterTheListTheDialogApplied) {
    // What the dialog sends and what start-up and a mode switch replay must be the same list.
    ApBed s;
    std::vector<std::uint8_t> applied;
    s.openFilter([&](MacFilterDialog& d) {
        d.slotFields[0].setText("02 C0 00 00 00 0A");
        d.slotFields[7].setText("0A0B0C0D0E0F");
        const MacFilterDialog::Reading reading = d.readSlots();
        applied.assign(reading.list.begin(), reading.list.end());
        d.onApply();
    });
    ASSERT_EQ(applied.size(), 112u);
    s.settings.replay.replayLastSettings();
    // The replay wrote the list again: the store now holds what it sent.
    for (int slot = 0; slot < 16; ++slot) {
        std::array<std::uint8_t, 6> address{};
        std::copy_n(applied.begin() + slot * 7 + 1, 6, address.begin());
        EXPECT_EQ(s.ap(addressKey(slot)), BytesToHexText(address)) << slot;
    }
    EXPECT_EQ(s.count("SetWLAP_FilterList"), 2);
}

}  // namespace
}  // namespace rizorivu
