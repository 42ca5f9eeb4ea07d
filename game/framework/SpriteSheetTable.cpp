// The sprite-sheet table: the hotspots of its entries and the start-up build over the entries' layouts
// (SpriteSheetLayouts.h).
#include "SpriteSheetTable.h"

#include "MouseCursor.h"
#include "SpriteSheet.h"
#include "SpriteSheetLayouts.h"
#include "TileSetTable.h"

#include <iterator>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<SpriteSheet>> spriteSheetTable;

static_assert(std::size(kSpriteSheetRows) == kSpriteSheetCount, "one layout for each entry of the table");

struct HotspotRow {
    int sheet, frame;
    double x, y, angle;
    uint8_t flag = 1;
};

// In the order they are added: by sheet, then frame, then within the frame.
constexpr HotspotRow kHotspots[] = {
    {0, 0, 45, -10, 355}, {0, 0, 46, 6, 0},     {0, 1, 45, -12, 358}, {0, 1, 46, 4, 0},     {0, 2, 44, -14, 359},
    {0, 2, 46, 1, 0},     {0, 3, 42, -17, 0},   {0, 3, 46, -2, 0},    {0, 4, 43, -18, 1},   {0, 4, 46, -2, 0},
    {0, 5, 43, -17, 0},   {0, 5, 46, 0, 0},     {0, 6, 44, -14, 359}, {0, 6, 46, 3, 0},     {0, 7, 44, -12, 358},
    {0, 7, 46, 6, 0},

    {1, 0, 45, -12, 357}, {1, 0, 46, 3, 0},     {1, 1, 44, -13, 358}, {1, 1, 46, 2, 0},     {1, 2, 44, -14, 358},
    {1, 2, 46, 2, 0},     {1, 3, 44, -14, 358}, {1, 3, 46, 1, 0},     {1, 4, 44, -14, 0},   {1, 4, 46, 1, 0},
    {1, 5, 44, -11, 358}, {1, 5, 44, 6, 0},     {1, 6, 44, -6, 0},    {1, 6, 46, 8, 0},     {1, 7, 44, 1, 0},
    {1, 7, 46, 8, 0, 0},

    {2, 0, 44, -12, 359}, {2, 0, 40, 3, 0},     {2, 1, 25, -13, 352}, {2, 1, 22, 2, 0},     {2, 2, 0, -11, 270},
    {2, 2, -6, 2, 0},     {2, 2, 6, 2, 0},      {2, 3, 44, -12, 358}, {2, 3, 45, 3, 0},     {2, 4, 44, -12, 358},
    {2, 4, 45, 3, 0},

    {7, 4, -63, 0, 0},

    {10, 0, 19, 2, 0},    {10, 1, 21, 3, 0},    {10, 2, 23, 2, 0},    {10, 3, 24, 3, 0},    {10, 4, 23, 2, 0},
    {10, 5, 21, 3, 0},    {10, 6, 19, 3, 0},    {10, 7, 18, 3, 0},    {10, 8, 21, 3, 0},    {10, 9, 21, 3, 0},
    {10, 10, 12, 3, 0},   {10, 11, -4, 3, 0},   {10, 12, -17, 3, 0},  {10, 13, 21, 7, 0},   {10, 14, 21, 16, 0},
    {10, 15, 21, 18, 0},

    {11, 0, -16, 0, 180},

    {15, 1, -17, 0, 0},   {15, 1, 24, 0, 0},

    {17, 0, 30, 0, 0},

    {18, 0, -5, 19, 0},   {18, 1, -5, 19, 0},   {18, 2, -7, 19, 0},   {18, 3, -9, 19, 0},   {18, 4, -10, 19, 0},
    {18, 5, -9, 19, 0},   {18, 6, -7, 20, 0},   {18, 7, 0, 21, 0},

    {19, 0, 6, 0, 0},

    {20, 0, 61, -16, 0},  {20, 0, 61, 18, 0},   {20, 0, -74, 4, 0},   {20, 1, 61, -16, 0},  {20, 1, 61, 18, 0},
    {20, 1, -70, 4, 0},   {20, 2, 61, -16, 0},  {20, 2, 61, 18, 0},   {20, 2, -64, 4, 0},   {20, 3, 61, -16, 0},
    {20, 3, 61, 18, 0},   {20, 3, -60, 4, 0},   {20, 4, 61, -16, 0},  {20, 4, 61, 18, 0},   {20, 4, -52, 4, 0},
    {20, 5, 61, -16, 0},  {20, 5, 61, 18, 0},   {20, 5, -47, 4, 0},   {20, 6, 61, -18, 0},  {20, 6, 61, 20, 0},
    {20, 6, -74, 4, 0},   {20, 7, 61, -18, 0},  {20, 7, 61, 20, 0},   {20, 7, -74, 4, 0},   {20, 8, 61, -20, 0},
    {20, 8, 61, 20, 0},   {20, 8, -74, 4, 0},   {20, 9, 61, -16, 0},  {20, 9, 61, 18, 0},   {20, 9, -63, 4, 0},
    {20, 10, 38, -18, 0}, {20, 10, 38, 20, 0},  {20, 10, -32, 4, 0},  {20, 11, 20, -18, 0}, {20, 11, 20, 20, 0},
    {20, 11, -24, 4, 0},  {20, 12, 61, -16, 0}, {20, 12, 61, 18, 0},  {20, 12, -74, 1, 0},  {20, 13, 61, -16, 0},
    {20, 13, 61, 18, 0},  {20, 13, -74, 0, 0},  {20, 14, 61, -16, 0}, {20, 14, 61, 18, 0},  {20, 14, -74, -3, 0},
    {20, 15, 61, -16, 0}, {20, 15, 61, 18, 0},  {20, 15, -74, -5, 0},

    {24, 0, 53, 14, 0},   {24, 1, 53, 14, 0},   {24, 2, 53, 14, 0},   {24, 3, 53, 14, 0},   {24, 4, 53, 14, 0},
    {24, 5, 53, 14, 0},   {24, 6, 53, 14, 0},   {24, 7, 53, 14, 0},

    {25, 0, 26, -2, 0},   {25, 0, 2, -30, 0},   {25, 0, 2, 31, 0},

    {31, 0, -16, 0, 180},
};

// The cursor's draw of a sheet frame.
void drawSheetFrame(int sheet, int frame, int x, int y) {
    if (SpriteSheet* s = getSpriteSheet(sheet)) s->drawFrame(frame, x, y, false, false);
}

} // namespace

void loadSpriteSheets() {
    freeSpriteSheets();
    for (const SpriteSheetRow& row : kSpriteSheetRows) {
        std::unique_ptr<SpriteSheet> sheet;
        if (row.layout.file) {
            sheet = std::make_unique<SpriteSheet>(row.layout.file, row.blend, row.filter);
            sheet->addLayoutFrames(row.layout);
            for (const HotspotRow& h : kHotspots)
                if (h.sheet == int(spriteSheetTable.size())) sheet->addHotspot(h.frame, h.x, h.y, h.angle, h.flag);
        } else {
            sheet = std::make_unique<SpriteSheet>(row.filter);
        }
        spriteSheetTable.push_back(std::move(sheet));
    }

    buildTileSetTable();
    currentTileSet = kTileSetAlien;
    applyTileSetImages();
    // A null file marks a tile-set entry: its frames are cut once the tile set's picture is loaded.
    for (size_t n = 0; n < std::size(kSpriteSheetRows); n++)
        if (!kSpriteSheetRows[n].layout.file) spriteSheetTable[n]->addLayoutFrames(kSpriteSheetRows[n].layout);
    setSheetFrameDrawer(drawSheetFrame);
}

SpriteSheet* getSpriteSheet(int n) {
    if (n < 0 || n >= int(spriteSheetTable.size())) return nullptr;
    return spriteSheetTable[size_t(n)].get();
}

void replaceSpriteSheet(const std::string& fileName, int n) {
    if (SpriteSheet* sheet = getSpriteSheet(n)) sheet->load(fileName);
}

void freeSpriteSheets() {
    setSheetFrameDrawer(nullptr);
    spriteSheetTable.clear();
}
