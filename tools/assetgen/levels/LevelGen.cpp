// The level generator: builds the shipped levels (Action, Stunt, Race and the editor's "default.lvl") in the
// game's own level model and saves each through the game's level writer.
// Usage: levelgen --data DIR (the data folder that holds levels/, stuntlevels/ and racelevels/)
#include "EntityType.h"
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
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
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

// The terrain groups of the editor's brushes: solid cells of a group are painted with its full tiles and the
// cells around them shaped into its edges and corners, each with its collision shape.
constexpr int kSand = 1, kRock = 2, kDarkRock = 3;

// One level under construction in the game's level model: the tile map, the placement list, the goals.
class LevelSketch {
public:
    // A level of cols x rows cells whose water surface lies in the middle of row surfaceRow; seed makes the
    // choice among each brush's interchangeable tiles the same on every run.
    LevelSketch(int32_t cols, int32_t rows, int32_t surfaceRow, int tileSet, uint32_t seed)
        : cols(cols), rows(rows), surface(surfaceRow), seed(seed), brushes(buildTileBrushList()), painter(brushes) {
        createTileMap();
        Placements.clearPlacements();
        kSrand(seed);
        currentTileSet = tileSet;
        setLevelSize(cols * double(kTileSize), rows * double(kTileSize));
        setClipLevel(surfaceRow * double(kTileSize) + kTileSize / 2);
        tileMap.boundsRight = cols * kTileSize;
        tileMap.boundsBottom = rows * kTileSize;
        CurrentLevelGoals = LevelGoals{};
        EndLevelX = EndLevelY = 0.0;
        paintWaterAndSky();
        ground.assign(size_t(cols), rows);
    }

    // The floor: every column solid from its ground row down.
    void setGround(const std::function<int32_t(int32_t col)>& groundRow, int group = kSand) {
        floorGroup = group;
        for (int32_t col = 0; col < cols; ++col) {
            ground[size_t(col)] = std::clamp(groundRow(col), surface + 2, rows);
            for (int32_t row = ground[size_t(col)]; row < rows; ++row) solid(col, row, group);
        }
    }
    int32_t groundRow(int32_t col) const { return ground[size_t(std::clamp(col, 0, cols - 1))]; }

    // A solid block, such as a reef, an island or a ceiling.
    void rock(int32_t col0, int32_t row0, int32_t col1, int32_t row1, int group = kRock) {
        for (int32_t row = row0; row <= row1; ++row)
            for (int32_t col = col0; col <= col1; ++col) solid(col, row, group);
    }

    // A placement at the centre of a cell; vars are Var 1 .. Var 8.
    void place(int32_t type, double col, double row, std::vector<int32_t> vars = {}) {
        EntityPlacement* record = Placements.appendPlacement(EntityPlacement{});
        record->type = type;
        record->x = x(col);
        record->y = y(row);
        std::copy_n(vars.begin(), std::min(vars.size(), record->vars.size()), record->vars.begin());
    }
    // A Gold Radudod, a mine or a plant resting on the floor of a column.
    void onFloor(int32_t type, int32_t col, std::vector<int32_t> vars = {}) {
        place(type, col, groundRow(col) - 1, std::move(vars));
    }
    // A swimmer that patrols between two cells.
    void patrol(int32_t type, double col0, double row0, double col1, double row1) {
        place(type, col0, row0, {x(col0), y(row0), x(col1), y(row1)});
    }
    int32_t x(double col) const { return int32_t(col * kTileSize + kTileSize / 2); }
    int32_t y(double row) const { return int32_t(row * kTileSize + kTileSize / 2); }

    void endMarker(double col, double row) {
        EndLevelX = x(col);
        EndLevelY = y(row);
    }

    // Shapes the terrain's edges and saves the level through the game's writer; false when it could not be
    // written.
    bool save(const std::string& path) {
        // Cliffs of the floor's ground close both sides from top to bottom: nothing can leave the level, where
        // there is no ground and no water to hold it.
        rock(0, 0, 0, rows - 1, floorGroup);
        rock(cols - 1, 0, cols - 1, rows - 1, floorGroup);
        // No waves drawn over rock that stands in the surface row.
        for (int32_t col = 0; col < cols; ++col)
            if (tileMap.collisionGrid.get(col, surface) == kShapeFull)
                getTileLayer(kLayerFront3)->grid.set(col, surface, 0);
        shapeEdges();
        paintFarReefs();
        const bool written = writeLevelFile(path);
        if (!written) std::fprintf(stderr, "levelgen: could not write %s\n", path.c_str());
        return written;
    }

    const int32_t cols, rows, surface;
    const uint32_t seed;

private:
    TileLayer& terrain() { return *getTileLayer(kLayerFront2); }

    void solid(int32_t col, int32_t row, int group) {
        if (!terrain().grid.contains(col, row)) return;
        painter.paintTile(terrain(), col, row, *painter.findShapedBrush(group, kShapeFull));
    }

    // Every empty cell beside solid ground takes the edge or corner tile of that ground's group, and the
    // collision shape of that tile: the auto-tiling rule of the editor, run once over the whole map so that
    // later blocks never reshape earlier ones.
    void shapeEdges() {
        TileLayer& layer = terrain();
        for (int32_t row = 0; row < rows; ++row)
            for (int32_t col = 0; col < cols; ++col)
                for (int group : {kSand, kRock, kDarkRock}) {
                    if (layer.grid.get(col, row) != 0) break;
                    painter.reshapeNeighbour(group, layer, col, row);
                }
    }

    // A number 0..99 for a backdrop cell, the same on every run and independent of the brushes' random choices.
    uint32_t scatter(int32_t col, int32_t row) const {
        uint32_t h = seed * 2654435761u ^ uint32_t(col) * 40503u ^ uint32_t(row) * 2246822519u;
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

    // Far reefs in runs along the deep water just above the usual floor height, where the plain deep band lies.
    void paintFarReefs() {
        std::vector<int32_t> sorted = ground;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        const int32_t row = sorted[sorted.size() / 2] - 1;
        TileGrid& backAir = getTileLayer(kLayerBackAir)->grid;
        if (row - surface < 4 || row >= backAir.rows()) return;
        for (int32_t col = 0; col < backAir.cols(); ++col)
            if (scatter(col / 3, row) < 55) backAir.set(col, row, band(kFarReef, col, row));
    }

    std::vector<int32_t> ground;
    int floorGroup = kSand;
    std::vector<std::unique_ptr<TileBrush>> brushes;
    TilePainter painter;
};

// Rolling sea floor: a base row with gentle hills.
int32_t rollingFloor(int32_t col, int32_t base, int32_t period, int32_t height) {
    const int32_t phase = col % period;
    const int32_t rise = phase < period / 2 ? phase : period - phase;
    return base - rise * height * 2 / period;
}

// A smooth bump of the floor up to row top between two columns, for sandbars and reefs to swim over.
int32_t bump(int32_t col, int32_t from, int32_t to, int32_t top, int32_t floor) {
    if (col < from || col > to) return floor;
    const int32_t half = (to - from) / 2, fromMiddle = std::abs(col - (from + half));
    return std::min(floor, top + fromMiddle * (floor - top) / std::max(half, 1) / 2);
}

// The Var fields of the kinds placed here: Mine 1 armoured; Bird 1 the far end of its path; Missile Fish and
// TNT Turtle 1 .. 4 their path; Robo Shark 1 pass frequency, 2 start on the left; Drone 1 travel distance,
// 2 rate of fire; Ornament 1 plant 0-1, rock 2-3; Powerup 1 torpedo, rapid fire, sword or fourfold, 2 length.

// The first level teaches swimming and leaping: no enemies, a sandbar to swim over, a floating rock to leap at
// and the five Gold Radudods along the way.
bool firstSwim(const std::string& path) {
    LevelSketch level(80, 24, 6, kTileSetPlain, 101);
    level.setGround([](int32_t col) {
        return std::min(bump(col, 28, 40, 10, rollingFloor(col, 16, 16, 2)), bump(col, 58, 66, 11, 16));
    });
    level.rock(47, 2, 50, 3); // floating above the water: leap under it or onto the waves beside it
    level.place(kEntityZuzevir, 4, 11);
    const int32_t gold[][2] = {{14, 12}, {34, 8}, {48, 5}, {62, 9}, {70, 13}};
    for (const auto& g : gold) level.place(kEntityGoldFish, g[0], g[1]);
    for (int32_t col : {10, 22, 44, 54, 72}) level.onFloor(kEntityOrnament, col, {col % 4});
    level.endMarker(76, 12);
    return level.save(path);
}

// Missile fish, a few mines and one turret, with a powerup to answer them.
bool targetPractice(const std::string& path) {
    LevelSketch level(90, 28, 7, kTileSetSunset, 102);
    level.setGround([](int32_t col) { return bump(col, 50, 62, 15, rollingFloor(col, 24, 20, 4)); });
    level.rock(30, 13, 34, 15); // a reef in mid-water to hide behind
    level.place(kEntityZuzevir, 4, 12);
    level.patrol(kEntityLaserFish, 16, 12, 22, 14);
    level.patrol(kEntityLaserFish, 26, 18, 34, 19);
    level.patrol(kEntityLaserFish, 44, 11, 50, 12);
    level.patrol(kEntityLaserFish, 68, 14, 76, 17);
    level.place(kEntityMine, 38, 12, {0});
    level.place(kEntityMine, 40, 17, {0});
    level.place(kEntityMine, 64, 11, {1});
    level.onFloor(kEntityTurret, 56);
    level.place(kEntityPowerup, 24, 10, {1, 15});
    const int32_t gold[][2] = {{12, 16}, {32, 17}, {46, 20}, {60, 9}, {80, 18}};
    for (const auto& g : gold) level.place(kEntityGoldFish, g[0], g[1]);
    for (int32_t col : {8, 20, 42, 70, 84}) level.onFloor(kEntityOrnament, col, {col % 4});
    level.endMarker(86, 14);
    return level.save(path);
}

// Under the ice shelf: a long tunnel with turrets on its floor, TNT turtles and an eel in the open water after.
bool iceShelf(const std::string& path) {
    LevelSketch level(96, 26, 6, kTileSetSnow, 103);
    level.setGround([](int32_t col) { return rollingFloor(col, 21, 24, 3); });
    level.rock(24, 5, 52, 9, kRock);   // the shelf: a roof from the surface down, so the tunnel runs below it
    level.rock(36, 14, 39, 15, kRock); // and a boulder in the tunnel
    level.place(kEntityZuzevir, 4, 12);
    level.onFloor(kEntityTurret, 30);
    level.onFloor(kEntityTurret, 46);
    level.place(kEntityMine, 34, 12, {0});
    level.place(kEntityMine, 44, 15, {1});
    level.patrol(kEntityTntTurtle, 58, 12, 66, 14);
    level.patrol(kEntityTntTurtle, 70, 15, 78, 13);
    level.place(kEntityEel, 84, 15);
    level.patrol(kEntityLaserFish, 62, 16, 72, 16);
    level.place(kEntityPowerup, 20, 14, {2, 15});
    level.place(kEntityPowerup, 56, 15, {0, 10});
    const int32_t gold[][2] = {{16, 15}, {38, 12}, {50, 15}, {74, 10}, {88, 14}};
    for (const auto& g : gold) level.place(kEntityGoldFish, g[0], g[1]);
    level.endMarker(92, 12);
    return level.save(path);
}

// The deep trench: the Robo Shark patrols the drop, drones hover over the surface, guns guard the far rim.
bool deepTrench(const std::string& path) {
    LevelSketch level(100, 40, 6, kTileSetVolcano, 104);
    level.setGround(
        [](int32_t col) {
            if (col > 24 && col < 66) return 36 - (col % 7 == 0 ? 1 : 0); // the trench
            return rollingFloor(col, 20, 12, 3);
        },
        kRock);
    level.rock(32, 12, 36, 15, kDarkRock);
    level.rock(50, 20, 55, 23, kDarkRock);
    level.place(kEntityZuzevir, 4, 11);
    level.place(kEntityEel, 30, 30);
    level.place(kEntityRoboShark, 45, 28, {4, 1});
    level.place(kEntityDrone, 40, 3, {400, 2});
    level.place(kEntityDrone, 72, 3, {300, 2});
    level.onFloor(kEntityAutoGun, 70);
    level.onFloor(kEntityAutoGun, 82);
    level.place(kEntityMine, 60, 14, {1});
    level.patrol(kEntityTntTurtle, 76, 12, 86, 14);
    level.place(kEntityPowerup, 28, 18, {3, 15});
    level.place(kEntityPowerup, 58, 32, {0, 12});
    const int32_t gold[][2] = {{18, 14}, {34, 26}, {48, 32}, {62, 24}, {90, 12}};
    for (const auto& g : gold) level.place(kEntityGoldFish, g[0], g[1]);
    level.endMarker(96, 12);
    return level.save(path);
}

// The alien reef: everything met so far at once, around coral pillars rising from the floor.
bool alienReef(const std::string& path) {
    LevelSketch level(110, 30, 7, kTileSetAlien, 105);
    level.setGround([](int32_t col) {
        int32_t row = rollingFloor(col, 24, 18, 4);
        for (int32_t pillar : {22, 46, 70, 90})
            if (col >= pillar && col <= pillar + 2) row = 13; // a pillar with open water above it
        return row;
    });
    level.rock(54, 9, 62, 10, kDarkRock);
    level.place(kEntityZuzevir, 4, 12);
    level.patrol(kEntityLaserFish, 14, 12, 20, 15);
    level.patrol(kEntityLaserFish, 34, 11, 42, 15);
    level.patrol(kEntityLaserFish, 76, 15, 86, 17);
    level.place(kEntityMine, 28, 16, {1});
    level.place(kEntityMine, 50, 12, {1});
    level.place(kEntityMine, 66, 17, {0});
    level.onFloor(kEntityTurret, 38);
    level.onFloor(kEntityTurret, 80);
    level.place(kEntityRoboShark, 60, 17, {3, 0});
    level.place(kEntityDrone, 96, 3, {300, 3});
    level.patrol(kEntityTntTurtle, 94, 12, 102, 16);
    level.place(kEntityPowerup, 12, 16, {1, 15});
    level.place(kEntityPowerup, 58, 14, {3, 15});
    const int32_t gold[][2] = {{23, 10}, {47, 10}, {58, 16}, {71, 10}, {91, 10}};
    for (const auto& g : gold) level.place(kEntityGoldFish, g[0], g[1]);
    level.endMarker(106, 12);
    return level.save(path);
}

void stuntGoals(int32_t bronze, int32_t silver, int32_t gold, double timeLimit) {
    CurrentLevelGoals.gameMode = kGameModeStunt;
    CurrentLevelGoals.medalScores = {bronze, silver, gold};
    CurrentLevelGoals.timeLimit = timeLimit;
}

void raceGoals(double bronze, double silver, double gold) {
    CurrentLevelGoals.gameMode = kGameModeRace;
    CurrentLevelGoals.medalTimes = {bronze, silver, gold};
}

// A wide, deep pool with open sky: a single flip scores 700, a double 4900, so a steady player reaches
// bronze in the time with a dozen single flips.
bool splashPark(const std::string& path) {
    LevelSketch level(64, 26, 10, kTileSetPlain, 201);
    level.setGround([](int32_t col) { return col < 3 || col > 60 ? 12 : bump(col, 28, 36, 19, 23); });
    level.place(kEntityZuzevir, 12, 15);
    level.place(kEntityBird, 20, 4, {level.x(44)});
    for (int32_t col : {10, 24, 40, 52}) level.onFloor(kEntityOrnament, col, {col % 4});
    stuntGoals(5000, 12000, 25000, 90.0);
    return level.save(path);
}

// Two pools either side of an ice rock rising out of the sea, with a low sky ceiling far above.
bool frozenBay(const std::string& path) {
    LevelSketch level(72, 28, 10, kTileSetSnow, 202);
    level.setGround([](int32_t col) { return rollingFloor(col, 24, 24, 4); });
    level.rock(33, 3, 38, 5, kRock); // a floating ice floe to leap past
    level.place(kEntityZuzevir, 10, 15);
    level.place(kEntityBird, 44, 3, {level.x(66)});
    stuntGoals(8000, 18000, 35000, 120.0);
    return level.save(path);
}

// Hoops stand upright (160 pixels tall) along a course; each is passed once. The medal times leave a few
// seconds over a swim that keeps to the course without a leap for gold, and plenty for bronze.
void hoopCourse(LevelSketch& level, const std::vector<std::pair<double, double>>& cells) {
    for (auto [col, row] : cells) level.place(kEntityHoop, col, row);
}

bool hoopRun(const std::string& path) {
    LevelSketch level(80, 26, 6, kTileSetSunset, 301);
    level.setGround([](int32_t col) { return rollingFloor(col, 22, 18, 3); });
    level.place(kEntityZuzevir, 3, 10);
    hoopCourse(level, {{12, 10}, {20, 13}, {28, 16}, {36, 13}, {44, 10}, {52, 13}, {60, 16}, {70, 11}});
    raceGoals(28.0, 20.0, 16.0);
    return level.save(path);
}

bool lavaLoop(const std::string& path) {
    LevelSketch level(64, 32, 5, kTileSetVolcano, 302);
    level.setGround([](int32_t col) { return rollingFloor(col, 29, 10, 2); }, kRock);
    level.rock(20, 13, 42, 17, kDarkRock); // the course runs round this reef
    level.place(kEntityZuzevir, 3, 9);
    hoopCourse(level, {{12, 9}, {26, 9}, {38, 9}, {48, 14}, {44, 22}, {32, 23}, {20, 22}, {12, 17}});
    level.place(kEntityMine, 30, 25, {0});
    raceGoals(26.0, 19.0, 15.0);
    return level.save(path);
}

bool coralSlalom(const std::string& path) {
    LevelSketch level(90, 30, 6, kTileSetAlien, 303);
    level.setGround([](int32_t col) {
        for (int32_t pillar : {20, 40, 60})
            if (col >= pillar && col <= pillar + 1) return 16;
        return rollingFloor(col, 26, 16, 3);
    });
    level.rock(30, 7, 31, 13, kDarkRock); // the slalom gates hang from the surface and rise from the floor
    level.rock(50, 7, 51, 13, kDarkRock);
    level.rock(70, 7, 71, 13, kDarkRock);
    level.place(kEntityZuzevir, 3, 10);
    hoopCourse(level, {{12, 11}, {20, 11}, {30, 18}, {40, 11}, {50, 18}, {60, 11}, {70, 18}, {82, 12}});
    raceGoals(40.0, 30.0, 24.0);
    return level.save(path);
}

// The editor's start level: open water with a floor, the player start and nothing else.
bool defaultLevel(const std::string& path) {
    LevelSketch level(48, 24, 6, kTileSetAlien, 1);
    level.setGround([](int32_t) { return 20; });
    level.place(kEntityZuzevir, 6, 10);
    level.endMarker(44, 12);
    return level.save(path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[1]) != "--data") {
        std::fprintf(stderr, "usage: levelgen --data DIR\n");
        return 2;
    }
    const std::string data = std::string(argv[2]) + "/";
    // The three folders hold only what is built here: a level dropped from the list or renamed must not stay
    // behind in the game's lists.
    for (const char* folder : {"levels", "stuntlevels", "racelevels"}) {
        std::filesystem::create_directories(data + folder);
        std::error_code error;
        for (const auto& file : std::filesystem::directory_iterator(data + folder, error))
            if (file.path().extension() == ".lvl") std::filesystem::remove(file.path(), error);
    }
    const std::vector<std::pair<std::string, bool (*)(const std::string&)>> levels = {
        {"levels/default.lvl", defaultLevel},
        {"levels/01.First Swim.lvl", firstSwim},
        {"levels/02.Target Practice.lvl", targetPractice},
        {"levels/03.Ice Shelf.lvl", iceShelf},
        {"levels/04.Deep Trench.lvl", deepTrench},
        {"levels/05.Alien Reef.lvl", alienReef},
        {"stuntlevels/01.Splash Park.lvl", splashPark},
        {"stuntlevels/02.Frozen Bay.lvl", frozenBay},
        {"racelevels/01.Hoop Run.lvl", hoopRun},
        {"racelevels/02.Lava Loop.lvl", lavaLoop},
        {"racelevels/03.Coral Slalom.lvl", coralSlalom},
    };
    bool ok = true;
    for (const auto& [name, build] : levels) ok = build(data + name) && ok;
    Placements.clearPlacements();
    releaseTileMap();
    return ok ? 0 : 1;
}
