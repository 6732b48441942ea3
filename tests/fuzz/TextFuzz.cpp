// Registry values are untrusted text: a value edited by hand reaches the hex-text decoder, the
// decimal conversion and the Unicode helpers. None of them may read out of bounds, and the
// conversions must settle: converting a converted text again changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Unicode.h"
#include "settings/HexText.h"
#include "settings/LastSettings.h"

using namespace rizorivu;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    for (std::size_t capacity : {0u, 1u, 5u, 6u, 13u, 16u, 29u}) {
        std::vector<std::uint8_t> out(capacity, 0xEE);
        if (HexTextToBytes(text, out) > capacity) {
            std::abort();
        }
    }
    (void)decimalTextToInt(text);

    const std::string once = utf16ToUtf8(utf8ToUtf16(text));
    if (utf16ToUtf8(utf8ToUtf16(once)) != once) {
        std::abort();
    }
    if (utf8Prefix(text, 7).size() > text.size() || utf8Length(once) > once.size()) {
        std::abort();
    }
    const CaseFolder folder;
    const std::string upper = folder.upper(text);
    if (folder.upper(upper) != upper) {
        std::abort();
    }
    (void)trimBlanks(text);
    return 0;
}
