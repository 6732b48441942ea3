#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rizorivu {
namespace {

bool asksToExit(std::vector<std::string> arguments) {
    return CommandLine::parse(arguments).exitRequested;
}

TEST(CommandLineTest, ExitSwitchInAnyLetterCaseAfterSlashOrDash) {
    for (const char* argument : {"/EXIT", "-exit", "-Exit", "/eXiT", "-EXIT"}) {
        EXPECT_TRUE(asksToExit({argument})) << argument;
    }
}

TEST(CommandLineTest, OtherParametersAreIgnored) {
    for (const char* argument : {"EXIT", "exit", "--exit", "//EXIT", "/EXITS", "/EXI", "-ex it",
                                 "/ EXIT", "/EXIT ", "+EXIT", "\\EXIT", "", "/", "-", "-quit"}) {
        EXPECT_FALSE(asksToExit({argument})) << '"' << argument << '"';
    }
    EXPECT_FALSE(asksToExit({}));
}

TEST(CommandLineTest, SwitchIsFoundAmongOtherParameters) {
    EXPECT_TRUE(asksToExit({"--verbose", "file.txt", "/Exit", "more"}));
    EXPECT_TRUE(asksToExit({"-exit", "-exit"}));
}

}  // namespace
}  // namespace rizorivu
