// The sprite-sheet table: the rows of files, flags, frames and hotspots, and the start-up build.
#include "SpriteSheetTable.h"

#include "MouseCursor.h"
#include "SpriteSheet.h"
#include "TileSetTable.h"

#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<SpriteSheet>> spriteSheetTable;

struct FrameRect {
    int left, top, right, bottom;
};

// One entry. A null file marks a tile-set entry: its picture comes from the tile-set table and its frames
// are cut only once that picture is loaded. The rectangles come first, then the grid (cell width 0: none).
struct SheetRow {
    const char* file;
    uint8_t blend, filter;
    std::vector<FrameRect> rects;
    int gridWidth = 0, gridHeight = 0, gridCount = -1;
};

const std::vector<SheetRow>& sheetRows() {
    static const std::vector<SheetRow> rows = {
        {"glimmerfin1.png", 1, 1, {}, 128, 64},
        {"glimmerfin2.png", 1, 1, {}, 128, 64},
        {"glimmerfin3.png", 1, 1, {}, 128, 64},
        {nullptr, 1, 0, {}, 64, 64},
        {nullptr, 1, 0, {}, 64, 64},
        {nullptr, 1, 0, {}, 64, 64},
        {nullptr, 1, 0, {}, 64, 64},
        {"laser.png",
         0,
         1,
         {{0, 0, 50, 31}, {50, 0, 116, 43}, {0, 31, 50, 62}, {50, 43, 116, 86}, {0, 98, 128, 128}, {0, 64, 39, 93}}},
        {"particles.png", 0, 1, {}, 19, 19, 6},
        {nullptr, 1, 1, {{0, 0, 10, 12}, {10, 0, 30, 20}}, 10, 12, 1},
        {"laserfish.png", 1, 1, {}, 64, 64},
        {"missile1.png", 1, 1, {{0, 0, 32, 8}}},
        {"healthhead.png", 1, 1, {{0, 0, 64, 64}}},
        {"golddolphin.png", 1, 1, {}, 32, 32},
        {"goldenfishhud.png",
         1,
         1,
         {{0, 0, 35, 43},
          {35, 0, 67, 43},
          {67, 0, 100, 43},
          {100, 0, 127, 43},
          {0, 48, 32, 90},
          {32, 48, 63, 90},
          {63, 48, 128, 96}}},
        {"turret.png", 1, 1, {{0, 0, 64, 64}, {64, 0, 128, 32}}},
        {"mines.png", 1, 1, {}, 64, 64},
        {"autogun.png", 1, 1, {{0, 0, 64, 64}}},
        {"bird.png", 1, 1, {}, 128, 64},
        {"bomb.png", 1, 1, {{0, 0, 32, 32}}},
        {"eel.png", 1, 1, {}, 128, 32},
        {nullptr, 1, 0, {}, 64, 64, 36},
        {"turtle.png", 1, 1, {}, 64, 64},
        {"evileye.png", 1, 1, {{0, 0, 16, 16}}},
        {"shark.png", 1, 1, {}, 128, 64},
        {"drone1.png", 1, 1, {{0, 0, 64, 64}}},
        {nullptr, 1, 1, {}, 64, 64},
        {"arrow.png", 1, 1, {{0, 0, 64, 64}}},
        {"arrowcursor.png", 1, 1, {{0, 0, 32, 32}}},
        {"crosshaircursor.png", 1, 1, {{0, 0, 32, 32}}},
        {"hand.png", 1, 1, {{0, 0, 32, 32}}},
        {"torpedo1.png", 1, 1, {{0, 0, 32, 32}}},
        {"bullet.png", 1, 1, {{0, 0, 16, 16}}},
        {"powerupicons.png", 1, 1, {}, 64, 64, 4},
        {"powerupoverlays.png", 1, 1, {}, 32, 32, 4},
        {"ball.png", 1, 1, {}, 32, 32, 1},
        {"ballblue.png", 1, 1, {}, 32, 32, 1},
    };
    return rows;
}

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

void addFrames(SpriteSheet& sheet, const SheetRow& row) {
    for (const FrameRect& r : row.rects) sheet.addFrame(r.left, r.top, r.right, r.bottom);
    if (row.gridWidth > 0) sheet.sliceGrid(row.gridWidth, row.gridHeight, row.gridCount);
}

// The cursor's draw of a sheet frame.
void drawSheetFrame(int sheet, int frame, int x, int y) {
    if (SpriteSheet* s = getSpriteSheet(sheet)) s->drawFrame(frame, x, y, false, false);
}

} // namespace

void loadSpriteSheets() {
    freeSpriteSheets();
    const std::vector<SheetRow>& rows = sheetRows();
    for (const SheetRow& row : rows) {
        std::unique_ptr<SpriteSheet> sheet;
        if (row.file) {
            sheet = std::make_unique<SpriteSheet>(row.file, row.blend, row.filter);
            addFrames(*sheet, row);
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
    for (size_t n = 0; n < rows.size(); n++)
        if (!rows[n].file) addFrames(*spriteSheetTable[n], rows[n]);
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
