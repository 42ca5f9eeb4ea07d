// Linux implementation of the video-memory query. The kernel's graphics drivers that know the figure publish it
// in sysfs (amdgpu as mem_info_vram_total); for every other driver, and for software rendering, it is unknown.
#include "HostVideoMemory.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <vector>

namespace host {

static std::optional<uint32_t> videoMemoryOverride;

static constexpr uint64_t kLargestReported = 4095ull * 1024 * 1024;

static uint64_t readSysfsFigure(const std::string& path) {
    FILE* file = fopen(path.c_str(), "r");
    if (!file) return 0;
    unsigned long long bytes = 0;
    if (fscanf(file, "%llu", &bytes) != 1) bytes = 0;
    fclose(file);
    return bytes;
}

uint32_t queryVideoMemory() {
    if (videoMemoryOverride) return *videoMemoryOverride;
    // The first card, in name order, that reports a figure; "card0-DP-1" and the like are outputs, not cards.
    std::vector<std::string> cards;
    if (DIR* dir = opendir("/sys/class/drm")) {
        while (struct dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.rfind("card", 0) == 0 && name.find('-') == std::string::npos) cards.push_back(name);
        }
        closedir(dir);
    }
    std::sort(cards.begin(), cards.end());
    uint64_t total = 0;
    for (const std::string& card : cards)
        if ((total = readSysfsFigure("/sys/class/drm/" + card + "/device/mem_info_vram_total")) != 0) break;
    return uint32_t(total > kLargestReported ? kLargestReported : total);
}

void setVideoMemoryOverride(std::optional<uint32_t> bytes) {
    videoMemoryOverride = bytes;
}

} // namespace host
