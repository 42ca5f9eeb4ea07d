// The tiled picture: eight textures and the thirteen pieces that cover the game area.
#include "TiledPicture.h"

#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "SpriteSheet.h"

namespace {

struct Piece {
    int texture; // 1..8
    float sx1, sy1, sx2, sy2;
    short dx, dy;
};

constexpr Piece kPieces[13] = {
    {1, 0, 0, 256, 256, 0, 0},       {2, 0, 0, 256, 256, 256, 0},     {3, 0, 0, 256, 256, 512, 0},
    {4, 0, 0, 256, 256, 0, 256},     {5, 0, 0, 256, 256, 256, 256},   {6, 0, 0, 256, 256, 512, 256},
    {7, 0, 0, 256, 88, 0, 512},      {7, 0, 128, 256, 216, 256, 512}, {8, 0, 0, 32, 256, 768, 0},
    {8, 32, 0, 64, 256, 768, 256},   {8, 64, 0, 96, 88, 768, 512},    {8, 96, 0, 224, 88, 512, 512},
    {8, 96, 88, 224, 176, 640, 512},
};

} // namespace

TiledPicture::~TiledPicture() {
    release();
}

void TiledPicture::load(const std::string& prefix) {
    release();
    for (size_t i = 0; i < textures.size(); i++) {
        textures[i] = createGraphic();
        loadGraphicsPicture(textures[i], prefix + std::to_string(i + 1) + ".jpg");
    }
}

void TiledPicture::release() {
    for (KGraphic*& texture : textures) {
        delete texture;
        texture = nullptr;
    }
}

void TiledPicture::draw() {
    for (const Piece& p : kPieces)
        if (KGraphic* texture = textures[size_t(p.texture - 1)])
            texture->blitRect(p.sx1, p.sy1, p.sx2, p.sy2, p.dx, p.dy, false, false);
}
