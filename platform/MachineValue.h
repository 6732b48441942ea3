#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/RegistryStore.h"

namespace rizorivu {

// Reads a string value of a key below HKEY_LOCAL_MACHINE, as a driver's class key is read:
// -1 when the key or the value is absent, is not a string, or does not fit a buffer of
// `bufferSize` bytes with its terminator; 0 otherwise. Never creates the key.
int readMachineValue(RegistryStore& store, std::string_view subKey, std::string_view valueName,
                     std::string& value, std::size_t bufferSize);

}  // namespace rizorivu
