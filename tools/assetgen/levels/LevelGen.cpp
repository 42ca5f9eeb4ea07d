// The level generator: builds the shipped levels (Action, Stunt, Race and the editor's "default.lvl") in the
// game's own level model and saves each through the game's level writer.
// Usage: levelgen --data DIR (the data folder that holds levels/, stuntlevels/ and racelevels/)
#include "EntityType.h"
#include "LevelFile.h"
#include "PlacementList.h"
#include "TerrainCodes.h"
#include "TileLayer.h"
#include "TileMap.h"
#include "TileSetTable.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// The Var fields of the kinds placed here: Mine 1 armoured; Bird 1 the far end of its path; Missile Fish and
// TNT Turtle 1 .. 4 their path; Robo Shark 1 pass frequency, 2 start on the left; Drone 1 travel distance,
// 2 rate of fire; Ornament 1 plant 0-1, rock 2-3; Powerup 1 torpedo, rapid fire, sword or fourfold, 2 length.

// Tile codes of the terrain tables used here (rotation 0, unflipped unless named).
constexpr uint16_t kWaterSurface = 1;      // animated surface with the wave crest at the cell's middle
constexpr uint16_t kWaterBody = 2;         // translucent water with caustics
constexpr uint16_t kSandFull = 3;          // sand frame 8
constexpr uint16_t kRockFull = 81;         // rock frame 0
constexpr uint16_t kRockBottomRight = 105; // rock frame 3: the bottom-right quarter
constexpr uint16_t kRockBottomLeft = 109;  // the same, flipped
constexpr uint16_t kDeepWater = 73;        // the deep-water backdrop, plain
constexpr uint16_t kDeepBubbles = 77;      // with rising bubbles
constexpr uint16_t kFarReef = 79;          // with a far reef silhouette
constexpr uint16_t kSkyZenith = 209, kSkyHigh = 210, kSkyHorizon = 211, kLoneCloud = 212;
constexpr uint16_t kCloudLeft = 214, kCloudRight = 215; // the cloud bank that alternates along a row

// One level under construction in the game's level model: the tile map, the placement list, the goals.
class LevelSketch {
public:
    // A level of cols x rows cells whose water surface lies in the middle of row surfaceRow.
    LevelSketch(int32_t cols, int32_t rows, int32_t surfaceRow, int tileSet)
        : cols(cols), rows(rows), surface(surfaceRow) {
        createTileMap();
        Placements.clearPlacements();
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

    // The floor: every column solid from its ground row down, sand on top of rock, a quarter step where the
    // next column stands higher, and the collision shapes to match.
    void setGround(const std::function<int32_t(int32_t col)>& groundRow) {
        for (int32_t col = 0; col < cols; ++col) ground[size_t(col)] = std::clamp(groundRow(col), 1, rows);
        TileGrid& terrain = layer(kLayerFront2);
        for (int32_t col = 0; col < cols; ++col) {
            const int32_t top = ground[size_t(col)];
            for (int32_t row = top; row < rows; ++row) {
                terrain.set(col, row, row == top && top > surface ? kSandFull : kRockFull);
                tileMap.collisionGrid.set(col, row, kShapeFull);
            }
            const int32_t left = col > 0 ? ground[size_t(col - 1)] : top;
            const int32_t right = col + 1 < cols ? ground[size_t(col + 1)] : top;
            if (top - 1 >= 0 && right < top)
                step(col, top - 1, kRockBottomRight, kShapeBottomRight);
            else if (top - 1 >= 0 && left < top)
                step(col, top - 1, kRockBottomLeft, kShapeBottomLeft);
        }
    }
    int32_t groundRow(int32_t col) const { return ground[size_t(std::clamp(col, 0, cols - 1))]; }

    // A solid block of rock, such as an island or a ceiling.
    void rock(int32_t col0, int32_t row0, int32_t col1, int32_t row1) {
        for (int32_t row = row0; row <= row1; ++row)
            for (int32_t col = col0; col <= col1; ++col) {
                layer(kLayerFront2).set(col, row, kRockFull);
                tileMap.collisionGrid.set(col, row, kShapeFull);
            }
    }

    // A placement at the centre of a cell; vars are Var 1 .. Var 8.
    void place(int32_t type, double col, double row, std::vector<int32_t> vars = {}) {
        EntityPlacement* record = Placements.appendPlacement(EntityPlacement{});
        record->type = type;
        record->x = x(col);
        record->y = y(row);
        std::copy_n(vars.begin(), std::min(vars.size(), record->vars.size()), record->vars.begin());
    }
    int32_t x(double col) const { return int32_t(col * kTileSize + kTileSize / 2); }
    int32_t y(double row) const { return int32_t(row * kTileSize + kTileSize / 2); }

    void endMarker(double col, double row) {
        EndLevelX = x(col);
        EndLevelY = y(row);
    }

    // Saves the level through the game's writer; false when it could not be written.
    bool save(const std::string& path) {
        const bool written = writeLevelFile(path);
        if (!written) std::fprintf(stderr, "levelgen: could not write %s\n", path.c_str());
        return written;
    }

    const int32_t cols, rows, surface;

private:
    TileGrid& layer(int id) { return getTileLayer(id)->grid; }

    void step(int32_t col, int32_t row, uint16_t tile, uint8_t shape) {
        if (tileMap.collisionGrid.get(col, row) != kShapeNone) return;
        layer(kLayerFront2).set(col, row, tile);
        tileMap.collisionGrid.set(col, row, shape);
    }

    // Sky above the surface, the surface row in front of the entities, the deep-water backdrop below it.
    void paintWaterAndSky() {
        for (int32_t row = 0; row < rows; ++row) {
            const uint8_t substance = row < surface    ? kSubstanceAir
                                      : row == surface ? kSubstanceTransition
                                                       : kSubstanceWater;
            for (int32_t col = 0; col < cols; ++col) tileMap.substanceGrid.set(col, row, substance);
        }
        // The deep-water backdrop is fixed to the screen and drawn only below the surface.
        TileGrid& backWater = layer(kLayerBackWater);
        for (int32_t row = 0; row < backWater.rows(); ++row)
            for (int32_t col = 0; col < backWater.cols(); ++col) backWater.set(col, row, kDeepWater);
        TileGrid& backAir = layer(kLayerBackAir); // fixed across, scrolling with the level upwards
        for (int32_t row = 0; row <= surface && row < backAir.rows(); ++row)
            for (int32_t col = 0; col < backAir.cols(); ++col) {
                const int32_t fromSurface = surface - row; // 0 at the surface row
                // The upper sky bands, then the horizon band with a cloud bank and a lone cloud now and then.
                uint16_t code = fromSurface >= 4 ? kSkyZenith : fromSurface == 3 ? kSkyHigh : kSkyHorizon;
                if (fromSurface == 2) code = col % 2 == 0 ? kCloudLeft : kCloudRight;
                if (fromSurface == 1 && col % 5 == 2) code = kLoneCloud;
                backAir.set(col, row, code);
            }
        for (int32_t col = 0; col < cols; ++col) layer(kLayerFront3).set(col, surface, kWaterSurface);
    }

    std::vector<int32_t> ground;
};

// Rolling sea floor: a base row with gentle hills.
int32_t rollingFloor(int32_t col, int32_t base, int32_t period, int32_t height) {
    const int32_t phase = col % period;
    const int32_t rise = phase < period / 2 ? phase : period - phase;
    return base - rise * height * 2 / period;
}

bool firstSwim(const std::string& path) {
    LevelSketch level(64, 28, 6, kTileSetPlain);
    // An island rises from the floor through the surface: the player jumps over it.
    level.setGround([](int32_t col) { return col >= 26 && col <= 29 ? 4 : rollingFloor(col, 24, 16, 3); });
    level.place(kEntityZuzevir, 3, 10);
    for (int i = 0; i < 5; ++i) level.place(kEntityGoldFish, 10 + i * 10, 12 + (i % 2) * 4);
    level.place(kEntityOrnament, 14, level.groundRow(14) - 1, {0});
    level.place(kEntityOrnament, 40, level.groundRow(40) - 1, {2});
    level.place(kEntityPowerup, 33, 14, {1, 10});
    level.endMarker(60, 14);
    return level.save(path);
}

bool targetPractice(const std::string& path) {
    LevelSketch level(72, 30, 7, kTileSetSunset);
    level.setGround([](int32_t col) { return rollingFloor(col, 26, 24, 4); });
    level.place(kEntityZuzevir, 3, 12);
    const int32_t fish[][2] = {{14, 12}, {22, 16}, {30, 11}, {44, 18}, {52, 13}};
    for (const auto& f : fish)
        level.place(kEntityLaserFish, f[0], f[1],
                    {level.x(f[0] - 4), level.y(f[1]), level.x(f[0] + 4), level.y(f[1] + 2)});
    level.place(kEntityMine, 36, 15, {0});
    level.place(kEntityMine, 38, 20, {1});
    level.place(kEntityTurret, 48, level.groundRow(48) - 1);
    level.place(kEntityGoldFish, 26, 20);
    level.place(kEntityGoldFish, 58, 12);
    level.endMarker(68, 15);
    return level.save(path);
}

bool deepTrench(const std::string& path) {
    LevelSketch level(80, 40, 6, kTileSetVolcano);
    level.setGround([](int32_t col) {
        if (col > 24 && col < 56) return 36 + (col % 5 == 0 ? -1 : 0); // the trench
        return rollingFloor(col, 22, 12, 3);
    });
    level.rock(30, 10, 34, 14);
    level.rock(46, 16, 50, 20);
    level.place(kEntityZuzevir, 3, 10);
    level.place(kEntityEel, 28, 30);
    level.place(kEntityRoboShark, 40, 28, {4, 1});
    level.place(kEntityDrone, 52, 12, {300, 2});
    level.place(kEntityAutoGun, 60, level.groundRow(60) - 1);
    level.place(kEntityTntTurtle, 66, 14, {level.x(62), level.y(14), level.x(72), level.y(16)});
    for (int i = 0; i < 4; ++i) level.place(kEntityGoldFish, 20 + i * 14, 24 + (i % 2) * 6);
    level.place(kEntityPowerup, 38, 34, {0, 10});
    level.endMarker(76, 14);
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

bool splashPark(const std::string& path) {
    LevelSketch level(56, 24, 8, kTileSetPlain);
    level.setGround([](int32_t col) { return col < 4 || col > 51 ? 9 : 20; }); // a wide, deep pool
    level.place(kEntityZuzevir, 10, 12);
    level.place(kEntityBird, 20, 3, {level.x(34)});
    level.place(kEntityGoldFish, 28, 5);
    level.place(kEntityOrnament, 24, level.groundRow(24) - 1, {1});
    stuntGoals(1000, 2000, 3000, 60.0);
    return level.save(path);
}

bool frozenBay(const std::string& path) {
    LevelSketch level(64, 26, 7, kTileSetSnow);
    level.setGround([](int32_t col) { return rollingFloor(col, 22, 20, 5); });
    level.rock(30, 5, 33, 8); // an ice rock to leap over
    level.place(kEntityZuzevir, 8, 12);
    level.place(kEntityGoldFish, 31, 3);
    stuntGoals(1500, 3000, 4500, 75.0);
    return level.save(path);
}

// Hoops stand upright (160 pixels tall) along a course; each is passed once.
void hoopCourse(LevelSketch& level, const std::vector<std::pair<double, double>>& cells) {
    for (auto [col, row] : cells) level.place(kEntityHoop, col, row);
}

bool hoopRun(const std::string& path) {
    LevelSketch level(72, 24, 6, kTileSetPlain);
    level.setGround([](int32_t col) { return rollingFloor(col, 21, 18, 3); });
    level.place(kEntityZuzevir, 3, 10);
    hoopCourse(level, {{12, 11}, {20, 14}, {28, 10}, {36, 15}, {44, 12}, {52, 9}, {60, 13}, {67, 11}});
    raceGoals(40.0, 34.0, 30.0);
    return level.save(path);
}

bool lavaLoop(const std::string& path) {
    LevelSketch level(60, 30, 5, kTileSetVolcano);
    level.setGround([](int32_t col) { return rollingFloor(col, 27, 10, 2); });
    level.rock(20, 12, 40, 16); // the course runs round this reef
    level.place(kEntityZuzevir, 3, 9);
    hoopCourse(level, {{12, 9}, {24, 9}, {36, 9}, {46, 13}, {44, 20}, {32, 22}, {20, 21}, {10, 18}});
    level.place(kEntityMine, 30, 19, {0});
    raceGoals(45.0, 38.0, 33.0);
    return level.save(path);
}

// The editor's start level: open water with a floor, the player start and nothing else.
bool defaultLevel(const std::string& path) {
    LevelSketch level(48, 24, 6, kTileSetAlien);
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
    for (const char* folder : {"levels", "stuntlevels", "racelevels"})
        std::filesystem::create_directories(data + folder);
    const std::vector<std::pair<std::string, bool (*)(const std::string&)>> levels = {
        {"levels/default.lvl", defaultLevel},
        {"levels/01.First Swim.lvl", firstSwim},
        {"levels/02.Target Practice.lvl", targetPractice},
        {"levels/03.Deep Trench.lvl", deepTrench},
        {"stuntlevels/01.Splash Park.lvl", splashPark},
        {"stuntlevels/02.Frozen Bay.lvl", frozenBay},
        {"racelevels/01.Hoop Run.lvl", hoopRun},
        {"racelevels/02.Lava Loop.lvl", lavaLoop},
    };
    bool ok = true;
    for (const auto& [name, build] : levels) ok = build(data + name) && ok;
    Placements.clearPlacements();
    releaseTileMap();
    return ok ? 0 : 1;
}
