#include "profile/settings.h"

#include <cstdlib>
#include <cstring>

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

void parseSettings(const std::string& text, const std::string& fileName, Settings& settings,
                   std::FILE* err) {
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
            if (key == nullptr) {
                why = "unknown key '" + name + "'";
            } else if (!readValue(key->bit, value, settings)) {
                why = "'" + value + "' is not a value for " + key->name + " (" + key->choices +
                      ")";
            }
        } else if (malformed) {
            why = "not a 'key = value' line";
        }
        if (!why.empty() && err != nullptr) {
            std::fprintf(err, "voxmere: %s:%d: %s; line ignored\n", fileName.c_str(), number,
                         why.c_str());
        }
    }
}

std::string rewriteSettings(const std::string& text, const Settings& settings, unsigned keys) {
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
    for (const Key& key : kKeys) {
        if ((present & key.bit) == 0) {
            out += std::string(key.name) + " = " + valueText(key.bit, settings) + "\n";
        }
    }
    return out;
}

Settings loadSettings(const std::string& path, std::FILE* err) {
    Settings settings;
    if (path.empty()) return settings;
    std::string text, why;
    if (readPlayerFile(path, text, why) == FileRead::Failed) {
        std::fprintf(err, "voxmere: %s; the default settings apply\n", why.c_str());
        return settings;
    }
    parseSettings(text, path, settings, err);
    return settings;
}

bool saveSettings(const std::string& path, const Settings& settings, unsigned keys,
                  std::string& why) {
    if (path.empty()) {
        why = "neither XDG_CONFIG_HOME nor HOME is set";
        return false;
    }
    PlayerFileLock lock;
    if (!lock.acquire(path, true, why)) return false;
    std::string text;
    if (readPlayerFile(path, text, why) == FileRead::Failed) return false;
    // Keys not saved keep what the file says now, whatever this run was told.
    Settings merged;
    parseSettings(text, path, merged, nullptr);
    for (const Key& key : kKeys) {
        if ((keys & key.bit) != 0) readValue(key.bit, valueText(key.bit, settings), merged);
    }
    return writePlayerFile(path, rewriteSettings(text, merged, keys), why);
}
