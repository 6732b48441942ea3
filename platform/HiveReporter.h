#pragma once

#include <iosfwd>
#include <mutex>
#include <string>

namespace rizorivu {

// The diagnostics stream both hives report on, possibly from different threads at once.
class HiveReporter {
public:
    explicit HiveReporter(std::ostream& out) : out_(out) {}

    // Writes one line: SQLite's messages (integrity check results above all) may span several.
    void line(std::string text);

private:
    std::mutex mutex_;
    std::ostream& out_;
};

}  // namespace rizorivu
