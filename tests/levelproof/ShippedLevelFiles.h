// The shipped levels for the tests that run once per level: the Action, Stunt and Race level files of the
// levels folder (each test takes one as its parameter and is named after it), and where a file's level stands
// in the level catalogue.
#pragma once

#include "LevelText.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

std::vector<std::string> shippedLevelFiles();
// The Action level files alone.
std::vector<std::string> shippedActionLevelFiles();
// "levels/action/01-first-swim.txt" -> "Action_01_first_swim".
std::string shippedLevelTestName(const testing::TestParamInfo<std::string>& info);

// The catalogue list a level is listed in (Action for the default level).
int32_t catalogueKindOf(const LevelText& level);
// The level's index in its catalogue list (built first); -1 with a message when it is not there.
int32_t catalogueIndexOf(const LevelText& level, std::string& error);
// The list and index of a level file's level: false with a message when the file is faulty or its level is
// not listed.
bool findShippedLevel(const std::string& file, int32_t& kind, int32_t& index, std::string& error);
