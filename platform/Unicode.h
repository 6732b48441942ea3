#pragma once

#include <locale.h>
#include <cstddef>
#include <string>
#include <string_view>

namespace rizorivu {

// Text inside the program is UTF-8. These conversions never fail: malformed input
// (stray continuation bytes, unpaired surrogates, truncated sequences) becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// Number of characters (code points) of a UTF-8 text; malformed bytes count one each.
std::size_t utf8Length(std::string_view utf8);

// The first `maxChars` characters of a UTF-8 text, never cutting a character in half.
std::string_view utf8Prefix(std::string_view utf8, std::size_t maxChars);

// Removes leading and trailing white space (blank, tab, CR, LF, VT, FF).
std::string_view trimBlanks(std::string_view text);

// Case-insensitive comparison of names the way the registry and the profile reader do it:
// both sides upper-cased with the Unicode simple case mapping, so "café" equals "CAFÉ".
// Holds a locale handle of its own so that it never depends on the process locale.
class CaseFolder {
public:
    CaseFolder();
    ~CaseFolder();
    CaseFolder(const CaseFolder&) = delete;
    CaseFolder& operator=(const CaseFolder&) = delete;

    std::string upper(std::string_view utf8) const;
    bool equal(std::string_view a, std::string_view b) const;

private:
    locale_t locale_;
};

}  // namespace rizorivu
