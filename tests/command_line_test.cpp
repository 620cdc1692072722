#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

CommandLine parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "voxmere");
    return parseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

// What handleCommandLine printed and returned.
struct Printed {
    int status;
    std::string out, err;
};

std::string drain(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

Printed handle(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "voxmere");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status =
        handleCommandLine(static_cast<int>(arguments.size()), arguments.data(), out, err);
    return {status, drain(out), drain(err)};
}

TEST(CommandLine, OptionsForTheRunInAnyOrderAndBothSpellingsOfGlasses) {
    struct Case {
        std::vector<const char*> arguments;
        bool windowed;
        Glasses glasses;
    };
    const Case cases[] = {
        {{}, false, Glasses::RedBlue},
        {{"--windowed"}, true, Glasses::RedBlue},
        {{"--glasses", "red-cyan"}, false, Glasses::RedCyan},
        {{"--glasses=red-cyan", "--windowed"}, true, Glasses::RedCyan},
        {{"--windowed", "--glasses", "red-blue"}, true, Glasses::RedBlue},
        {{"--glasses", "red-cyan", "--glasses", "red-blue"}, false, Glasses::RedBlue},
    };
    for (const Case& c : cases) {
        const CommandLine line = parse(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments[0]);
        EXPECT_EQ(line.action, CommandLine::Action::Play);
        EXPECT_EQ(line.options.windowed, c.windowed);
        EXPECT_EQ(line.options.glasses, c.glasses);
    }
}

TEST(CommandLine, BadLinesNameWhatIsWrongAndExitWithUsageOnStandardError) {
    const std::vector<std::vector<const char*>> bad = {
        {"--fullscreen"},
        {"-x"},
        {"level2"},
        {"--glasses"},
        {"--glasses", "green-magenta"},
        {"--glasses="},
        {"--windowed", "--glasses", "Red-Cyan"},
        {"--windowed=yes"},
    };
    for (const auto& arguments : bad) {
        SCOPED_TRACE(arguments.back());
        EXPECT_EQ(parse(arguments).action, CommandLine::Action::Invalid);
        const Printed run = handle(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("voxmere: "), std::string::npos);
        EXPECT_NE(run.err.find("Usage: voxmere"), std::string::npos);
    }
    EXPECT_NE(handle({"--bogus"}).err.find("'--bogus'"), std::string::npos);
    EXPECT_NE(handle({"--glasses", "green"}).err.find("'green'"), std::string::npos);
}

TEST(CommandLine, HelpAndVersionPrintToStandardOutputAndExitZero) {
    const Printed help = handle({"--windowed", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* word : {"--windowed", "--glasses", "red-blue", "red-cyan", "--version"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(handle({"-h"}).out, help.out);

    const Printed version = handle({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("voxmere ", 0), 0u) << version.out;
    EXPECT_NE(version.out.find_first_of("0123456789"), std::string::npos) << version.out;
    EXPECT_EQ(version.out.back(), '\n');
}

TEST(CommandLine, APlayableLineIsStoredForTheRun) {
    EXPECT_EQ(handle({"--glasses", "red-cyan", "--windowed"}).status, -1);
    EXPECT_TRUE(runOptions.windowed);
    EXPECT_EQ(glasses, Glasses::RedCyan);
    EXPECT_EQ(handle({}).status, -1);
    EXPECT_FALSE(runOptions.windowed);
    EXPECT_EQ(glasses, Glasses::RedBlue);
    // A bad line changes nothing.
    handle({"--glasses", "red-cyan", "--oops"});
    EXPECT_EQ(glasses, Glasses::RedBlue);
}

}  // namespace
