#pragma once

#include <string_view>

namespace rizorivu {

// The values in the application key through which instances of the utility meet: start-up
// writes them, the running instance's status tick reads and clears them.
struct InstanceValues {
    // 1: the running instance is asked to close.
    static constexpr std::string_view kExit = "REZUreExit";
    // 1: the running instance is asked to show its window.
    static constexpr std::string_view kWakeUp = "REZUreWakeUp";
    // The title under which the running instance's main window is known.
    static constexpr std::string_view kProgramTitle = "RIZorivuProgramTitle";
    // The 1-based language the user chose.
    static constexpr std::string_view kLanguageId = "LanguageId";
};

}  // namespace rizorivu
