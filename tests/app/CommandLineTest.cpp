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

TEST(CommandLineTest, HelpAndVersionPrintOnly) {
    struct Case {
        std::vector<std::string> arguments;
        bool help;
        bool version;
    };
    const Case cases[] = {
        {{"--help"}, true, false},
        {{"-h"}, true, false},
        {{"--version"}, false, true},
        {{"-V"}, false, true},
        {{"-exit", "--version"}, false, true},
        {{"--HELP"}, false, false},
        {{"-help"}, false, false},
        {{"--versions"}, false, false},
        {{"-v"}, false, false},
        {{}, false, false},
    };
    for (const Case& c : cases) {
        const CommandLine line = CommandLine::parse(c.arguments);
        EXPECT_EQ(line.helpRequested, c.help) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.versionRequested, c.version) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.printsOnly(), c.help || c.version);
    }
}

TEST(CommandLineTest, PrintedTextNamesTheVersionOrTheSwitches) {
    const std::vector<std::string> version{"--version"};
    EXPECT_EQ(CommandLine::parse(version).printedText("1.2.3"), "rizorivu 1.2.3\n");
    const std::vector<std::string> both{"--version", "--help"};
    const std::string help = CommandLine::parse(both).printedText("1.2.3");
    EXPECT_NE(help.find("-exit"), std::string::npos);
    EXPECT_NE(help.find("--version"), std::string::npos);
    EXPECT_EQ(help.back(), '\n');
    EXPECT_EQ(CommandLine::parse(std::vector<std::string>{"-exit"}).printedText("1"), "");
}

}  // namespace
}  // namespace rizorivu
