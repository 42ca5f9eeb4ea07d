// The main of every test binary: runs headless (offscreen video with a real Mesa GL context, dummy
// audio) and gives the per-user folder a fresh temporary home, unless the caller chose otherwise.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string home =
        (std::filesystem::temp_directory_path() / ("glimmerfin-home-" + std::to_string(getpid()))).string();
    setenv("XDG_DATA_HOME", home.c_str(), 0);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
