// The file test and the system name.
#include "PlatformTools.h"

#include "KResource.h"

bool fileExists(const std::string& path) {
    // Only a regular file counts: a folder opens for reading on Linux too, and a pipe would wait for a writer.
    KResource file;
    return file.open(path) == K_RES_OK;
}

const char* platformName() {
    return "Linux";
}
