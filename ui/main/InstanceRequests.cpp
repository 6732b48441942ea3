#include "ui/main/InstanceRequests.h"

#include <cstdint>

#include "settings/InstanceValues.h"

namespace rizorivu::ui {

namespace {

// The requests are integer values in the application key itself.
constexpr std::string_view kApplicationKeyItself = "";
constexpr std::int32_t kRequested = 1;
constexpr std::int32_t kNoRequest = 0;

}  // namespace

InstanceRequests::Request InstanceRequests::take() const {
    for (const auto& [name, request] : {std::pair{InstanceValues::kExit, Request::Exit},
                                        std::pair{InstanceValues::kWakeUp, Request::WakeUp}}) {
        if (key_.readDword(kApplicationKeyItself, name).value_or(kNoRequest) == kRequested) {
            key_.writeDword(kApplicationKeyItself, name, kNoRequest);
            return request;
        }
    }
    return Request::None;
}

}  // namespace rizorivu::ui
