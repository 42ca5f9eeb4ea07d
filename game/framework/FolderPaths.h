// The game's folders, built once at start-up: the per-user folder (settings, progress, custom levels) and the
// asset folders under data/full/ beside the executable. Every path ends in '/', so callers append a file name.
#pragma once

#include <string>

// Builds every path, then creates the per-user folder and its "customlevels/" folder (an existing one is fine;
// a failure shows later, when a file cannot be written there).
void setUpFolders();

std::string getUserFolderPath();
std::string getCustomLevelsFolder();
std::string getGraphicsFolder();
std::string getSoundFolder();
std::string getMusicFolder();
std::string getLevelsFolder();
std::string getFontsFolder();
std::string getStuntLevelsFolder();
std::string getRaceLevelsFolder();
