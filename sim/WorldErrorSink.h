#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/WorldParser.h"

namespace rizorivu::sim {

// Collects the problem of a world file. Keeps the first only: later ones are usually its
// consequences.
class WorldErrorSink {
public:
    explicit WorldErrorSink(std::string_view file) : file_(file) {}

    void fail(int line, std::string message) {
        if (!error_) {
            error_ = WorldError{file_, line, std::move(message)};
        }
    }
    bool failed() const { return error_.has_value(); }
    const WorldError& error() const { return *error_; }

private:
    std::string file_;
    std::optional<WorldError> error_;
};

}  // namespace rizorivu::sim
