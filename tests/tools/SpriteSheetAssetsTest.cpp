// Every picture the sprite-sheet table and the tile sets name exists in the data folder, with the size and
// the grid frame count the game cuts it into; tile-set pictures share one layout per sheet, their terrain
// frames follow the collision shapes and their full and sky frames are opaque; the water's light never wraps
// its colour; level buttons draw only where they react.
#include "AssetFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

namespace {

struct Rect {
    int left, top, right, bottom;
};

struct SheetNeed {
    const char* file;
    int cellWidth, cellHeight; // 0 when the sheet is cut into fixed rectangles only
    int frames;                // grid frames needed
    bool exact;                // the grid must give exactly that many (the frames are numbered across sheets)
    std::vector<Rect> rects;   // fixed rectangles that must lie inside the picture
};

// The game's grid slicing: whole cells only, rows top to bottom, cells left to right.
int gridCount(int width, int height, int cellWidth, int cellHeight) {
    return (width / cellWidth) * (height / cellHeight);
}

const std::vector<SheetNeed>& fixedSheets() {
    static const std::vector<SheetNeed> sheets = {
        {"glimmerfin1.png", 128, 64, 8, true, {}},
        {"glimmerfin2.png", 128, 64, 8, true, {}},
        {"glimmerfin3.png", 128, 64, 5, false, {}},
        {"laser.png",
         0,
         0,
         0,
         false,
         {{0, 0, 50, 31}, {50, 0, 116, 43}, {0, 31, 50, 62}, {50, 43, 116, 86}, {0, 98, 128, 128}, {0, 64, 39, 93}}},
        {"particles.png", 19, 19, 6, false, {}},
        {"laserfish.png", 64, 64, 16, true, {}},
        {"missile1.png", 0, 0, 0, false, {{0, 0, 32, 8}}},
        {"healthhead.png", 0, 0, 0, false, {{0, 0, 64, 64}}},
        {"golddolphin.png", 32, 32, 16, true, {}},
        {"goldenfishhud.png",
         0,
         0,
         0,
         false,
         {{0, 0, 35, 43},
          {35, 0, 67, 43},
          {67, 0, 100, 43},
          {100, 0, 127, 43},
          {0, 48, 32, 90},
          {32, 48, 63, 90},
          {63, 48, 128, 96}}},
        {"turret.png", 0, 0, 0, false, {{0, 0, 64, 64}, {64, 0, 128, 32}}},
        {"mines.png", 64, 64, 4, true, {}},
        {"autogun.png", 0, 0, 0, false, {{0, 0, 64, 64}}},
        {"bird.png", 128, 64, 8, true, {}},
        {"bomb.png", 0, 0, 0, false, {{0, 0, 32, 32}}},
        {"eel.png", 128, 32, 16, true, {}},
        {"turtle.png", 64, 64, 16, true, {}},
        {"evileye.png", 0, 0, 0, false, {{0, 0, 16, 16}}},
        {"shark.png", 128, 64, 8, true, {}},
        {"drone1.png", 0, 0, 0, false, {{0, 0, 64, 64}}},
        {"arrow.png", 0, 0, 0, false, {{0, 0, 64, 64}}},
        {"arrowcursor.png", 0, 0, 0, false, {{0, 0, 32, 32}}},
        {"crosshaircursor.png", 0, 0, 0, false, {{0, 0, 32, 32}}},
        {"hand.png", 0, 0, 0, false, {{0, 0, 32, 32}}},
        {"torpedo1.png", 0, 0, 0, false, {{0, 0, 32, 32}}},
        {"bullet.png", 0, 0, 0, false, {{0, 0, 16, 16}}},
        // The level select, the in-level menus and the help pages.
        {"selectlevelheading.png", 256, 128, 2, false, {}},
        {"mapbutton.png", 39, 39, 4, false, {}},
        {"levelbuttons.png", 64, 64, 4, false, {}},
        {"medals.png", 32, 32, 3, false, {}},
        {"menubuttons2.png",
         0,
         0,
         0,
         false,
         {{0, 0, 104, 38},
          {0, 38, 104, 76},
          {0, 76, 118, 114},
          {0, 114, 118, 152},
          {118, 0, 190, 38},
          {118, 38, 190, 76}}},
        {"menutitles1.png", 0, 0, 0, false, {{0, 0, 256, 128}, {0, 128, 256, 256}}},
        {"mousehighlight.png", 0, 0, 0, false, {{0, 0, 64, 64}}},
        {"spacebar.png", 0, 0, 0, false, {{0, 0, 256, 115}}},
        {"mouse.png", 0, 0, 0, false, {{0, 0, 256, 256}}},
        {"wasd.png", 0, 0, 0, false, {{0, 0, 256, 212}}},
        {"powerupicons.png", 64, 64, 4, false, {}},
        {"powerupoverlays.png", 32, 32, 4, false, {}},
        {"ball.png", 32, 32, 1, false, {}},
        {"ballblue.png", 32, 32, 1, false, {}},
        {"windowframe.png", 16, 16, 8, false, {}},
        // The front-end screens' sheets.
        {"menubuttons.png",
         0,
         0,
         0,
         false,
         {{0, 0, 108, 38},
          {0, 38, 108, 76},
          {0, 76, 66, 118},
          {0, 118, 66, 160},
          {0, 160, 76, 202},
          {0, 202, 76, 244},
          {108, 0, 246, 38},
          {108, 38, 246, 76},
          {66, 76, 217, 118},
          {66, 118, 217, 160},
          {76, 160, 212, 202},
          {76, 202, 212, 244}}},
        {"titlebutton1.png",
         0,
         0,
         0,
         false,
         {{0, 0, 232, 64}, {0, 64, 232, 128}, {0, 128, 250, 192}, {0, 192, 250, 256}}},
        {"titlebutton2.png",
         0,
         0,
         0,
         false,
         {{0, 0, 175, 64}, {0, 64, 175, 128}, {0, 128, 109, 192}, {0, 192, 109, 256}}},
        {"selectgameheading.png", 256, 128, 2, false, {}},
        {"selectgamebuttons1.png",
         0,
         0,
         0,
         false,
         {{0, 0, 145, 64}, {0, 64, 145, 128}, {0, 128, 132, 192}, {0, 192, 132, 256}}},
        {"selectgamebuttons2.png",
         0,
         0,
         0,
         false,
         {{0, 0, 120, 64}, {0, 64, 120, 128}, {0, 128, 171, 192}, {0, 192, 171, 256}}},
        {"menutitles2.png", 0, 0, 0, false, {{0, 0, 256, 128}, {0, 128, 256, 256}}},
        {"radiobuttons.png",
         0,
         0,
         0,
         false,
         {{0, 0, 28, 28},
          {28, 0, 56, 28},
          {56, 0, 84, 28},
          {84, 0, 112, 28},
          {0, 28, 7, 35},
          {7, 28, 14, 35},
          {14, 28, 21, 35},
          {21, 28, 53, 80},
          {53, 28, 85, 80},
          {0, 80, 28, 108},
          {28, 80, 56, 108},
          {56, 80, 84, 108},
          {84, 80, 112, 108}}},
        {"scenebuttons.png", 0, 0, 0, false, {{0, 0, 71, 38}, {0, 38, 71, 76}, {0, 76, 71, 114}, {0, 114, 71, 152}}},
    };
    return sheets;
}

// The seven tile-set columns: sheet needs, then the file of each of the five sets.
struct TileColumn {
    SheetNeed need;
    const char* files[5];
};

const std::vector<TileColumn>& tileColumns() {
    static const std::vector<TileColumn> columns = {
        {{"water", 64, 64, 12, false, {}},
         {"water1.png", "sunsetwater1.png", "water1.png", "volcanowater1.png", "alienwater1.png"}},
        {{"sand", 64, 64, 16, false, {}},
         {"islandsand.png", "sunsetislandsand.png", "snowislandsand.png", "volcanoislandsand.png",
          "alienislandsand.png"}},
        {{"sky", 64, 64, 14, false, {}},
         {"watersky.png", "sunsetwatersky.png", "snowwatersky.png", "volcanowatersky.png", "alienwatersky.png"}},
        {{"rock", 64, 64, 16, false, {}}, {"rock.png", "rock.png", "snowrock.png", "volcanorock.png", "alienrock.png"}},
        {{"drop", 10, 12, 1, false, {{0, 0, 10, 12}, {10, 0, 30, 20}}},
         {"waterdrop.png", "waterdrop.png", "waterdrop.png", "volcanowaterdrop.png", "alienwaterdrop.png"}},
        {{"coral", 64, 64, 36, false, {}},
         {"coral.png", "coral.png", "snowcoral.png", "volcanocoral.png", "aliencoral.png"}},
        {{"ornaments", 64, 64, 4, false, {}},
         {"ornaments.png", "ornaments.png", "snowornaments.png", "volcanoornaments.png", "alienornaments.png"}},
    };
    return columns;
}

void expectMeets(const SheetNeed& need, const std::string& file) {
    Picture p = readPicture(dataFile("graphics/" + file));
    ASSERT_TRUE(p.ok()) << file << " is missing or does not decode";
    if (need.cellWidth > 0) {
        int count = gridCount(p.width, p.height, need.cellWidth, need.cellHeight);
        if (need.exact)
            EXPECT_EQ(count, need.frames) << file << " gives the wrong number of grid frames";
        else
            EXPECT_GE(count, need.frames) << file << " gives too few grid frames";
    }
    for (const Rect& r : need.rects)
        EXPECT_TRUE(r.right <= p.width && r.bottom <= p.height)
            << file << " is " << p.width << "x" << p.height << ", too small for (" << r.left << ", " << r.top << ", "
            << r.right << ", " << r.bottom << ")";
    // Something is drawn: a picture of nothing but transparency is a broken asset.
    bool drawn = false;
    for (size_t i = 3; i < p.rgba.size() && !drawn; i += 4) drawn = p.rgba[i] > 0;
    EXPECT_TRUE(drawn) << file << " is empty";
}

// Every pixel of the frame (column-major grid of 64 cells) matches: 1 = opaque, 0 = transparent.
int countAlpha(const Picture& p, int frame, int x0, int y0, int x1, int y1, bool opaque) {
    int columns = p.width / 64;
    int fx = (frame % columns) * 64, fy = (frame / columns) * 64, wrong = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++) {
            uint8_t a = p.alpha(fx + x, fy + y);
            if (opaque ? a != 255 : a != 0) wrong++;
        }
    return wrong;
}

enum Quarter { TL = 1, TR = 2, BL = 4, BR = 8, FULL = 15 };

// The solid quarters of a terrain frame must be opaque and the open ones empty (a 5-pixel margin around
// the middle lines leaves room for the rim's outline).
void expectShape(const Picture& p, const std::string& file, int frame, int quarters) {
    const int m = 5;
    for (int q = 0; q < 4; q++) {
        int qx = q % 2, qy = q / 2;
        bool solid = quarters & (1 << q);
        int x0 = qx ? 32 + m : 0, x1 = qx ? 64 : 32 - m, y0 = qy ? 32 + m : 0, y1 = qy ? 64 : 32 - m;
        EXPECT_EQ(countAlpha(p, frame, x0, y0, x1, y1, solid), 0)
            << file << " frame " << frame << " quarter " << q << " should be " << (solid ? "solid" : "open");
    }
}

} // namespace

TEST(SpriteSheetAssets, EveryFixedSheetHasItsSizeAndFrameCount) {
    for (const SheetNeed& need : fixedSheets()) expectMeets(need, need.file);
}

TEST(SpriteSheetAssets, TileSetPicturesExistAndShareTheAlienLayout) {
    std::set<std::string> distinct;
    for (const TileColumn& column : tileColumns()) {
        Picture alien = readPicture(dataFile(std::string("graphics/") + column.files[4]));
        ASSERT_TRUE(alien.ok()) << column.files[4];
        for (const char* file : column.files) {
            distinct.insert(file);
            expectMeets(column.need, file);
            Picture p = readPicture(dataFile(std::string("graphics/") + file));
            EXPECT_EQ(p.width, alien.width) << file;
            EXPECT_EQ(p.height, alien.height) << file;
        }
    }
    EXPECT_EQ(distinct.size(), 29u);
}

TEST(SpriteSheetAssets, TerrainFramesFollowTheCollisionShapesAndOpaqueFramesAreOpaque) {
    const int rotationSet[8] = {FULL, BL | BR, BL | BR, BR, BR, TR | BL | BR, TR | BL | BR, FULL};
    const int coral[36] = {
        FULL,         BL | BR,      TR | BR,      TL | TR,      TL | BL, -1,      TR | BR, TL | TR, TL | BL,
        TR | BL | BR, TL | TR | BR, TL | TR | BL, TL | BL | BR, BR,      TR,      TL,      BL,      FULL,
        FULL,         BL | BR,      TR | BR,      TL | TR,      TL | BL, BL | BR, TR | BR, TL | TR, TL | BL,
        TR | BL | BR, TL | TR | BR, TL | TR | BL, TL | BL | BR, BR,      TR,      TL,      BL,      FULL};
    for (const TileColumn& column : tileColumns()) {
        std::string kind = column.need.file;
        for (const char* file : column.files) {
            Picture p = readPicture(dataFile(std::string("graphics/") + file));
            ASSERT_TRUE(p.ok()) << file;
            if (kind == "sand") {
                for (int k = 0; k < 8; k++) expectShape(p, file, 8 + k, rotationSet[k]);
                for (int full : {8, 15}) // drawn with blending off
                    EXPECT_EQ(countAlpha(p, full, 0, 0, 64, 64, true), 0) << file << " frame " << full;
            } else if (kind == "rock") {
                for (int k = 0; k < 16; k++) expectShape(p, file, k, rotationSet[k % 8]);
                for (int full : {0, 7, 8, 15})
                    EXPECT_EQ(countAlpha(p, full, 0, 0, 64, 64, true), 0) << file << " frame " << full;
            } else if (kind == "coral") {
                for (int k = 0; k < 36; k++)
                    if (coral[k] >= 0) expectShape(p, file, k, coral[k]);
            } else if (kind == "sky") {
                for (int f : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13})
                    EXPECT_EQ(countAlpha(p, f, 0, 0, 64, 64, true), 0)
                        << file << " sky frame " << f << " is not opaque";
            }
        }
    }
}

// The pixels of the rectangle (x, y, w, h) that differ, in alpha or (where drawn) in colour, from their mirror
// image across the rectangle's middle row: what a sprite drawn mirrored across its facing would change.
int mirrorMismatches(const Picture& p, int x0, int y0, int w, int h) {
    int wrong = 0;
    for (int y = 0; y < h / 2; y++)
        for (int x = 0; x < w; x++) {
            const uint8_t* a = p.pixel(x0 + x, y0 + y);
            const uint8_t* b = p.pixel(x0 + x, y0 + h - 1 - y);
            int worst = std::abs(a[3] - b[3]);
            if (a[3] > 32 && b[3] > 32)
                for (int k = 0; k < 3; k++) worst = std::max(worst, std::abs(a[k] - b[k]));
            wrong += worst > 8;
        }
    return wrong;
}

// Whether any pixel of the rectangle is drawn.
bool drawnIn(const Picture& p, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++)
            if (p.alpha(x, y) > 0) return true;
    return false;
}

TEST(SpriteSheetAssets, MountedGunsFaceRightFromAWallOnTheirLeftAndLookTheSameMirrored) {
    // A turret or auto gun placed at angle 0 aims right, so its picture must be mounted on a wall to its left;
    // past 180 degrees the game draws it mirrored across its facing, which must change nothing.
    const Picture turret = readPicture(dataFile("graphics/turret.png"));
    ASSERT_TRUE(turret.ok());
    EXPECT_EQ(mirrorMismatches(turret, 0, 0, 64, 64), 0) << "the turret's body";
    EXPECT_EQ(mirrorMismatches(turret, 64, 0, 64, 32), 0) << "the turret's barrel";
    EXPECT_EQ(turret.alpha(2, 32), 255) << "the body's base lies against the left side";
    EXPECT_FALSE(drawnIn(turret, 56, 0, 8, 64)) << "the body reaches the right side";
    EXPECT_FALSE(drawnIn(turret, 0, 0, 64, 3)) << "the body reaches the top";
    // The barrel turns about the frame's centre, which the game puts on the body's centre, and reaches the
    // tip hotspot (24, 0) where the shots leave.
    EXPECT_EQ(turret.alpha(64 + 32, 16), 255) << "the barrel's pivot";
    EXPECT_EQ(turret.alpha(64 + 32 + 24, 16), 255) << "the barrel's muzzle";
    EXPECT_FALSE(drawnIn(turret, 64 + 62, 0, 2, 32)) << "the barrel reaches past its muzzle";

    // The auto gun stands on a cell beside the ground, whose face runs through the cell's middle: nothing
    // lies behind its flange there, and its barrel reaches the muzzle hotspot (30, 0).
    const Picture gun = readPicture(dataFile("graphics/autogun.png"));
    ASSERT_TRUE(gun.ok());
    EXPECT_EQ(mirrorMismatches(gun, 0, 0, 64, 64), 0) << "the auto gun";
    EXPECT_FALSE(drawnIn(gun, 0, 0, 24, 64)) << "the auto gun reaches into the wall behind it";
    EXPECT_EQ(gun.alpha(32 + 28, 32), 255) << "the auto gun's muzzle";
}

TEST(SpriteSheetAssets, IslandPiecesJoinOneTopLineAndStandOnTheirOwnSand) {
    // Frames 0..7 of the sand sheet: island left end, middle, right end, palm trunk, palm crown, bush, stones,
    // grass. Each piece in an island row carries its sand down to the bottom of the cell, under the same top
    // line as the bottom-half edge tile (frame 9) where it meets its neighbours, so that the pieces join one
    // another and a piece on a beach joins the beach.
    auto topAt = [](const Picture& p, int frame, int x) {
        const int fx = (frame % 4) * 64 + x, fy = (frame / 4) * 64;
        for (int y = 0; y < 64; y++)
            if (p.alpha(fx, fy + y) > 128) return y;
        return 64;
    };
    struct Join {
        int frame, x0, x1; // the columns where the piece meets a neighbour
    };
    const Join joins[] = {{0, 58, 64}, {1, 0, 64}, {2, 0, 6},   {3, 0, 6}, {3, 58, 64}, {5, 0, 6},
                          {5, 58, 64}, {6, 0, 6},  {6, 58, 64}, {7, 0, 6}, {7, 58, 64}};
    for (const char* file : tileColumns()[1].files) {
        const Picture p = readPicture(dataFile(std::string("graphics/") + file));
        ASSERT_TRUE(p.ok()) << file;
        for (const Join& join : joins)
            for (int x = join.x0; x < join.x1; x++)
                EXPECT_NEAR(topAt(p, join.frame, x), topAt(p, 9, x), 1)
                    << file << " island piece " << join.frame << " at column " << x;
        for (int frame : {1, 3, 5, 6, 7})
            EXPECT_EQ(countAlpha(p, frame, 0, 40, 64, 64, true), 0) << file << " island piece " << frame;
    }
}

TEST(SpriteSheetAssets, WaterFramesAnimateAndTheSkyStripJoins) {
    auto frameDiffers = [](const Picture& p, int a, int b) {
        int columns = p.width / 64;
        for (int y = 0; y < 64; y++)
            for (int x = 0; x < 64; x++)
                if (std::memcmp(p.pixel((a % columns) * 64 + x, (a / columns) * 64 + y),
                                p.pixel((b % columns) * 64 + x, (b / columns) * 64 + y), 4) != 0)
                    return true;
        return false;
    };
    for (const char* file : tileColumns()[0].files) {
        Picture p = readPicture(dataFile(std::string("graphics/") + file));
        ASSERT_TRUE(p.ok()) << file;
        for (int f = 0; f < 8; f++) EXPECT_TRUE(frameDiffers(p, f, (f + 1) % 8)) << file << " surface frame " << f;
        for (int f = 8; f < 12; f++)
            EXPECT_TRUE(frameDiffers(p, f, f == 11 ? 8 : f + 1)) << file << " water frame " << f;
    }
    // The alternating strip shows frame 12 mirrored, then frame 13: across each joint the colours step no
    // more than they do between neighbouring columns inside the frames.
    for (const char* file : tileColumns()[2].files) {
        Picture p = readPicture(dataFile(std::string("graphics/") + file));
        ASSERT_TRUE(p.ok()) << file;
        auto step = [&](int x0, int x1) {
            int worst = 0;
            for (int y = 0; y < 64; y++)
                for (int k = 0; k < 3; k++)
                    worst = std::max(worst, std::abs(p.pixel(x0, 3 * 64 + y)[k] - p.pixel(x1, 3 * 64 + y)[k]));
            return worst;
        };
        int inside = std::max({step(0, 1), step(62, 63), step(64, 65), step(126, 127)});
        // Frame 12's left column meets frame 13's left column; frame 13's right column meets frame 12's right.
        EXPECT_LE(step(0, 64), 2 * inside + 4) << file << " sky strip frames 12 and 13 do not join";
        EXPECT_LE(step(127, 63), 2 * inside + 4) << file << " sky strip frames 13 and 12 do not join";
    }
}

TEST(SpriteSheetAssets, WaterKeepsItsColourUnderTheCausticLight) {
    // Below the crest and its foam the water is one colour, lightening a little towards the crest, with caustic
    // light added (at most 22 % of full brightness). Light that overflowed a channel before the picture was
    // saved wraps round to a far-off value, a lime or purple streak through the water: so each channel keeps
    // within a narrow range.
    for (const char* file : tileColumns()[0].files) {
        Picture p = readPicture(dataFile(std::string("graphics/") + file));
        ASSERT_TRUE(p.ok()) << file;
        for (int f = 0; f < 12; f++) {
            const int x0 = (f % 4) * 64, y0 = (f / 4) * 64, top = f < 8 ? 46 : 0;
            for (int k = 0; k < 3; k++) {
                int low = 255, high = 0;
                for (int y = top; y < 64; y++)
                    for (int x = 0; x < 64; x++) {
                        low = std::min<int>(low, p.pixel(x0 + x, y0 + y)[k]);
                        high = std::max<int>(high, p.pixel(x0 + x, y0 + y)[k]);
                    }
                EXPECT_LE(high - low, 80)
                    << file << " frame " << f << " channel " << k << " runs from " << low << " to " << high;
            }
        }
    }
}

TEST(SpriteSheetAssets, LevelButtonsDrawOnlyWhatReactsToThePointer) {
    // The level select's hit tests: a grid button reacts at the pixels of its 64-pixel cell less 10 on every
    // side, a map button at those closer than 20 to pixel (19, 19) of its 39-pixel cell. The hover look (frame
    // 0) fills that area; the rest and locked looks (frames 1, 2) keep 4 pixels inside it, so that the hover
    // look drawn under them shows as a rim while the next level pulses.
    struct Look {
        const char* file;
        int cell;
        bool round;
    };
    for (const Look look : {Look{"levelbuttons.png", 64, false}, Look{"mapbutton.png", 39, true}}) {
        const Picture p = readPicture(dataFile("graphics/" + std::string(look.file)));
        ASSERT_TRUE(p.ok()) << look.file;
        for (int frame = 0; frame < 3; frame++) {
            const int inset = frame == 0 ? 0 : 4;
            double farthest = 0; // how far the drawn pixels reach from the centre (a pixel's far side)
            int outside = 0;
            for (int y = 0; y < look.cell; y++)
                for (int x = 0; x < look.cell; x++) {
                    if (p.alpha(frame * look.cell + x, y) == 0) continue;
                    if (look.round) {
                        const double d = std::hypot(x - 19, y - 19);
                        farthest = std::max(farthest, d);
                        outside += d >= 20 - inset;
                    } else {
                        // Pixel 10 (and 53) is 22 from the cell's middle line, pixel 9 (and 54) is 23.
                        const int d = std::max(std::abs(2 * x + 1 - 64), std::abs(2 * y + 1 - 64)) / 2 + 1;
                        farthest = std::max(farthest, double(d));
                        outside += d > 22 - inset;
                    }
                }
            EXPECT_EQ(outside, 0) << look.file << " frame " << frame;
            if (frame == 0) {
                EXPECT_GE(farthest, look.round ? 18.0 : 22.0) << look.file << ": the hover look fills what reacts";
            }
        }
    }
}

TEST(SpriteSheetAssets, BackdropsAreSixteenFullChromaJpegsOf256Squared) {
    for (const char* prefix : {"title", "map"})
        for (int n = 1; n <= 8; n++) {
            std::string file = std::string(prefix) + std::to_string(n) + ".jpg";
            Picture picture = readPicture(dataFile("graphics/" + file));
            EXPECT_EQ(picture.width, 256) << file << " does not decode";
            EXPECT_EQ(picture.height, 256) << file;
            JpegInfo info = readJpegInfo(dataFile("graphics/" + file));
            EXPECT_EQ(info.width, 256) << file;
            EXPECT_EQ(info.height, 256) << file;
            EXPECT_EQ(info.components, 3) << file;
            EXPECT_TRUE(info.fullChroma) << file << " subsamples its colour";
        }
}

TEST(SpriteSheetAssets, LogoAndComicPicturesAreFullChromaJpegsOf256Squared) {
    std::vector<std::string> files = {"logoleft.jpg",    "logoright.jpg",   "tollberrytl.jpg",
                                      "tollberrytr.jpg", "tollberrybl.jpg", "tollberrybr.jpg"};
    for (int n = 1; n <= 11; n++)
        files.push_back((n < 10 ? "scene1frame0" : "scene1frame") + std::to_string(n) + ".jpg");
    const int sceneFrames[4] = {6, 3, 3, 4}; // scenes 2 to 5
    for (int scene = 2; scene <= 5; scene++)
        for (int n = 1; n <= sceneFrames[scene - 2]; n++)
            files.push_back("scene" + std::to_string(scene) + "frame" + std::to_string(n) + ".jpg");
    EXPECT_EQ(files.size(), 33u);
    for (const std::string& file : files) {
        JpegInfo info = readJpegInfo(dataFile("graphics/" + file));
        EXPECT_EQ(info.width, 256) << file << " is missing or not 256 wide";
        EXPECT_EQ(info.height, 256) << file;
        EXPECT_EQ(info.components, 3) << file;
        EXPECT_TRUE(info.fullChroma) << file << " subsamples its colour";
        EXPECT_TRUE(readPicture(dataFile("graphics/" + file)).ok()) << file << " does not decode";
    }
}

TEST(SpriteSheetAssets, NoHighResolutionVariantIsShipped) {
    // The picture loader would take an "ipad3res_" file at double scale in place of the real one.
    bool found = false;
    KMiscTools::enumerateFolder(
        [&](const std::string& name, bool) {
            found = found || name.rfind("ipad3res_", 0) == 0;
            return true;
        },
        dataFile("graphics"));
    EXPECT_FALSE(found);
}
