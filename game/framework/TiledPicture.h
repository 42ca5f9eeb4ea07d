// A full-screen picture kept as eight 256-pixel textures (prefix + "1.jpg" .. prefix + "8.jpg") and drawn
// unblended over the 800 x 600 game area: the menu backdrops.
#pragma once

#include <array>
#include <string>

class KGraphic;

class TiledPicture {
public:
    TiledPicture() = default;
    ~TiledPicture();
    TiledPicture(const TiledPicture&) = delete;
    TiledPicture& operator=(const TiledPicture&) = delete;

    void load(const std::string& prefix);
    void release();
    void draw();

private:
    std::array<KGraphic*, 8> textures{};
};
