// The bitmap-font pictures and their compiled-in character tables match: the record orders and the given
// first records, boxes inside the picture with ink in them, one geometry for fonts 0 and 1 (dark and
// white), and the TrueType faces copied into the fonts folder.
#include "AssetFiles.h"
#include "BitmapFontTables.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"

#include <gtest/gtest.h>

namespace {

struct FontCase {
    const char* picture;
    const KTextCharRecord* table;
    const char* order;
    bool dark;
};

const FontCase kFonts[] = {
    {"font2.png", bitmapFontTableFirst, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!?\"',.:-% ",
     true},
    {"font1.png", bitmapFontTableFirst, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!?\"',.:-% ",
     false},
    {"sans18white.png", bitmapFontTableSecond,
     "bdehklagmtnopqruvxzDEFHKOPQSUVXYZ0123456789\"'%-,.$ij:!fcswyABCGIJLMNRTW ", false},
    {"arialbold22.png", bitmapFontTableThird,
     "ACDEFGHIJKMN!OPQRSTUVZacdefghijkmnopqrstuvz012346789:\",BLWXYblwxy5,.-%$+^ ", false},
};

size_t recordCount(const KTextCharRecord* table) {
    size_t n = 0;
    while (table[n].codePoint != 0) n++;
    return n;
}

} // namespace

TEST(FontAssets, TablesKeepTheGivenOrderAndFirstRecords) {
    EXPECT_EQ(recordCount(bitmapFontTableFirst), 72u);
    EXPECT_EQ(recordCount(bitmapFontTableSecond), 72u);
    EXPECT_EQ(recordCount(bitmapFontTableThird), 74u);
    for (const FontCase& font : kFonts) {
        std::string order = font.order;
        ASSERT_EQ(recordCount(font.table), order.size()) << font.picture;
        for (size_t i = 0; i < order.size(); i++)
            EXPECT_EQ(font.table[i].codePoint, static_cast<unsigned char>(order[i])) << font.picture << " record " << i;
    }
    const KTextCharRecord& a = bitmapFontTableFirst[0];
    EXPECT_EQ((std::vector<int>{a.codePoint, a.x1, a.y1, a.x2, a.y2, a.advance, a.height}),
              (std::vector<int>{97, 0, 0, 10, 16, 6, 16}));
    const KTextCharRecord& bigA = bitmapFontTableThird[0];
    EXPECT_EQ((std::vector<int>{bigA.codePoint, bigA.x1, bigA.y1, bigA.x2, bigA.y2, bigA.advance, bigA.height}),
              (std::vector<int>{65, 0, 2, 18, 19, 19, 18}));
    // The terminator counts towards the line height, so it must not be taller than the font.
    for (const FontCase& font : kFonts) {
        const KTextCharRecord& end = font.table[recordCount(font.table)];
        EXPECT_EQ(end.height, 0) << font.picture;
    }
}

TEST(FontAssets, GlyphBoxesLieInsideTheirPicturesAndHoldInk) {
    for (const FontCase& font : kFonts) {
        Picture p = readPicture(dataFile(std::string("graphics/") + font.picture));
        ASSERT_TRUE(p.ok()) << font.picture;
        for (size_t i = 0; font.table[i].codePoint != 0; i++) {
            const KTextCharRecord& r = font.table[i];
            ASSERT_TRUE(r.x1 >= 0 && r.y1 >= 0 && r.x2 < p.width && r.y2 < p.height && r.x1 <= r.x2 && r.y1 <= r.y2)
                << font.picture << " glyph " << r.codePoint;
            EXPECT_GT(r.advance, 0) << font.picture << " glyph " << r.codePoint;
            int ink = 0;
            for (int y = r.y1; y <= r.y2; y++)
                for (int x = r.x1; x <= r.x2; x++)
                    if (p.alpha(x, y) > 128) {
                        ink++;
                        const uint8_t* px = p.pixel(x, y);
                        if (font.dark) {
                            EXPECT_LT(px[0] + px[1] + px[2], 3 * 80) << font.picture << " glyph " << r.codePoint;
                        } else if (px[3] == 255 && font.table != bitmapFontTableThird) {
                            EXPECT_GT(px[0] + px[1] + px[2], 3 * 200) << font.picture << " glyph " << r.codePoint;
                        }
                    }
            if (r.codePoint == ' ') {
                EXPECT_EQ(ink, 0) << font.picture;
            } else {
                EXPECT_GT(ink, 0) << font.picture << " glyph " << static_cast<char>(r.codePoint) << " has no ink";
            }
        }
    }
}

TEST(FontAssets, TooltipFontsShareOneGeometry) {
    // The tooltip is measured with font 1 and drawn with font 0: the same glyph shapes in two colours.
    Picture dark = readPicture(dataFile("graphics/font2.png")), white = readPicture(dataFile("graphics/font1.png"));
    ASSERT_TRUE(dark.ok() && white.ok());
    ASSERT_EQ(dark.width, white.width);
    ASSERT_EQ(dark.height, white.height);
    int different = 0;
    for (int y = 0; y < dark.height; y++)
        for (int x = 0; x < dark.width; x++) different += dark.alpha(x, y) != white.alpha(x, y);
    EXPECT_EQ(different, 0);
}

TEST(FontAssets, EngineFacesLoadEachPictureWithItsTable) {
    // The game's KText over each picture and table: the line heights the game counts on, every listed
    // character found, and widths made of the table's advances.
    ScopedGraphicRecording recording;
    const int lineHeights[] = {16, 16, 18, 18};
    for (size_t i = 0; i < std::size(kFonts); i++) {
        const FontCase& font = kFonts[i];
        std::string path = dataFile(std::string("graphics/") + font.picture);
        KText face(font.table, path.c_str());
        EXPECT_EQ(face.getHeight(), lineHeights[i]) << font.picture;
        for (const char* c = font.order; *c; c++)
            EXPECT_TRUE(face.hasChar(static_cast<unsigned char>(*c))) << font.picture << " lacks " << *c;
        EXPECT_FALSE(face.hasChar('#')) << font.picture;
        int ab = font.table[face.findGlyph('a')].advance + font.table[face.findGlyph('b')].advance;
        EXPECT_FLOAT_EQ(face.getStringWidth("ab"), static_cast<float>(ab)) << font.picture;
    }
}

TEST(FontAssets, TrueTypeFacesAreInTheFontsFolder) {
    for (const char* file : {"f/v.ttf", "f/vbold.ttf"}) {
        std::vector<uint8_t> bytes = readBytes(dataFile(file));
        ASSERT_GT(bytes.size(), 10000u) << file;
        EXPECT_EQ((std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4)), (std::vector<uint8_t>{0, 1, 0, 0}))
            << file << " is not a TrueType file";
    }
}
