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
        bool glassesGiven;  // the settings file's glasses give way
        bool swapEyes;
    };
    const Case cases[] = {
        {{}, false, Glasses::RedBlue, false, false},
        {{"--windowed"}, true, Glasses::RedBlue, false, false},
        {{"--glasses", "red-cyan"}, false, Glasses::RedCyan, true, false},
        {{"--glasses=red-cyan", "--windowed"}, true, Glasses::RedCyan, true, false},
        {{"--windowed", "--glasses", "red-blue"}, true, Glasses::RedBlue, true, false},
        {{"--glasses", "red-cyan", "--glasses", "red-blue"}, false, Glasses::RedBlue, true, false},
        {{"--glasses", "green-magenta"}, false, Glasses::GreenMagenta, true, false},
        {{"--glasses=red-green", "--swap-eyes"}, false, Glasses::RedGreen, true, true},
        {{"--swap-eyes"}, false, Glasses::RedBlue, false, true},
    };
    for (const Case& c : cases) {
        const CommandLine line = parse(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments[0]);
        EXPECT_EQ(line.action, CommandLine::Action::Play);
        EXPECT_EQ(line.options.windowed, c.windowed);
        EXPECT_EQ(line.options.glasses, c.glasses);
        EXPECT_EQ(line.options.glassesGiven, c.glassesGiven);
        EXPECT_EQ(line.options.swapEyes, c.swapEyes);
    }
}

// The screen: --windowed, else --fullscreen, else what the settings file chose.
TEST(CommandLine, ScreenComesFromTheLineBeforeTheSettingsFile) {
    struct Case {
        std::vector<const char*> arguments;
        FullScreenKind fromSettings, chosen;
    };
    const Case cases[] = {
        {{}, FullScreenKind::Mode, FullScreenKind::Mode},
        {{}, FullScreenKind::Desktop, FullScreenKind::Desktop},
        {{"--fullscreen", "desktop"}, FullScreenKind::Mode, FullScreenKind::Desktop},
        {{"--fullscreen=mode"}, FullScreenKind::Desktop, FullScreenKind::Mode},
        {{"--windowed"}, FullScreenKind::Desktop, FullScreenKind::None},
    };
    for (const Case& c : cases) {
        const CommandLine line = parse(c.arguments);
        ASSERT_EQ(line.action, CommandLine::Action::Play);
        EXPECT_EQ(chosenScreen(line.options, c.fromSettings), c.chosen);
    }
}

TEST(CommandLine, BadLinesNameWhatIsWrongAndExitWithUsageOnStandardError) {
    const std::vector<std::vector<const char*>> bad = {
        {"--fullscreen"},
        {"-x"},
        {"level2"},
        {"--glasses"},
        {"--glasses", "magenta-green"},
        {"--glasses="},
        {"--windowed", "--glasses", "Red-Cyan"},
        {"--windowed=yes"},
        {"--fullscreen", "stretched"},
        {"--windowed", "--fullscreen=desktop"},
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
    for (const char* word : {"--windowed", "--glasses", "red-blue", "red-cyan", "green-magenta",
                             "red-green", "--swap-eyes", "--scores", "--version",
                             "--record FILE", "--replay FILE"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(handle({"-h"}).out, help.out);

    const Printed version = handle({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("voxmere ", 0), 0u) << version.out;
    EXPECT_NE(version.out.find_first_of("0123456789"), std::string::npos) << version.out;
    EXPECT_EQ(version.out.back(), '\n');
}

TEST(CommandLine, RecordAndReplayTakeAFileEitherWayAndMixWithTheOtherOptions) {
    struct Case {
        std::vector<const char*> arguments;
        const char* record;
        const char* replay;
        bool windowed;
    };
    const Case cases[] = {
        {{"--record", "run.vxj"}, "run.vxj", "", false},
        {{"--record=run.vxj", "--windowed"}, "run.vxj", "", true},
        {{"--windowed", "--replay", "../bug report.vxj"}, "", "../bug report.vxj", true},
        {{"--replay=/tmp/a=b.vxj"}, "", "/tmp/a=b.vxj", false},
        // The file name is taken as it stands, also when it looks like an option.
        {{"--replay", "--windowed"}, "", "--windowed", false},
        {{"--glasses", "red-cyan", "--record", "x"}, "x", "", false},
    };
    for (const Case& c : cases) {
        const CommandLine line = parse(c.arguments);
        SCOPED_TRACE(c.arguments.back());
        ASSERT_EQ(line.action, CommandLine::Action::Play) << line.error;
        EXPECT_EQ(line.options.recordPath, c.record);
        EXPECT_EQ(line.options.replayPath, c.replay);
        EXPECT_EQ(line.options.windowed, c.windowed);
    }
}

TEST(CommandLine, JournalOptionsRefuseAMissingFileARepeatAndBothTogether) {
    struct Case {
        std::vector<const char*> arguments;
        const char* reason;
    };
    const Case cases[] = {
        {{"--record"}, "--record needs a file name"},
        {{"--replay="}, "--replay needs a file name"},
        {{"--windowed", "--replay"}, "--replay needs a file name"},
        {{"--record", "a", "--record", "b"}, "--record is given twice"},
        {{"--replay=a", "--replay=a"}, "--replay is given twice"},
        {{"--record", "a", "--replay", "b"}, "cannot be used together"},
        {{"--replay", "b", "--record=a"}, "cannot be used together"},
        {{"--recording", "a"}, "unknown option '--recording'"},
        {{"--replayx=a"}, "unknown option '--replayx=a'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        const Printed run = handle(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    }
}

TEST(CommandLine, APlayableLineIsStoredForTheRun) {
    EXPECT_EQ(handle({"--glasses", "red-cyan", "--windowed"}).status, -1);
    EXPECT_TRUE(runOptions.windowed);
    EXPECT_EQ(glasses.kind, Glasses::RedCyan);
    EXPECT_EQ(handle({}).status, -1);
    EXPECT_FALSE(runOptions.windowed);
    EXPECT_EQ(glasses.kind, Glasses::RedBlue);
    EXPECT_EQ(runOptions.recordPath, "");
    EXPECT_EQ(handle({"--replay", "bug.vxj"}).status, -1);
    EXPECT_EQ(runOptions.replayPath, "bug.vxj");
    // A bad line changes nothing.
    handle({"--glasses", "red-cyan", "--oops"});
    EXPECT_EQ(glasses.kind, Glasses::RedBlue);
    EXPECT_EQ(runOptions.replayPath, "bug.vxj");
}

}  // namespace
