// The tiles a frame of play need not draw: those whose cell on the screen lies wholly under tiles of the layers
// drawn over it that fill their cells, and blended tiles that draw nothing at all. Leaving them out fills far
// fewer pixels (the back layers cover the screen, the terrain covers much of them again) and leaves every
// pixel on the screen as it was. What no tile fills is painted black first.
#pragma once

#include "TileLayer.h"

#include <array>
#include <cstdint>
#include <vector>

// A rectangle of game-area pixels, right and bottom exclusive.
struct ScreenRect {
    int left, top, right, bottom;
};

class TileOcclusion {
public:
    // Works out the hidden tiles of every layer seen from the camera position, for a frame that draws the
    // layers in their order onto the game area with the default view (nothing outside the area is seen).
    void plan(double cameraX, double cameraY);
    // The cells of the layer's view (TileLayer::view from the same camera position) to leave out.
    const TileViewMask& hiddenTiles(int layer) const { return hidden[size_t(layer)]; }
    // The pixels of the game area that no tile of the planned frame fills, as rectangles (runs of screen lines
    // with the same gaps joined, so that a level with a gap of whole cells gives a few); empty when the layers
    // fill the whole area.
    const std::vector<ScreenRect>& uncoveredRects() const { return uncovered; }

private:
    static constexpr int kCoverWords = (kGameWidth + 63) / 64;
    using CoverRow = std::array<uint64_t, kCoverWords>; // one bit per pixel of a screen line

    void planLayer(int layer, double cameraX, double cameraY);
    void collectUncovered();
    void addGaps(const CoverRow& line, int top, int bottom);

    std::array<TileViewMask, kTileLayerCount> hidden = {};
    std::array<CoverRow, kGameHeight> cover = {}; // pixels filled by the layers planned so far (drawn later)
    std::vector<ScreenRect> uncovered;            // kept from frame to frame, so it allocates only when it grows
};

// The plan of this frame for the game state's draw; null while the occlusion is off.
const TileOcclusion* planTileOcclusion(double cameraX, double cameraY);
// Paints opaque black where no tile of the frame fills the game area (all of it without a plan), so that no
// earlier frame shows through a level's empty cells. Drawn first, before the tile layers.
void fillUncoveredBlack(const TileOcclusion* plan);
// On by default. Off, every tile is drawn: tests compare the two draws pixel for pixel.
void setTileOcclusion(bool on);
