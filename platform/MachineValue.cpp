#include "platform/MachineValue.h"

namespace rizorivu {

int readMachineValue(RegistryStore& store, std::string_view subKey, std::string_view valueName,
                     std::string& value, std::size_t bufferSize) {
    auto text = store.readString(Hive::LocalMachine, subKey, valueName);
    if (!text || text->size() + 1 > bufferSize) {
        return -1;
    }
    value = std::move(*text);
    return 0;
}

}  // namespace rizorivu
