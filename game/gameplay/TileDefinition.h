// The tile definitions: for each tile code, the sprite-sheet frame that draws it, its turn and mirror, and
// whether it is drawn opaque or blended. Built once at start-up from the theme sprite sheets.
#pragma once

#include <cstdint>
#include <memory>

class SpriteAnimation;

enum TileDrawMode : int {
    kTileOpaque = 0,
    kTileBlended = 1,
    kTileOpaqueRotated = 2,
    kTileBlendedRotated = 3,
};

class TileDefinition {
public:
    // The draw mode follows from the two flags: opaque ? (rotation ? 2 : 0) : (rotation ? 3 : 1).
    TileDefinition(bool opaque, int rotation, bool flipX, std::unique_ptr<SpriteAnimation> animation);
    ~TileDefinition();
    TileDefinition(const TileDefinition&) = delete;
    TileDefinition& operator=(const TileDefinition&) = delete;

    // The current frame with its top-left at the screen point.
    void draw(int x, int y);
    // The current frame cut at the screen line lineY: only the part below the line (drawBelow), or above it.
    void drawBelow(int x, int y, int lineY);
    void drawAbove(int x, int y, int lineY);

    int opaque = 0;
    int rotation = 0; // degrees: 0, 90, 180 or 270
    uint8_t flipX = 0;
    uint8_t flipY = 0;
    int drawMode = kTileBlended;
    std::unique_ptr<SpriteAnimation> animation; // none for the empty code 0
};

// Builds the definitions of codes 0 .. 300 over the theme sprite sheets (which must exist already).
void buildTileDefinitions();
// Deletes every definition and its animation.
void freeTileDefinitions();
// The definition of a tile code (code 0 has no animation and draws nothing); null past 300 and before the build.
TileDefinition* getTileDefinition(int code);
// One step of every animated tile (water); the others have no sequence to advance.
void updateAnimatedTiles();
