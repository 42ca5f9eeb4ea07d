// The message box that tells the player a file of the game failed to load or to save: the caption, then
// File "<path>" and what happened to it. A failure that can come again and again in one run (every save on a
// full disk) is told once per caption; the game goes on either way.
#pragma once

#include <string>

void showFileFailureBox(const std::string& caption, const std::string& path, const std::string& failure);
// The box, unless one with this caption was shown since the start (or the last forgetToldFileFailures).
void showFileFailureBoxOnce(const std::string& caption, const std::string& path, const std::string& failure);
void forgetToldFileFailures();
