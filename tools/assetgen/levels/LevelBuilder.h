// Builds one level from its text in the game's own level model (the editor's brushes and auto-tiling, the
// water and sky backdrops, the placements and goals) and saves it through the game's level writer.
#pragma once

#include "LevelText.h"

#include <string>

// Writes the level to path; false (with a message on stderr) when it could not be written.
bool buildLevel(const LevelText& level, const std::string& path);
