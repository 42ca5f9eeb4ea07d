// The tile-set name table and the switch of the theme pictures.
#include "TileSetTable.h"

#include "SpriteSheetTable.h"
#include "TileDefinition.h"

#include <array>

int currentTileSet = kTileSetAlien;

namespace {

struct TileSetCell {
    int sheet = -1;
    std::string fileName;
};

std::array<std::array<TileSetCell, kTileSetCells>, kTileSetCount> tileSetTable;

constexpr int kThemeSheets[kTileSetCells] = {3, 4, 5, 6, 9, 21, 26};

constexpr const char* kThemeFiles[kTileSetCount][kTileSetCells] = {
    {"water1.png", "islandsand.png", "watersky.png", "rock.png", "waterdrop.png", "coral.png", "ornaments.png"},
    {"sunsetwater1.png", "sunsetislandsand.png", "sunsetwatersky.png", "rock.png", "waterdrop.png", "coral.png",
     "ornaments.png"},
    {"water1.png", "snowislandsand.png", "snowwatersky.png", "snowrock.png", "waterdrop.png", "snowcoral.png",
     "snowornaments.png"},
    {"volcanowater1.png", "volcanoislandsand.png", "volcanowatersky.png", "volcanorock.png", "volcanowaterdrop.png",
     "volcanocoral.png", "volcanoornaments.png"},
    {"alienwater1.png", "alienislandsand.png", "alienwatersky.png", "alienrock.png", "alienwaterdrop.png",
     "aliencoral.png", "alienornaments.png"},
};

bool inTable(int row, int cell) {
    return row >= 0 && row < kTileSetCount && cell >= 0 && cell < kTileSetCells;
}

} // namespace

void buildTileSetTable() {
    for (int row = 0; row < kTileSetCount; row++)
        for (int cell = 0; cell < kTileSetCells; cell++)
            setTileSetTableCell(row, cell, kThemeSheets[cell], kThemeFiles[row][cell]);
}

void setTileSetTableCell(int row, int cell, int sheet, const std::string& fileName) {
    if (!inTable(row, cell)) return;
    tileSetTable[size_t(row)][size_t(cell)] = TileSetCell{sheet, fileName};
}

std::string getTileSetTableFileName(int row, int cell) {
    return inTable(row, cell) ? tileSetTable[size_t(row)][size_t(cell)].fileName : std::string();
}

int getTileSetTableSheet(int row, int cell) {
    return inTable(row, cell) ? tileSetTable[size_t(row)][size_t(cell)].sheet : -1;
}

void applyTileSetImages() {
    for (int cell = 0; cell < kTileSetCells; cell++) {
        int sheet = getTileSetTableSheet(currentTileSet, cell);
        if (sheet >= 0) replaceSpriteSheet(getTileSetTableFileName(currentTileSet, cell), sheet);
    }
    classifyTileDefinitions();
}
