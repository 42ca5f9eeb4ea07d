// The brush table and the tile painting rules (automatic collision and auto-tiling).
#include "TileBrush.h"

#include "KRandom.h"
#include "TileLayer.h"
#include "TileMap.h"

#include <array>
#include <cmath>

void TileBrush::normalizeWeights() {
    double sum = 0;
    for (double weight : weights) sum += weight;
    if (sum <= 0) return;
    for (double& weight : weights) weight /= sum;
}

int32_t TileBrush::pickTile() const {
    if (tiles.empty()) return 0;
    const double r = double(kRand()) / 32767.0;
    double sum = 0;
    for (size_t i = 0; i < weights.size() && i < tiles.size(); i++) {
        sum += weights[i];
        if (sum >= r) return tiles[i];
    }
    return tiles.front();
}

namespace {

using BrushList = std::vector<std::unique_ptr<TileBrush>>;

struct PatternRow {
    int32_t shape;
    std::array<int32_t, 4> offsetsA; // pattern A: two tiles at 1.0, then two at 0.4
    std::array<int32_t, 2> offsetsB; // pattern B: two tiles at 1.0
};

// The 13 shapes of a terrain group in brush order, with their tile offsets from the group's base code.
constexpr std::array<PatternRow, 12> kEdgePattern = {{
    {5, {8, 12, 16, 20}, {8, 12}},
    {3, {9, 13, 17, 21}, {9, 13}},
    {4, {10, 14, 18, 22}, {10, 14}},
    {2, {11, 15, 19, 23}, {11, 15}},
    {9, {24, 29, 32, 37}, {16, 21}},
    {7, {25, 30, 33, 38}, {17, 22}},
    {6, {26, 31, 34, 39}, {18, 23}},
    {8, {27, 28, 35, 36}, {19, 20}},
    {10, {40, 45, 48, 53}, {24, 29}},
    {12, {41, 46, 49, 54}, {25, 30}},
    {13, {42, 47, 50, 55}, {26, 31}},
    {11, {43, 44, 51, 52}, {27, 28}},
}};

void addBrush(BrushList& list, std::vector<int32_t> tiles, std::vector<double> weights = {}, int shape = 0,
              int group = 0) {
    auto brush = std::make_unique<TileBrush>();
    if (weights.empty()) weights.assign(tiles.size(), 1.0);
    brush->tiles = std::move(tiles);
    brush->weights = std::move(weights);
    brush->shape = shape;
    brush->group = group;
    brush->normalizeWeights();
    list.push_back(std::move(brush));
}

// Pattern A: the full brush holds b+0 .. b+7 and b+56 .. b+63; the last eight weigh lastEightWeight.
void addPatternA(BrushList& list, int group, int b, double lastEightWeight) {
    std::vector<int32_t> tiles;
    std::vector<double> weights;
    for (int i = 0; i < 8; i++) tiles.push_back(b + i), weights.push_back(1.0);
    for (int i = 56; i < 64; i++) tiles.push_back(b + i), weights.push_back(lastEightWeight);
    addBrush(list, tiles, weights, 1, group);
    for (const PatternRow& row : kEdgePattern) {
        const auto& o = row.offsetsA;
        addBrush(list, {b + o[0], b + o[1], b + o[2], b + o[3]}, {1.0, 1.0, 0.4, 0.4}, row.shape, group);
    }
}

void addPatternB(BrushList& list, int group, int b) {
    std::vector<int32_t> tiles;
    for (int i = 0; i < 8; i++) tiles.push_back(b + i);
    addBrush(list, tiles, {}, 1, group);
    for (const PatternRow& row : kEdgePattern)
        addBrush(list, {b + row.offsetsB[0], b + row.offsetsB[1]}, {}, row.shape, group);
}

bool isFrontLayer(const TileLayer& layer) {
    return std::fabs(layer.scrollX - 1) < 0.01 && std::fabs(layer.scrollY - 1) < 0.01;
}

} // namespace

std::vector<std::unique_ptr<TileBrush>> buildTileBrushList() {
    BrushList list;
    list.reserve(kTileBrushCount);
    for (int code = 0; code <= 2; code++) addBrush(list, {code});
    addPatternA(list, 1, 3, 0.2);
    for (int code = 67; code <= 79; code += 2) addBrush(list, {code, code + 1});
    addPatternA(list, 2, 81, 1.0);
    addPatternA(list, 3, 145, 1.0);
    for (int code = 209; code <= 212; code++) addBrush(list, {code});
    addBrush(list, {213, 214, 215, 216});
    for (int code = 217; code <= 222; code++) addBrush(list, {code});
    addBrush(list, {223, 225});
    addBrush(list, {224, 226});
    addBrush(list, {227, 228, 229, 230});
    for (int code = 231; code <= 236; code++) addBrush(list, {code});
    addPatternB(list, 4, 237);
    addPatternB(list, 5, 269);
    return list;
}

const TileBrush* TilePainter::findBrushOfTile(int code) const {
    for (const auto& brush : brushes)
        for (int32_t tile : brush->tiles)
            if (tile == code) return brush.get();
    return nullptr;
}

const TileBrush* TilePainter::findShapedBrush(int group, int shape) const {
    for (const auto& brush : brushes)
        if (brush->group == group && brush->shape == shape) return brush.get();
    return nullptr;
}

void TilePainter::paintTile(TileLayer& layer, int col, int row, const TileBrush& brush) const {
    autoCollide(layer, col, row, brush);
    layer.grid.set(col, row, uint16_t(brush.pickTile()));
    if (autoTile && brush.shape == kShapeFull) autoTileAround(layer, col, row);
}

void TilePainter::autoCollide(const TileLayer& layer, int col, int row, const TileBrush& brush) const {
    if (!autoCollision || !isFrontLayer(layer)) return;
    tileMap.collisionGrid.set(col, row, uint8_t(brush.shape));
}

void TilePainter::autoTileAround(TileLayer& layer, int col, int row) const {
    const TileBrush* painted = findBrushOfTile(layer.grid.get(col, row));
    if (!painted) return;
    static constexpr int kAround[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
    for (const auto& step : kAround) reshapeNeighbour(painted->group, layer, col + step[0], row + step[1]);
}

bool TilePainter::isSolidOfGroup(const TileLayer& layer, int col, int row, int group) const {
    if (!layer.grid.contains(col, row)) return false;
    const TileBrush* brush = findBrushOfTile(layer.grid.get(col, row));
    return brush && brush->group == group && brush->shape == kShapeFull;
}

void TilePainter::reshapeNeighbour(int group, TileLayer& layer, int c, int r) const {
    if (!layer.grid.contains(c, r)) return;
    if (isSolidOfGroup(layer, c, r, group)) return;
    const bool up = isSolidOfGroup(layer, c, r - 1, group), down = isSolidOfGroup(layer, c, r + 1, group);
    const bool left = isSolidOfGroup(layer, c - 1, r, group), right = isSolidOfGroup(layer, c + 1, r, group);
    if ((up && down) || (left && right)) return;
    const bool upLeft = isSolidOfGroup(layer, c - 1, r - 1, group);
    const bool upRight = isSolidOfGroup(layer, c + 1, r - 1, group);
    const bool downRight = isSolidOfGroup(layer, c + 1, r + 1, group);
    const bool downLeft = isSolidOfGroup(layer, c - 1, r + 1, group);
    int shape = -1;
    if (up && right)
        shape = kShapeNoBottomLeft;
    else if (up && left)
        shape = kShapeNoBottomRight;
    else if (down && right)
        shape = kShapeNoTopLeft;
    else if (down && left)
        shape = kShapeNoTopRight;
    else if (up)
        shape = kShapeTopHalf;
    else if (right)
        shape = kShapeRightHalf;
    else if (down)
        shape = kShapeBottomHalf;
    else if (left)
        shape = kShapeLeftHalf;
    else if (upLeft)
        shape = kShapeTopLeft;
    else if (upRight)
        shape = kShapeTopRight;
    else if (downRight)
        shape = kShapeBottomRight;
    else if (downLeft)
        shape = kShapeBottomLeft;
    if (shape < 0) return;
    writeShapedTile(layer, c, r, shape, group);
}

void TilePainter::writeShapedTile(TileLayer& layer, int col, int row, int shape, int group) const {
    const TileBrush* brush = findShapedBrush(group, shape);
    if (!brush) return; // a group without that shape leaves the cell as it is
    autoCollide(layer, col, row, *brush);
    layer.grid.set(col, row, uint16_t(brush->pickTile()));
}
