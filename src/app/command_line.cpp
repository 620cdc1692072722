#include "app/command_line.h"

#include <cstring>

#include "profile/player_files.h"
#include "profile/scores.h"

#ifndef VOXMERE_VERSION
#define VOXMERE_VERSION "unknown"
#endif

RunOptions runOptions;

namespace {

const char kUsage[] =
    "Usage: voxmere [--windowed | --fullscreen desktop|mode] [--glasses GLASSES] [--swap-eyes]\n"
    "               [--record FILE | --replay FILE]\n"
    "       voxmere --scores | --help | --version\n"
    "\n"
    "A red/blue anaglyph 3-D space shooter.\n"
    "\n"
    "  --windowed           play in a window (640 x 480 to start with, any size after)\n"
    "  --fullscreen desktop full screen at the desktop's resolution, no mode switch\n"
    "  --fullscreen mode    full screen with the display switched to 640 x 480 (the default)\n"
    "  --glasses red-blue   red filter over the left eye, blue over the right (the default)\n"
    "  --glasses red-cyan   red filter over the left eye, cyan over the right\n"
    "  --glasses green-magenta  green over the left eye, magenta over the right\n"
    "  --glasses red-green  red over the left eye, green over the right\n"
    "  --swap-eyes          the glasses are worn the other way round\n"
    "  --record FILE        write a journal of the run to FILE\n"
    "  --replay FILE        play the journal in FILE back; Escape ends it\n"
    "  --scores             print the best scores and exit\n"
    "  --help               print this help and exit\n"
    "  --version            print the version and exit\n";

constexpr char kGlassesChoices[] = "red-blue, red-cyan, green-magenta or red-green";

// The value of an option that takes one, as the next argument or after '='; nullptr when the
// argument is not this option. `missing` is set when the option came without a value.
const char* optionValue(const char* name, int argc, const char* const* argv, int& i,
                        bool& missing) {
    const char* argument = argv[i];
    const std::size_t length = std::strlen(name);
    missing = false;
    if (std::strcmp(argument, name) == 0) {
        if (i + 1 == argc) {
            missing = true;
            return argument;
        }
        return argv[++i];
    }
    if (std::strncmp(argument, name, length) == 0 && argument[length] == '=') {
        return argument + length + 1;
    }
    return nullptr;
}

CommandLine invalid(std::string error) {
    CommandLine line;
    line.action = CommandLine::Action::Invalid;
    line.error = std::move(error);
    return line;
}

}  // namespace

FullScreenKind chosenScreen(const RunOptions& options, FullScreenKind fromSettings) {
    if (options.windowed) return FullScreenKind::None;
    return options.fullScreenGiven ? options.fullScreen : fromSettings;
}

bool readFullScreenValue(const char* value, FullScreenKind& out) {
    if (std::strcmp(value, "desktop") == 0) {
        out = FullScreenKind::Desktop;
    } else if (std::strcmp(value, "mode") == 0) {
        out = FullScreenKind::Mode;
    } else {
        return false;
    }
    return true;
}

const char* usageText() {
    return kUsage;
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            line.action = CommandLine::Action::ShowHelp;
            return line;
        }
        if (std::strcmp(argument, "--version") == 0) {
            line.action = CommandLine::Action::ShowVersion;
            return line;
        }
        if (std::strcmp(argument, "--scores") == 0) {
            line.action = CommandLine::Action::ShowScores;
            return line;
        }
        if (std::strcmp(argument, "--windowed") == 0) {
            line.options.windowed = true;
            continue;
        }
        if (std::strcmp(argument, "--swap-eyes") == 0) {
            line.options.swapEyes = true;
            continue;
        }
        bool missing = false;
        if (const char* value = optionValue("--glasses", argc, argv, i, missing)) {
            if (missing) return invalid(std::string("--glasses needs ") + kGlassesChoices);
            if (!readGlassesName(value, line.options.glasses)) {
                return invalid(std::string("unknown glasses '") + value + "' (" +
                               kGlassesChoices + ")");
            }
            line.options.glassesGiven = true;
            continue;
        }
        if (const char* value = optionValue("--fullscreen", argc, argv, i, missing)) {
            if (missing || !readFullScreenValue(value, line.options.fullScreen)) {
                return invalid("--fullscreen needs desktop or mode");
            }
            line.options.fullScreenGiven = true;
            continue;
        }
        struct JournalOption {
            const char* name;
            std::string* path;
        };
        const JournalOption journalOptions[] = {{"--record", &line.options.recordPath},
                                                {"--replay", &line.options.replayPath}};
        const JournalOption* journal = nullptr;
        const char* value = nullptr;
        for (const JournalOption& option : journalOptions) {
            value = optionValue(option.name, argc, argv, i, missing);
            if (value != nullptr) {
                journal = &option;
                break;
            }
        }
        if (journal == nullptr) {
            return invalid(std::string("unknown option '") + argument + "'");
        }
        if (missing || *value == '\0') {
            return invalid(std::string(journal->name) + " needs a file name");
        }
        if (!journal->path->empty()) {
            return invalid(std::string(journal->name) + " is given twice");
        }
        *journal->path = value;
    }
    if (!line.options.recordPath.empty() && !line.options.replayPath.empty()) {
        return invalid("--record and --replay cannot be used together");
    }
    if (line.options.windowed && line.options.fullScreenGiven) {
        return invalid("--windowed and --fullscreen cannot be used together");
    }
    return line;
}

int handleCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
    const CommandLine line = parseCommandLine(argc, argv);
    switch (line.action) {
        case CommandLine::Action::ShowHelp:
            std::fputs(kUsage, out);
            return 0;
        case CommandLine::Action::ShowVersion:
            std::fprintf(out, "voxmere %s\n", VOXMERE_VERSION);
            return 0;
        case CommandLine::Action::ShowScores: {
            std::string noPath;
            const std::string path = scoresFilePath(noPath);
            listScores(path, noPath, out, err);
            return 0;
        }
        case CommandLine::Action::Invalid:
            std::fprintf(err, "voxmere: %s\n%s", line.error.c_str(), kUsage);
            return 2;
        case CommandLine::Action::Play:
            break;
    }
    runOptions = line.options;
    glasses = {line.options.glasses, line.options.swapEyes};
    return -1;
}
