#include "profile/settings.h"

#include <cstdlib>
#include <cstring>

#include "platform/files.h"
#include "profile/player_files.h"

namespace {

constexpr const char* kGlassesNames[] = {"red-blue", "red-cyan", "green-magenta", "red-green"};
constexpr float kSeparations[] = {5.0f, 3.5f, 2.0f};

bool readSwitch(const std::string& value, bool& out) {
    if (value == "on" || value == "yes") {
        out = true;
    } else if (value == "off" || value == "no") {
        out = false;
    } else {
        return false;
    }
    return true;
}

bool readSeparation(const std::string& value, float& out) {
    if (value.empty()) return false;
    char* end = nullptr;
    const float number = std::strtof(value.c_str(), &end);
    if (*end != '\0') return false;
    for (float choice : kSeparations) {
        if (number == choice) {
            out = choice;
            return true;
        }
    }
    return false;
}

std::string separationText(float value) {
    return value == 3.5f ? "3.5" : std::to_string(static_cast<int>(value));
}

struct Key {
    const char* name;
    unsigned bit;
    const char* choices;  // for messages and the new file's comments
};

constexpr Key kKeys[] = {
    {"stereo", kSettingStereo, "on or off"},
    {"separation", kSettingSeparation, "5, 3.5 or 2"},
    {"glasses", kSettingGlasses, "red-blue, red-cyan, green-magenta or red-green"},
    {"swap-eyes", kSettingSwapEyes, "yes or no"},
    {"fullscreen", kSettingFullscreen, "mode or desktop"},
    {"rumble", kSettingRumble, "on or off"},
};

bool readValue(unsigned bit, const std::string& value, Settings& s) {
    switch (bit) {
        case kSettingStereo: return readSwitch(value, s.stereo);
        case kSettingSeparation: return readSeparation(value, s.separation);
        case kSettingGlasses: return readGlassesName(value, s.glasses);
        case kSettingSwapEyes: return readSwitch(value, s.swapEyes);
        case kSettingRumble: return readSwitch(value, s.rumble);
        case kSettingFullscreen:
            if (value != "mode" && value != "desktop") return false;
            s.fullscreen = value == "mode" ? Fullscreen::Mode : Fullscreen::Desktop;
            return true;
        default: return false;
    }
}

std::string valueText(unsigned bit, const Settings& s) {
    switch (bit) {
        case kSettingStereo: return s.stereo ? "on" : "off";
        case kSettingSeparation: return separationText(s.separation);
        case kSettingGlasses: return glassesName(s.glasses);
        case kSettingSwapEyes: return s.swapEyes ? "yes" : "no";
        case kSettingRumble: return s.rumble ? "on" : "off";
        case kSettingFullscreen: return s.fullscreen == Fullscreen::Mode ? "mode" : "desktop";
        default: return {};
    }
}

std::string trim(const std::string& text) {
    const char* blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A line split into its key and value, without a comment; false for a blank or comment line.
// `malformed` is set for a line with no '='.
bool splitLine(const std::string& line, std::string& key, std::string& value, bool& malformed) {
    const std::string content = trim(line.substr(0, line.find('#')));
    malformed = false;
    if (content.empty()) return false;
    const std::size_t equals = content.find('=');
    if (equals == std::string::npos) {
        malformed = true;
        return false;
    }
    key = trim(content.substr(0, equals));
    value = trim(content.substr(equals + 1));
    return true;
}

constexpr char kFormatKey[] = "format";

// A player's key or value for one line of standard error.
std::string inQuotes(const std::string& text) {
    std::string out = "'";
    out += quoted(text, kMaxQuotedCharacters);
    out += '\'';
    return out;
}

// The number a `format = N` value gives, 0 when it is none; a number too long to hold is taken
// for a far newer format.
int readFormat(const std::string& value) {
    if (value.empty() || value[0] == '0') return 0;
    int format = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return 0;
        format = format < 100000000 ? format * 10 + (c - '0') : 999999999;
    }
    return format;
}

// The file's format: its `format = N` line, the first version when it has none.
int formatOf(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string name, value;
        bool malformed = false;
        if (splitLine(text.substr(start, end - start), name, value, malformed) &&
            name == kFormatKey && readFormat(value) > 0) {
            return readFormat(value);
        }
        start = end + 1;
    }
    return kSettingsFormatVersion;
}

const Key* findKey(const std::string& name) {
    for (const Key& key : kKeys) {
        if (name == key.name) return &key;
    }
    return nullptr;
}

}  // namespace

const char* glassesName(Glasses value) {
    return kGlassesNames[static_cast<int>(value)];
}

bool readGlassesName(const std::string& name, Glasses& value) {
    for (int i = 0; i < 4; ++i) {
        if (name == kGlassesNames[i]) {
            value = static_cast<Glasses>(i);
            return true;
        }
    }
    return false;
}

bool parseSettings(const std::string& input, const std::string& fileName, Settings& settings,
                   std::FILE* err) {
    TextLayout layout;
    const std::string text = plainLines(input, layout);
    const int format = formatOf(text);
    const bool newer = format > kSettingsFormatVersion;
    if (newer && err != nullptr) {
        std::fprintf(err,
                     "voxmere: %s: written by a newer version of the game (format %d): read as "
                     "far as this version understands it, and never rewritten\n",
                     fileName.c_str(), format);
    }
    int warnings = 0;
    std::size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        std::string name, value, why;
        bool malformed = false;
        if (splitLine(line, name, value, malformed)) {
            const Key* key = findKey(name);
            if (name == kFormatKey) {
                if (readFormat(value) == 0) {
                    why = inQuotes(value) + " is not a value for format (a whole number from 1)";
                }
            } else if (key == nullptr) {
                why = "unknown key " + inQuotes(name);
            } else if (!readValue(key->bit, value, settings)) {
                why = inQuotes(value) + " is not a value for " + key->name + " (" + key->choices +
                      ")";
            }
        } else if (malformed) {
            why = "not a 'key = value' line";
        }
        // What a newer version wrote may well be new keys and values: no warning for those.
        if (why.empty() || newer || err == nullptr) continue;
        if (++warnings <= kMaxSettingsWarnings) {
            std::fprintf(err, "voxmere: %s:%d: %s; line ignored\n", fileName.c_str(), number,
                         why.c_str());
        }
    }
    if (warnings > kMaxSettingsWarnings) {
        std::fprintf(err, "voxmere: %s: %d more bad lines ignored\n", fileName.c_str(),
                     warnings - kMaxSettingsWarnings);
    }
    return !newer;
}

std::string rewriteSettings(const std::string& input, const Settings& settings, unsigned keys) {
    TextLayout layout;
    const std::string text = plainLines(input, layout);
    std::string out;
    if (text.empty()) {
        out = "# Voxmere settings: one 'key = value' a line; '#' starts a comment.\n"
              "# The options page saves stereo and separation; the command line overrides\n"
              "# any of these for one run.\n";
        for (const Key& key : kKeys) out += "# " + std::string(key.name) + ": " + key.choices + "\n";
    }
    unsigned present = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        std::string name, value;
        bool malformed = false;
        const Key* key = splitLine(line, name, value, malformed) ? findKey(name) : nullptr;
        if (key != nullptr) present |= key->bit;
        if (key != nullptr && (keys & key->bit) != 0) {
            const std::size_t comment = line.find('#');
            out += std::string(key->name) + " = " + valueText(key->bit, settings);
            if (comment != std::string::npos) out += "  " + line.substr(comment);
            out += '\n';
        } else {
            out += line + '\n';
        }
    }
    // Only the keys being saved: a key the player never set keeps following the default.
    for (const Key& key : kKeys) {
        if ((keys & key.bit) != 0 && (present & key.bit) == 0) {
            out += std::string(key.name) + " = " + valueText(key.bit, settings) + "\n";
        }
    }
    return laidOut(out, layout);
}

Settings loadSettings(const std::string& path, std::FILE* err) {
    Settings settings;
    if (path.empty()) return settings;
    std::string text, why;
    switch (platform::readRegularFile(path, kMaxSettingsFileBytes, text, why)) {
        case platform::FileRead::Missing: break;
        case platform::FileRead::Read: parseSettings(text, path, settings, err); break;
        case platform::FileRead::Failed:
            std::fprintf(err, "voxmere: %s; the default settings apply\n", why.c_str());
            break;
        case platform::FileRead::NotRegular:
            std::fprintf(err, "voxmere: %s, not a file; it is left alone and the default "
                         "settings apply\n", why.c_str());
            break;
        case platform::FileRead::TooLarge:
            std::fprintf(err, "voxmere: %s: over 1 MiB, too large for settings; it is ignored and "
                         "never rewritten, and the default settings apply\n", path.c_str());
            break;
    }
    return settings;
}

bool saveSettings(const std::string& path, const Settings& settings, unsigned keys,
                  std::string& why) {
    if (path.empty()) {
        why = "there is no folder for them";
        return false;
    }
    platform::FileLock lock;
    if (!lock.acquire(path, true, why)) return false;
    std::string text;
    switch (platform::readRegularFile(path, kMaxSettingsFileBytes, text, why)) {
        case platform::FileRead::Missing:
        case platform::FileRead::Read: break;
        case platform::FileRead::Failed: return false;
        case platform::FileRead::NotRegular: why += ", not a file; it is left alone"; return false;
        case platform::FileRead::TooLarge:
            why = path + " is over 1 MiB; it is left alone";
            return false;
    }
    Settings ignored;
    if (!parseSettings(text, path, ignored, nullptr)) {
        why = path + " was written by a newer version of the game; it is left alone";
        return false;
    }
    platform::removeLeftoverTemporaryFiles(path);
    return platform::replaceFile(path, rewriteSettings(text, settings, keys), why);
}
