// Small questions about the system the game runs on: whether a file can be read, and the system's name
// (shown in the main menu's "Exit to ..." hint).
#pragma once

#include <string>

bool fileExists(const std::string& path); // a file (not a folder) that opens for reading
const char* platformName();               // "Linux"
