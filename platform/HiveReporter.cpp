#include "platform/HiveReporter.h"

#include <ostream>

namespace rizorivu {

void HiveReporter::line(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    const std::lock_guard lock(mutex_);
    out_ << text << '\n' << std::flush;
}

}  // namespace rizorivu
