// The asset generator's entry: writes every data file of the game into the data folder.
// Usage: assetgen --data DIR --tables DIR --fonts DEJAVU_DIR [--contact PNG] [--only FAMILY]
#include "AssetFamilies.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    std::string data, tables, fonts, contact, only;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        if (key == "--data")
            data = argv[i + 1];
        else if (key == "--tables")
            tables = argv[i + 1];
        else if (key == "--fonts")
            fonts = argv[i + 1];
        else if (key == "--contact")
            contact = argv[i + 1];
        else if (key == "--only")
            only = argv[i + 1];
        else {
            std::fprintf(stderr, "assetgen: unknown option %s\n", key.c_str());
            return 2;
        }
    }
    if (data.empty() || tables.empty() || fonts.empty()) {
        std::fprintf(stderr, "usage: assetgen --data DIR --tables DIR --fonts DIR [--contact PNG] [--only FAMILY]\n");
        return 2;
    }
    try {
        AssetOutput out(data);
        auto wanted = [&](const char* family) { return only.empty() || only == family; };
        if (wanted("dolphin")) writeDolphinArt(out);
        if (wanted("enemies")) writeEnemyArt(out);
        if (wanted("items")) writeItemArt(out);
        if (wanted("tiles")) writeTileArt(out);
        if (wanted("interface")) writeInterfaceArt(out);
        if (wanted("frontend")) writeFrontEndArt(out);
        if (wanted("comics")) writeComicArt(out);
        if (wanted("levelmenus")) writeLevelMenuArt(out);
        if (wanted("fonts")) writeFonts(out, fonts, tables);
        if (wanted("sounds")) writeSounds(out);
        if (wanted("music")) writeMusic(out);
        if (!contact.empty()) writeContactSheet(out, contact);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
