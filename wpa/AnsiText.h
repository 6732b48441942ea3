#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace rizorivu::wpa {

// `utf8` in the ANSI code page, the bytes the adapter and the 802.1X library are given,
// cut to at most `maxBytes` without splitting a character: a double-byte code page must not
// end in half a character.
std::string boundedAnsi(const CodePage& ansi, std::string_view utf8, std::size_t maxBytes);

}  // namespace rizorivu::wpa
