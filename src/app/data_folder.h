// Where the game's Textures/ and Sounds/ are. The loaders open "Textures/..." and "Sounds/..."
// relative to the working directory, so the game changes into the folder that holds them.
#pragma once

#include <string>
#include <vector>

// The folders tried, in order: the working directory, the installed data folder, the folder of
// the executable, and the data folder of an installation moved elsewhere (relative to the
// executable). Without an executable folder (empty) only the first two.
std::vector<std::string> dataFolderCandidates(const std::string& executableFolder);

// True when the folder holds a Textures or a Sounds folder: one with only one of them is still
// the player's data folder, and the loaders name what is missing.
bool holdsGameData(const std::string& folder);

// Changes into the first candidate that holds game data and returns it. When none does,
// names every folder tried on standard error, stays where it is and returns "": the loaders
// then report the first missing file as they always have.
std::string enterDataFolder(const std::string& executableFolder);
