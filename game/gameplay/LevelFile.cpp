// The ".lvl" reader and writer, and the level model's load and save around them.
#include "LevelFile.h"

#include "BinaryStream.h"
#include "Camera.h"
#include "EntityFactory.h"
#include "GF_Entity.h"
#include "GoldZuzevirMeter.h"
#include "KMiscTools.h"
#include "KResource.h"
#include "LevelCatalogue.h"
#include "PlacementList.h"
#include "SpatialGrid.h"
#include "TargetLockList.h"
#include "TileDefinition.h"
#include "TileLayer.h"
#include "TileMap.h"
#include "TileSetTable.h"

#include <cmath>
#include <cstdio>

LevelGoals CurrentLevelGoals;
double EndLevelX = 0.0, EndLevelY = 0.0;
int32_t LevelVersion = 1;
int32_t RequiredHoops = 0, PassedHoops = 0;
int32_t LevelEnemyTotal = 0;

namespace {

// Reads the file step by step and stops at the first fault, naming it and the byte where it lies.
class LevelParser {
public:
    LevelParser(const unsigned char* bytes, size_t size) : in(bytes, size) {}

    bool parse(LevelData& level) {
        level.version = in.int32();
        fieldStart = in.position();
        level.tileSet = in.int32();
        if (!check(level.tileSet >= 0 && level.tileSet < kTileSetCount, "unknown tile set")) return false;
        for (int layer = 0; layer < kTileLayerCount; ++layer) {
            const bool back = layer == kLayerBackWater || layer == kLayerBackAir;
            if (!readTiles(level.layers[size_t(layer)].tiles, back ? kBackLayerMinWidth : -1)) return false;
            level.layers[size_t(layer)].clipBelowY = finite("clip line");
            level.layers[size_t(layer)].clipAboveY = finite("clip line");
        }
        if (!readBytes(level.collision, kCollisionShapeCount, "collision code")) return false;
        if (!readBytes(level.substance, kSubstanceTransition + 1, "substance code")) return false;
        level.levelWidth = finite("level width");
        level.levelHeight = finite("level height");
        level.clipLevel = finite("clip level");
        if (!checkSize(level.levelWidth, level.levelHeight)) return false;
        level.boundsLeft = in.int32();
        level.boundsRight = in.int32();
        level.boundsTop = in.int32();
        level.boundsBottom = in.int32();
        if (!readPlacements(level.placements)) return false;
        level.endLevelX = finite("end marker");
        level.endLevelY = finite("end marker");
        level.goals = LevelGoals{};
        if (level.version >= 1) {
            for (double& time : level.goals.medalTimes) time = finite("medal time");
            for (int32_t& score : level.goals.medalScores) score = in.int32();
            level.goals.timeLimit = finite("time limit");
            fieldStart = in.position();
            level.goals.gameMode = in.int32();
            if (!check(level.goals.gameMode >= 0 && level.goals.gameMode < kGameModeCount, "unknown game mode"))
                return false;
        }
        return check(true, "");
    }

    std::string error;

private:
    // True while nothing has failed; on the first fault records the reason (a shortfall reads as the file
    // ending early).
    bool check(bool ok, const char* what) {
        if (!error.empty()) return false;
        if (in.failed()) {
            error = "the file ends early at byte " + std::to_string(in.position());
            return false;
        }
        if (!ok) {
            error = std::string(what) + " at byte " + std::to_string(fieldStart);
            return false;
        }
        return true;
    }

    double finite(const char* what) {
        fieldStart = in.position();
        const double value = in.real();
        if (!check(std::isfinite(value), what)) return 0.0;
        return value;
    }

    bool readSize(int32_t& cols, int32_t& rows, uint64_t cellBytes) {
        fieldStart = in.position();
        cols = in.int32();
        rows = in.int32();
        if (!check(cols >= 0 && rows >= 0 && cols <= kMaxGridSide && rows <= kMaxGridSide, "bad grid size"))
            return false;
        return check(in.has(uint64_t(cols) * uint64_t(rows) * cellBytes), "");
    }

    bool readTiles(TileGrid& grid, int32_t minWidth) {
        int32_t cols, rows;
        if (!readSize(cols, rows, 2)) return false;
        grid.reset(std::max(cols, minWidth), rows);
        for (int32_t row = 0; row < rows; ++row)
            for (int32_t col = 0; col < cols; ++col) {
                fieldStart = in.position();
                const uint16_t code = in.uint16();
                if (!check(code < kTileCodeCount, "tile code out of range")) return false;
                grid.set(col, row, code);
            }
        if (minWidth > 0) continueRows(grid, cols);
        return true;
    }

    // Each row's last non-zero tile is carried to the widened edge; an alternating 214/215 sky strip keeps
    // alternating.
    static void continueRows(TileGrid& grid, int32_t storedCols) {
        for (int32_t row = 0; row < grid.rows(); ++row) {
            int32_t last = storedCols - 1;
            while (last >= 0 && grid.get(last, row) == 0) --last;
            if (last < 0) continue;
            uint16_t carried = grid.get(last, row);
            for (int32_t col = last + 1; col < grid.cols(); ++col) {
                if (carried == 214)
                    carried = 215;
                else if (carried == 215)
                    carried = 214;
                grid.set(col, row, carried);
            }
        }
    }

    bool readBytes(ByteGrid& grid, int32_t limit, const char* what) {
        int32_t cols, rows;
        if (!readSize(cols, rows, 1)) return false;
        grid.reset(cols, rows);
        uint8_t* cells = grid.data();
        for (size_t i = 0; i < size_t(cols) * size_t(rows); ++i) {
            fieldStart = in.position();
            cells[i] = in.uint8();
            if (!check(cells[i] < limit, what)) return false;
        }
        return true;
    }

    bool checkSize(double width, double height) {
        if (!check(true, "")) return false;
        fieldStart = in.position() - 24;
        const bool inRange = width >= 0.0 && height >= 0.0 && width <= kMaxLevelSide && height <= kMaxLevelSide;
        return check(inRange, "level size out of range");
    }

    // A count of 0 or less means no placements, as it always has.
    bool readPlacements(std::vector<PlacementFields>& placements) {
        fieldStart = in.position();
        const int32_t count = in.int32();
        placements.clear();
        if (count <= 0) return check(true, "");
        if (!check(in.has(uint64_t(count) * kPlacementFieldCount * 4), "")) return false;
        placements.resize(size_t(count));
        for (PlacementFields& record : placements)
            for (int32_t& field : record) field = in.int32();
        return check(true, "");
    }

    ByteSource in;
    size_t fieldStart = 0;
};

size_t cellCount(int32_t cols, int32_t rows) {
    return size_t(cols) * size_t(rows);
}

void writeGrid(ByteSink& out, const TileGrid& grid) {
    out.int32(grid.cols());
    out.int32(grid.rows());
    const uint16_t* cells = grid.data();
    for (size_t i = 0; i < cellCount(grid.cols(), grid.rows()); ++i) out.uint16(cells[i]);
}

void writeGrid(ByteSink& out, const ByteGrid& grid) {
    out.int32(grid.cols());
    out.int32(grid.rows());
    out.append(grid.data(), cellCount(grid.cols(), grid.rows()));
}

// The tile map's share of a level: theme, layers with their clip lines, both byte grids, size, clip level
// and bounds. The layers exist from start-up; setLevelSize then fits every grid to the level.
void applyToTileMap(const LevelData& level) {
    if (level.tileSet != currentTileSet) {
        currentTileSet = level.tileSet;
        applyTileSetImages(); // an unchanged theme reloads nothing
    }
    for (int id = 0; id < kTileLayerCount; ++id)
        if (TileLayer* layer = getTileLayer(id)) {
            const LevelLayerData& stored = level.layers[size_t(id)];
            layer->grid = stored.tiles;
            layer->clipBelowY = stored.clipBelowY;
            layer->clipAboveY = stored.clipAboveY;
        }
    tileMap.collisionGrid = level.collision;
    tileMap.substanceGrid = level.substance;
    tileMap.clipLevel = level.clipLevel;
    tileMap.boundsLeft = level.boundsLeft;
    tileMap.boundsRight = level.boundsRight;
    tileMap.boundsTop = level.boundsTop;
    tileMap.boundsBottom = level.boundsBottom;
    setLevelSize(level.levelWidth, level.levelHeight);
    tileMap.levelLoaded = true;
}

void captureTileMap(LevelData& level) {
    level.tileSet = currentTileSet;
    for (int id = 0; id < kTileLayerCount; ++id)
        if (const TileLayer* layer = getTileLayer(id)) {
            LevelLayerData& stored = level.layers[size_t(id)];
            stored.tiles = layer->grid;
            stored.clipBelowY = layer->clipBelowY;
            stored.clipAboveY = layer->clipAboveY;
        }
    level.collision = tileMap.collisionGrid;
    level.substance = tileMap.substanceGrid;
    level.levelWidth = tileMap.levelWidth;
    level.levelHeight = tileMap.levelHeight;
    level.clipLevel = tileMap.clipLevel;
    level.boundsLeft = tileMap.boundsLeft;
    level.boundsRight = tileMap.boundsRight;
    level.boundsTop = tileMap.boundsTop;
    level.boundsBottom = tileMap.boundsBottom;
}

} // namespace

bool parseLevelFile(const unsigned char* bytes, size_t size, LevelData& out, std::string& error) {
    LevelParser parser(bytes, size);
    LevelData level;
    if (!parser.parse(level)) {
        error = parser.error;
        return false;
    }
    out = std::move(level);
    return true;
}

std::vector<unsigned char> encodeLevelFile(const LevelData& level) {
    ByteSink out;
    out.int32(1);
    out.int32(level.tileSet);
    for (const LevelLayerData& layer : level.layers) {
        writeGrid(out, layer.tiles);
        out.real(layer.clipBelowY);
        out.real(layer.clipAboveY);
    }
    writeGrid(out, level.collision);
    writeGrid(out, level.substance);
    out.real(level.levelWidth);
    out.real(level.levelHeight);
    out.real(level.clipLevel);
    out.int32(level.boundsLeft);
    out.int32(level.boundsRight);
    out.int32(level.boundsTop);
    out.int32(level.boundsBottom);
    out.int32(int32_t(level.placements.size()));
    for (const PlacementFields& record : level.placements)
        for (int32_t field : record) out.int32(field);
    out.real(level.endLevelX);
    out.real(level.endLevelY);
    for (double time : level.goals.medalTimes) out.real(time);
    for (int32_t score : level.goals.medalScores) out.int32(score);
    out.real(level.goals.timeLimit);
    out.int32(level.goals.gameMode);
    return std::move(out.bytes);
}

bool readLevelData(const std::string& path, LevelData& out) {
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KResource::loadWholeFile(path, bytes, size)) return false;
    std::string error;
    const bool ok = parseLevelFile(bytes, size, out, error);
    delete[] bytes;
    return ok;
}

bool writeLevelData(const std::string& path, LevelData& level) {
    level.version = 1;
    const std::vector<unsigned char> bytes = encodeLevelFile(level);
    return KMiscTools::writeFileReplacing(path, bytes.data(), bytes.size()); // on failure the old file is kept
}

bool readLevelFile(const std::string& path) {
    LevelData level;
    if (!readLevelData(path, level)) return false;
    LevelVersion = level.version;
    applyToTileMap(level);
    Placements.assignFields(level.placements);
    if (spatialGrid) spatialGrid->resize(level.levelWidth, level.levelHeight);
    EndLevelX = level.endLevelX;
    EndLevelY = level.endLevelY;
    CurrentLevelGoals = level.goals;
    RequiredHoops = Placements.countHoopPlacements();
    PassedHoops = 0;
    return true;
}

bool writeLevelFile(const std::string& path) {
    // The records outside the level are deleted from the list itself, not only left out of the file.
    Placements.prunePlacements(tileMap.levelWidth, tileMap.levelHeight);
    LevelData level;
    captureTileMap(level);
    level.placements = Placements.fieldList();
    level.endLevelX = EndLevelX;
    level.endLevelY = EndLevelY;
    level.goals = CurrentLevelGoals;
    const bool written = writeLevelData(path, level);
    if (written) LevelVersion = 1;
    buildLevelCatalogue();
    return written;
}

bool loadLevel(const std::string& path) {
    if (!readLevelFile(path)) return false;
    // A new level starts with none collected and the meter out of view, and with the water at its first frame,
    // whatever the last one left showing.
    resetGoldZuzevirMeter();
    restartAnimatedTiles();
    if (spatialGrid) {
        // The last level's entities are let go with its grid, the player too, so no pointer to any of them
        // outlives the load: the camera follows nothing until the new player is made, and no lock remains.
        clearCameraTarget();
        clearTargetLocks();
        spatialGrid->clear();
        freeRetiredPlayer();
        LevelEnemyTotal = Placements.spawnAllPlacements(*spatialGrid);
        // With the level's own entities made, room for the shots its fights will make.
        reserveStorageForPlay();
    }
    return true;
}

bool loadLevelFileForEditor(const std::string& path) {
    return readLevelFile(path);
}

bool saveLevelFileForEditor(const std::string& path) {
    return writeLevelFile(path);
}
