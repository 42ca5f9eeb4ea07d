// Tile brushes: weighted sets of interchangeable tile codes that the editor paints with, the table of the 95
// brushes, and the painting rules that go with them: automatic collision on the front layers and the
// auto-tiling that reshapes the cells around a solid tile into the edges and corners of its terrain group.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TileLayer;

struct TileBrush {
    std::vector<int32_t> tiles;
    std::vector<double> weights; // one per tile; sum to 1 after normalizeWeights
    int32_t shape = 0;           // the collision shape the tiles fill; 1 = fully solid
    int32_t group = 0;           // the auto-tiling terrain group, 0 = none

    void normalizeWeights();
    // One tile drawn at random by weight (one kRand draw); the first tile when rounding leaves none.
    int32_t pickTile() const;
};

constexpr int kTileBrushCount = 95;

// The brush list in its fixed order; every tile code 0 .. 300 belongs to one brush.
std::vector<std::unique_ptr<TileBrush>> buildTileBrushList();

// The painting rules over a brush list, the level's collision grid and the editor's two switches.
class TilePainter {
public:
    explicit TilePainter(const std::vector<std::unique_ptr<TileBrush>>& brushList) : brushes(brushList) {}

    // The first brush whose tiles hold the code; null when none does.
    const TileBrush* findBrushOfTile(int code) const;
    // The first brush of the group with the shape; null when the group has none.
    const TileBrush* findShapedBrush(int group, int shape) const;

    void paintTile(TileLayer& layer, int col, int row, const TileBrush& brush) const;
    // On a front layer (scroll factors 1) with automatic collision on: the cell's collision = the brush shape.
    void autoCollide(const TileLayer& layer, int col, int row, const TileBrush& brush) const;
    void autoTileAround(TileLayer& layer, int col, int row) const;
    void reshapeNeighbour(int group, TileLayer& layer, int col, int row) const;
    bool isSolidOfGroup(const TileLayer& layer, int col, int row, int group) const;
    void writeShapedTile(TileLayer& layer, int col, int row, int shape, int group) const;

    bool autoTile = true;
    bool autoCollision = true;

private:
    const std::vector<std::unique_ptr<TileBrush>>& brushes;
};
