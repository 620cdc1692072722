// The player's settings kept between runs: a text file of `key = value` lines with `#`
// comments, which a player may edit. Bad lines are skipped with a word on standard error; the
// rest still apply. Rewriting the file changes only the values the game saves and keeps every
// other line, comments and line ends included.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The settings format this version writes; a file says `format = N` when it is of another.
constexpr int kSettingsFormatVersion = 1;
// Far more than any player writes by hand; a larger file is ignored and never rewritten.
constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;
// Standard error hears about this many bad lines of one file, then how many more there were.
constexpr int kMaxSettingsWarnings = 10;
// A bad key or value is quoted to at most this many characters.
constexpr int kMaxQuotedCharacters = 80;

// The glasses the player wears; the first filter named covers the left eye.
enum class Glasses { RedBlue, RedCyan, GreenMagenta, RedGreen };

// How the game goes full screen: switching the display to 640 x 480, or a desktop-sized window
// the picture is scaled into.
enum class Fullscreen { Mode, Desktop };

struct Settings {
    bool stereo = true;
    float separation = 5.0f;  // one of the title's three choices: 5, 3.5, 2
    Glasses glasses = Glasses::RedBlue;
    bool swapEyes = false;  // glasses worn the other way round
    Fullscreen fullscreen = Fullscreen::Mode;
    bool rumble = true;

    bool operator==(const Settings&) const = default;
};

// One bit per key, to say which values a save writes.
enum SettingKey : unsigned {
    kSettingStereo = 1u << 0,
    kSettingSeparation = 1u << 1,
    kSettingGlasses = 1u << 2,
    kSettingSwapEyes = 1u << 3,
    kSettingFullscreen = 1u << 4,
    kSettingRumble = 1u << 5,
};

// The name a key or glasses value has in the file and on the command line.
const char* glassesName(Glasses value);
bool readGlassesName(const std::string& name, Glasses& value);

// Applies every good line of `text` over `settings` (a byte-order mark and CRLF ends read like
// plain lines). Each bad line (not `key = value`, an unknown key, a bad value) is skipped with one
// line on `err` naming `fileName`, the line number and why, for the first ten; `err` may be null
// for silence. A file of a newer format is read as far as this version understands it, with one
// line on `err` instead of the warnings. Returns false for such a file: it must not be rewritten.
bool parseSettings(const std::string& text, const std::string& fileName, Settings& settings,
                   std::FILE* err);

// `text` with the keys in `keys` set to their values in `settings`: every line of such a key
// is rewritten, such a key not yet in the file is added, all other lines stay as they were and
// the file's line ends are kept. An empty `text` gives a new file that names the choices in its
// comments.
std::string rewriteSettings(const std::string& text, const Settings& settings, unsigned keys);

// The settings in the file at `path` over the defaults. A missing file is the defaults; one
// that cannot be read, is too large or is not a file is too, with one line on `err`.
Settings loadSettings(const std::string& path, std::FILE* err);

// Writes the keys in `keys` to the file at `path` the safe way (locked, read again, only those
// keys changed, written through a temporary file). A file that exists but cannot be read, is
// too large, is not a file, or is of a newer format is left alone. False, with `why`, when
// nothing was written.
bool saveSettings(const std::string& path, const Settings& settings, unsigned keys,
                  std::string& why);
