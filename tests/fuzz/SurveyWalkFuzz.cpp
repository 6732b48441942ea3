// The survey buffer holds whatever the driver wrote. Whatever its bytes, walking it and reading
// every field and element of every record must stay inside the buffer and inside each record,
// and clamping the strength in place must change nothing but that record's strength.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "adapter/KeyNegotiationContext.h"
#include "adapter/RsnElement.h"
#include "adapter/SurveyBuffer.h"
#include "adapter/WpaSuiteTypes.h"
#include "platform/CodePage.h"
#include "ui/main/SurveyCells.h"

using namespace rizorivu;
using namespace rizorivu::ui;

namespace {

bool inside(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
    return part.data() >= whole.data() && part.size() <= whole.size() &&
           static_cast<std::size_t>(part.data() - whole.data()) <= whole.size() - part.size();
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exactly the utility's size on the heap, so that any step outside it is caught.
    std::vector<std::uint8_t> buffer(adapterbuf::kSurveyBytes, 0);
    std::memcpy(buffer.data(), data, std::min(size, buffer.size()));
    const SurveyBuffer survey(buffer);
    const std::span<const std::uint8_t> whole(buffer);
    // Windows-1252 gives every byte at least one character.
    const CodePage ansi(CodePage::kDefaultName);

    const std::size_t count = survey.recordCount();
    check(count <= survey.declaredCount());
    check(count <= (buffer.size() - 4) / 128);
    const std::uint8_t* previousEnd = buffer.data() + 4;
    for (std::size_t i = 0; i < count; ++i) {
        const auto record = survey.record(i);
        check(record.has_value());
        const std::span<const std::uint8_t> bytes = record->bytes();
        check(bytes.data() == previousEnd && bytes.size() >= 128 && inside(bytes, whole));
        previousEnd = bytes.data() + bytes.size();

        check(inside(record->bssid(), bytes));
        const auto ssid = record->ssid();
        check(inside(ssid, bytes) && ssid.size() <= 32);
        check(std::find(ssid.begin(), ssid.end(), std::uint8_t{0}) == ssid.end());
        check(ssidText(ssid, ansi).size() >= ssid.size());
        (void)record->privacy();
        (void)record->infrastructureMode();
        (void)survey::channelFromFrequency(record->frequency());
        (void)strengthText(record->rssi(), true);

        const std::uint8_t* elementEnd = bytes.data() + 128;
        for (const InformationElement& element : record->elements()) {
            check(element.bytes.data() == elementEnd && inside(element.bytes, bytes));
            check(element.bytes.size() == element.data.size() + 2 &&
                  element.bytes[0] == element.id);
            check(element.data.data() == element.bytes.data() + 2);
            elementEnd = element.bytes.data() + element.bytes.size();
        }
        check(static_cast<std::size_t>(elementEnd - bytes.data()) <=
              std::max<std::size_t>(128, 116 + std::uint64_t{record->ieLength()}));

        if (const auto wpa = record->findWpaElement()) {
            check(inside(*wpa, bytes) && wpa->size() >= 6 && (*wpa)[0] == 221);
            check((*wpa)[2] == 0x00 && (*wpa)[3] == 0x50 && (*wpa)[4] == 0xF2 && (*wpa)[5] == 0x01);
        }
        // What joining the network reads of the element.
        const WpaSuiteTypes types = wpaSuiteTypes(surveyElementArea(bytes));
        check(types.seen == record->findWpaElement().has_value());
        check(types.pairwise >= 0 && types.pairwise <= 255);
        check(types.keyManagement >= 0 && types.keyManagement <= 255);

        // The RSN element: found inside the record, and read whole or not at all.
        const auto rsnBytes = record->findRsnElement();
        const auto rsn = rsnBytes ? RsnElement::parse(*rsnBytes) : std::nullopt;
        if (rsnBytes) {
            check(inside(*rsnBytes, bytes) && (*rsnBytes)[0] == 48 &&
                  rsnBytes->size() == std::size_t{(*rsnBytes)[1]} + 2);
        }
        if (rsn) {
            // Suites read from the element took four bytes each, PMKIDs sixteen (a short element
            // takes the one default suite of each list).
            const std::size_t suites = rsn->pairwiseCiphers.size() + rsn->keyManagement.size();
            check(!rsn->pairwiseCiphers.empty() && !rsn->keyManagement.empty());
            check(suites == 2 || 4 * suites <= rsnBytes->size());
            check(16 * rsn->pmkidCount <= rsnBytes->size());
            check(rsn->preferredPairwise() == 0 || rsn->offersPairwise(rsn->preferredPairwise()));
            check(ciphercode::keyBytes(rsn->groupCipher) != 0 || rsn->groupCipher == 0);
        }
        const WpaSuiteTypes wpa2 = rsnSuiteTypes(surveyElementArea(bytes));
        check(wpa2.seen == rsn.has_value());
        check(!wpa2.seen || (wpa2.pairwise > 0 && wpa2.pairwise <= 255 && wpa2.keyManagement >= 0 &&
                             wpa2.keyManagement <= 255));

        const std::vector<std::uint8_t> before = buffer;
        const StrengthCell cell = fillStrength(*record, false);
        check(cell.rssi >= -105 && cell.rssi <= -40 && record->rssi() == cell.rssi);
        const auto rssiAt = static_cast<std::size_t>(bytes.data() - buffer.data()) + 52;
        for (std::size_t b = 0; b < buffer.size(); ++b) {
            check(buffer[b] == before[b] || (b >= rssiAt && b < rssiAt + 4));
        }
    }
    check(!survey.record(count).has_value());
    check(survey.recordCount() == count);  // clamping never changes the walk
    return 0;
}
