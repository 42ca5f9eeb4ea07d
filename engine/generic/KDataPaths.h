// The data folder (the executable's folder, which the system tools record at start-up) and the name of a
// picture's high-resolution variant: paths that the resources, the picture loaders and the game all build on.
#pragma once

#include <string>

// Empty until the system tools have started.
const std::string& getDataFolder();
void setDataFolder(const std::string& folder);

// The path with "ipad3res_" inserted before its file-name part (the high-resolution variant's name).
std::string makeHighResName(const std::string& path);
