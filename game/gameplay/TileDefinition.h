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

// What a tile's draw leaves on its 64 x 64 cell, whatever frame its animation shows.
enum TileCoverage : uint8_t {
    kTileCoverageUnknown = 0, // draws part of the cell, or not known
    kTileFillsCell,           // writes every pixel of the cell, whatever lay under it
    kTileDrawsNothing,        // blended from wholly transparent frames: leaves every pixel as it was
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
    TileCoverage coverage = kTileCoverageUnknown; // set by classifyTileDefinitions
    std::unique_ptr<SpriteAnimation> animation;   // none for the empty code 0
};

// Builds the definitions of codes 0 .. 300 over the theme sprite sheets (which must exist already).
void buildTileDefinitions();
// Sets every definition's coverage from the alpha of the frames it shows, measuring the sheets' pictures that
// are not measured yet. Runs when the definitions are built and whenever the tile set's pictures change.
void classifyTileDefinitions();
// Deletes every definition and its animation.
void freeTileDefinitions();
// The definition of a tile code (code 0 has no animation and draws nothing); null past 300 and before the build.
TileDefinition* getTileDefinition(int code);
// Every animated tile (water) back at its first frame, as the level before left them anywhere.
void restartAnimatedTiles();
// One step of every animated tile (water); the others have no sequence to advance.
void updateAnimatedTiles();
