// The file test and the system name.
#include "PlatformTools.h"

#include <cstdio>

bool fileExists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

const char* platformName() {
    return "Linux";
}
