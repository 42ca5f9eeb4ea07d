// The level builder: a level's text turned into the game's level model. Terrain cells are painted with the full
// tiles of their brush group and the cells around them shaped into its edges and corners, each with its
// collision shape; the water and sky backdrops, the waves of the surface row and the far reefs are added; the
// decoration, placements, end marker and goals are set; then the game's writer saves it.
#include "LevelBuilder.h"

#include "KRandom.h"
#include "LevelFile.h"
#include "PlacementList.h"
#include "TerrainCodes.h"
#include "TileBrush.h"
#include "TileLayer.h"
#include "TileMap.h"
#include "TileSetTable.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Tile codes of the terrain tables used here (rotation 0, unflipped unless named).
constexpr uint16_t kWaterSurface = 1; // animated surface with the wave crest at the cell's middle
// The deep-water backdrop bands, unflipped; the code after each is the same frame mirrored. Under the surface
// come the shallow band (or the same band with light shafts), two bands darkening downwards, then the plain deep
// water with bubbles and far reefs scattered on it.
constexpr uint16_t kShallow = 67, kShallowShafts = 75, kMiddle = 69, kLow = 71;
constexpr uint16_t kDeepWater = 73, kBubbles = 77, kFarReef = 79;
constexpr uint16_t kSkyZenith = 209, kSkyHigh = 210, kSkyHorizon = 211, kLoneCloud = 212;
constexpr uint16_t kCloudLeft = 214, kCloudRight = 215; // the cloud bank that alternates along a row

class LevelSketch {
public:
    explicit LevelSketch(const LevelText& text)
        : text(text), cols(text.cols()), rows(text.rows()), surface(text.surfaceRow), brushes(buildTileBrushList()),
          painter(brushes) {
        painter.autoTile = false; // the edges are shaped once the whole terrain stands
        createTileMap();
        Placements.clearPlacements();
        kSrand(text.seed);
        currentTileSet = text.tileSet;
        setLevelSize(cols * double(kTileSize), rows * double(kTileSize));
        setClipLevel(surface * double(kTileSize) + kTileSize / 2);
        tileMap.boundsRight = cols * kTileSize;
        tileMap.boundsBottom = rows * kTileSize;
    }

    bool save(const std::string& path) {
        paintWaterAndSky();
        paintTerrain();
        // No waves drawn over rock that stands in the surface row.
        for (int32_t col = 0; col < cols; ++col)
            if (tileMap.collisionGrid.get(col, surface) == kShapeFull)
                getTileLayer(kLayerFront3)->grid.set(col, surface, 0);
        shapeEdges();
        paintDecor(text.decorBehind, kLayerFront1);
        paintDecor(text.decorFront, kLayerFront4);
        raiseSurfaceEdges();
        paintFarReefs();
        for (const EntityPlacement& placement : text.entities) Placements.appendPlacement(placement);
        EndLevelX = text.hasEndMarker ? cellCentre(text.endCol) : 0.0;
        EndLevelY = text.hasEndMarker ? cellCentre(text.endRow) : 0.0;
        CurrentLevelGoals = LevelGoals{};
        CurrentLevelGoals.gameMode = text.gameMode();
        if (text.kind == LevelTextKind::Stunt) {
            CurrentLevelGoals.medalScores = text.medalScores;
            CurrentLevelGoals.timeLimit = text.timeLimit;
        }
        if (text.kind == LevelTextKind::Race) CurrentLevelGoals.medalTimes = text.medalTimes;
        const bool written = writeLevelFile(path);
        if (!written) std::fprintf(stderr, "levelgen: could not write %s\n", path.c_str());
        return written;
    }

private:
    TileLayer& terrain() { return *getTileLayer(kLayerFront2); }

    int groupAt(int32_t col, int32_t row) const { return terrainGroupOfChar(text.terrain[size_t(row)][size_t(col)]); }

    void paintTerrain() {
        for (int32_t row = 0; row < rows; ++row)
            for (int32_t col = 0; col < cols; ++col)
                if (const int group = groupAt(col, row); group > 0)
                    painter.paintTile(terrain(), col, row, *painter.findShapedBrush(group, kShapeFull));
    }

    // Every empty cell beside solid ground takes the edge or corner tile of that ground's group, and the
    // collision shape of that tile: the auto-tiling rule of the editor, run once over the whole map.
    void shapeEdges() {
        TileLayer& layer = terrain();
        for (int32_t row = 0; row < rows; ++row)
            for (int32_t col = 0; col < cols; ++col)
                for (int group = 1; group <= kTerrainGroupCount; ++group) {
                    if (layer.grid.get(col, row) != 0) break;
                    painter.reshapeNeighbour(group, layer, col, row);
                }
    }

    // An edge of terrain that shares a cell of the surface row with the water is drawn on the layer in front of
    // the waves, so the translucent wave veils only the open part of the cell and not the solid one. A cell that
    // already holds a front decoration keeps its edge where it is.
    void raiseSurfaceEdges() {
        TileGrid& front = getTileLayer(kLayerFront4)->grid;
        for (int32_t col = 0; col < cols; ++col) {
            const uint8_t shape = tileMap.collisionGrid.get(col, surface);
            if (shape == kShapeNone || shape == kShapeFull || front.get(col, surface) != 0) continue;
            front.set(col, surface, terrain().grid.get(col, surface));
            terrain().grid.set(col, surface, 0);
        }
    }

    void paintDecor(const std::vector<std::string>& grid, TileLayerId layer) {
        TileGrid& tiles = getTileLayer(layer)->grid;
        for (int32_t row = 0; row < int32_t(grid.size()); ++row)
            for (int32_t col = 0; col < cols; ++col) {
                const std::vector<uint16_t>& codes = decorTilesOfChar(grid[size_t(row)][size_t(col)]);
                if (!codes.empty()) tiles.set(col, row, codes[scatter(col, row) % codes.size()]);
            }
    }

    // A number 0..99 for a backdrop cell, the same on every run and independent of the brushes' random choices.
    uint32_t scatter(int32_t col, int32_t row) const {
        uint32_t h = text.seed * 2654435761u ^ uint32_t(col) * 40503u ^ uint32_t(row) * 2246822519u;
        h ^= h >> 13;
        h *= 2654435769u;
        return (h ^ (h >> 16)) % 100;
    }
    // A backdrop band, mirrored in about half the cells so that repeats are harder to spot.
    uint16_t band(uint16_t code, int32_t col, int32_t row) const {
        return uint16_t(code + (scatter(col + 17, row) < 50 ? 1 : 0));
    }

    // The deep-water band of a row below the surface (fromSurface >= 1).
    uint16_t waterBand(int32_t col, int32_t row, int32_t fromSurface) const {
        if (fromSurface == 1) return band(scatter(col, row) < 40 ? kShallowShafts : kShallow, col, row);
        if (fromSurface == 2) return band(kMiddle, col, row);
        if (fromSurface == 3) return band(kLow, col, row);
        return band(scatter(col, row) < 4 ? kBubbles : kDeepWater, col, row);
    }

    // Sky above the surface, the surface row in front of the entities, the water backdrop below it.
    void paintWaterAndSky() {
        for (int32_t row = 0; row < rows; ++row) {
            const uint8_t substance = row < surface    ? kSubstanceAir
                                      : row == surface ? kSubstanceTransition
                                                       : kSubstanceWater;
            for (int32_t col = 0; col < cols; ++col) tileMap.substanceGrid.set(col, row, substance);
        }
        // The screen-fixed Back Water layer shows only below the surface, wherever the Back Air layer leaves a
        // gap: plain deep water with a few bubbles.
        TileGrid& backWater = getTileLayer(kLayerBackWater)->grid;
        for (int32_t row = 0; row < backWater.rows(); ++row)
            for (int32_t col = 0; col < backWater.cols(); ++col) backWater.set(col, row, waterBand(col, row, 4));
        // The Back Air layer stays fixed across the screen and scrolls with the level upwards and downwards: the
        // sky bands above the surface, the water bands getting deeper below it, so the backdrop follows the
        // depth of the water the player swims in.
        TileGrid& backAir = getTileLayer(kLayerBackAir)->grid;
        for (int32_t row = 0; row < backAir.rows(); ++row)
            for (int32_t col = 0; col < backAir.cols(); ++col) {
                const int32_t fromSurface = row - surface; // 0 at the surface row, negative in the sky
                uint16_t code = 0;
                if (fromSurface > 0)
                    code = waterBand(col, row, fromSurface);
                else if (fromSurface <= -3)
                    code = kSkyZenith;
                else if (fromSurface == -2)
                    code = kSkyHigh;
                else if (fromSurface == -1) // the cloud bank: its two halves alternate along the row
                    code = col % 2 == 0 ? kCloudLeft : kCloudRight;
                else // the horizon behind the waves, a lone cloud now and then
                    code = scatter(col, row) < 25 ? kLoneCloud : kSkyHorizon;
                backAir.set(col, row, code);
            }
        for (int32_t col = 0; col < cols; ++col) getTileLayer(kLayerFront3)->grid.set(col, surface, kWaterSurface);
    }

    // The top of the floor in a column: the highest row of the terrain that reaches down to the bottom row.
    int32_t groundRow(int32_t col) const {
        int32_t row = rows;
        while (row > 0 && groupAt(col, row - 1) > 0) --row;
        return row;
    }

    // Far reefs in runs along the deep water just above the usual floor height, where the plain deep band lies.
    void paintFarReefs() {
        std::vector<int32_t> ground;
        for (int32_t col = 0; col < cols; ++col) ground.push_back(groundRow(col));
        std::nth_element(ground.begin(), ground.begin() + ground.size() / 2, ground.end());
        const int32_t row = ground[ground.size() / 2] - 1;
        TileGrid& backAir = getTileLayer(kLayerBackAir)->grid;
        if (row - surface < 4 || row >= backAir.rows()) return;
        for (int32_t col = 0; col < backAir.cols(); ++col)
            if (scatter(col / 3, row) < 55) backAir.set(col, row, band(kFarReef, col, row));
    }

    const LevelText& text;
    const int32_t cols, rows, surface;
    std::vector<std::unique_ptr<TileBrush>> brushes;
    TilePainter painter;
};

} // namespace

bool buildLevel(const LevelText& level, const std::string& path) {
    return LevelSketch(level).save(path);
}
