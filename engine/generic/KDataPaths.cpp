// The data folder and the high-resolution variant's name.
#include "KDataPaths.h"

namespace {
// Built on first use: the system tools set it during static initialisation.
std::string& dataFolder() {
    static std::string value;
    return value;
}
} // namespace

const std::string& getDataFolder() {
    return dataFolder();
}

void setDataFolder(const std::string& folder) {
    dataFolder() = folder;
}

std::string makeHighResName(const std::string& path) {
    size_t separator = path.find_last_of("/\\");
    size_t split = separator == std::string::npos ? 0 : separator + 1;
    return path.substr(0, split) + "ipad3res_" + path.substr(split);
}
