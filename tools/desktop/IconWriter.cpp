// Writes the game's icon, the picture its window shows, as PNG files of the sizes given, for the install to put
// where desktops look: glimmerfin_icons FOLDER SIZE... writes FOLDER/SIZE.png for each size.
#include "HostWindow.h"
#include "KImage.h"
#include "KImageFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    for (int i = 2; i < argc; i++) {
        int size = std::atoi(argv[i]);
        KImage icon;
        if (size <= 0 || !icon.allocate(size, size, /*alpha=*/true)) {
            std::fprintf(stderr, "%s: no icon of size '%s'\n", argv[0], argv[i]);
            return 1;
        }
        host::drawWindowIcon(icon.getPixels(), size);
        std::string path = std::string(argv[1]) + "/" + std::to_string(size) + ".png";
        if (!writeImageFile(path.c_str(), icon, K_IMAGE_PNG, "glimmerfin_icons", "the icon")) {
            std::fprintf(stderr, "%s: could not write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
