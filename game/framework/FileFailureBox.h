// The message box that tells the user a file of theirs or of the game could not be used: its caption says
// what failed, its text names the file and why.
#pragma once

#include <string>

// Shows `File "<path>" <what>` under the caption (what: "failed to load: ...", "could not be written: ...").
void showFileFailureBox(const std::string& caption, const std::string& path, const std::string& what);
