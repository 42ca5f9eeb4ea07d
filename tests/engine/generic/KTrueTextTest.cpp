// TrueType text over a real DejaVu face: glyph pages and their size and count rules, page pixels, the
// replacement glyph, the byte-order mark, widths, height changes, a face that is missing, and a small made face
// whose outlines are far larger than a page.
#include "KTrueText.h"

#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "KLog.h"
#include "TempFolder.h"
#include "TrueTypeFixtures.h"

#include <algorithm>
#include <ft2build.h>
#include <gtest/gtest.h>
#include <string>
#include FT_FREETYPE_H

namespace {
const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// The smallest power of two, at least 4, at or above a size.
int pageSideFor(int size) {
    int side = 4;
    while (side < size) side *= 2;
    return side;
}

std::string logText() {
    return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed());
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
}

class KTrueTextTest : public ::testing::Test {
protected:
    void SetUp() override { KLog::clearMemoryBuffer(); }
    ScopedGraphicRecording recording;

    static KGraphicRecorder* recorderOf(KGraphic* page) { return dynamic_cast<KGraphicRecorder*>(page); }

    // Every record inside its page, and every page pixel either untouched or white with some alpha.
    static void expectSoundPages(KTrueText& face) {
        const KTrueText::GlyphRecord* records = face.getGlyphRecords();
        for (int i = 0; i < face.getGlyphCount(); i++) {
            ASSERT_GE(records[i].page, 0);
            ASSERT_LT(records[i].page, face.getPageCount());
            KGraphic* page = face.getPage(records[i].page);
            // The whole box, its 2-pixel gap at the top left included, lies on the page.
            EXPECT_GE(records[i].x1, 2);
            EXPECT_GE(records[i].y1, 2);
            EXPECT_LE(records[i].x2, page->getWidth()) << "U+" << std::hex << records[i].codePoint;
            EXPECT_LE(records[i].y2, page->getHeight()) << "U+" << std::hex << records[i].codePoint;
            EXPECT_LE(records[i].x1, records[i].x2);
            EXPECT_LE(records[i].y1, records[i].y2);
            EXPECT_GE(records[i].offsetY, 0) << "no glyph rises above the line top";
        }
        EXPECT_EQ(records[face.getGlyphCount()].codePoint, 0);
        // One page is as small as its glyphs allow: a power of two that holds every box with its 2-pixel gap and
        // the last row's height (its tallest glyph plus 5); several pages all take the page capacity.
        const int count = face.getGlyphCount();
        int side = face.getHeight() < 20 ? 256 : 512;
        if (face.getPageCount() == 1 && count > 0) {
            int need = 0, lastRowHeight = 0;
            for (int i = 0; i < count; i++) {
                need = std::max(need, int(records[i].x2) + 2);
                if (records[i].y1 != records[count - 1].y1) continue;
                int rows = int(records[i].y2 - records[i].y1);
                if (lastRowHeight < rows) lastRowHeight = rows + 5;
            }
            side = pageSideFor(std::max(need, lastRowHeight + int(records[count - 1].y1)));
        }
        for (int p = 0; p < face.getPageCount(); p++) {
            EXPECT_EQ(face.getPage(p)->getWidth(), side) << "page " << p;
            EXPECT_EQ(face.getPage(p)->getHeight(), side) << "page " << p;
        }
        for (int p = 0; p < face.getPageCount(); p++) {
            KGraphicRecorder* page = recorderOf(face.getPage(p));
            ASSERT_NE(page, nullptr);
            EXPECT_TRUE(page->isLinear());
            bool someGrey = false;
            for (uint32_t pixel : page->pixels()) {
                ASSERT_TRUE(pixel == 0 || (pixel & 0x00FFFFFF) == 0x00FFFFFF) << std::hex << pixel;
                uint32_t alpha = pixel >> 24;
                if (alpha > 0 && alpha < 255) someGrey = true;
            }
            EXPECT_TRUE(someGrey) << "page " << p << " is antialiased";
        }
    }
};
} // namespace

TEST_F(KTrueTextTest, PageSideFollowsTheLineHeight) {
    KTrueText face(kSans);
    face.setHeight(10);
    ASSERT_LT(face.getHeight(), 20);
    ASSERT_GE(face.getPageCount(), 1);
    for (int p = 0; p < face.getPageCount(); p++) EXPECT_LE(face.getPage(p)->getWidth(), 256);
    EXPECT_EQ(face.getGlyphCount(), 225);
    expectSoundPages(face);

    face.setHeight(24);
    ASSERT_GE(face.getHeight(), 20);
    for (int p = 0; p < face.getPageCount(); p++) {
        EXPECT_LE(face.getPage(p)->getWidth(), 512);
        EXPECT_EQ(face.getPage(p)->getWidth(), face.getPage(p)->getHeight());
    }
    EXPECT_EQ(face.getGlyphCount(), 225);
    expectSoundPages(face);
    EXPECT_EQ(logText(), "");
}

namespace {
// Every glyph of a face lies on its page whole: exactly the bitmap FreeType lays it out with, no row or column
// cut off by its box or by the page, and none shifted.
void expectGlyphsWhole(const KTrueText& text, const char* path, int points) {
    FT_Library library;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    ASSERT_EQ(FT_New_Face(library, path, 0, &face), 0);
    FT_Size_RequestRec request = {FT_SIZE_REQUEST_TYPE_NOMINAL, points * 64, points * 64, 96, 96};
    ASSERT_EQ(FT_Request_Size(face, &request), 0);
    int wrong = 0;
    for (int i = 0; i < text.getGlyphCount(); i++) {
        const KTrueText::GlyphRecord& record = text.getGlyphRecords()[i];
        ASSERT_EQ(FT_Load_Char(face, FT_ULong(record.codePoint), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT), 0);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        ASSERT_EQ(int(bitmap.width), int(record.x2 - record.x1)) << "U+" << std::hex << record.codePoint;
        ASSERT_EQ(int(bitmap.rows), int(record.y2 - record.y1)) << "U+" << std::hex << record.codePoint;
        KGraphicRecorder* page = dynamic_cast<KGraphicRecorder*>(text.getPage(record.page));
        ASSERT_NE(page, nullptr);
        const int side = int(page->getWidth());
        ASSERT_LE(int(record.x2), side) << "U+" << std::hex << record.codePoint;
        ASSERT_LE(int(record.y2), side) << "U+" << std::hex << record.codePoint;
        bool same = true;
        for (int y = 0; y < int(bitmap.rows); y++)
            for (int x = 0; x < int(bitmap.width); x++) {
                uint32_t pixel = page->pixels()[size_t(int(record.y1) + y) * size_t(side) + size_t(record.x1) + x];
                same = same && (pixel >> 24) == bitmap.buffer[y * bitmap.pitch + x];
            }
        if (!same) {
            wrong++;
            ADD_FAILURE() << "U+" << std::hex << record.codePoint << " differs from its laid-out bitmap";
        }
    }
    EXPECT_EQ(wrong, 0);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}
} // namespace

// The game's faces at the sizes the game uses.
TEST_F(KTrueTextTest, GlyphsOfTheGameFacesFillTheirBoxesExactly) {
    struct Case {
        const char* path;
        int points;
    } cases[] = {{kSansBold, 24}, {kSans, 20}, {kSans, 14}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " at " + std::to_string(c.points));
        KTrueText text(c.path);
        text.setHeight(c.points);
        ASSERT_GT(text.getGlyphCount(), 0);
        expectGlyphsWhole(text, c.path, c.points);
    }
}

// A glyph taller than every glyph before it on its page, in a row that starts low on the page, goes to the
// next page whole: the page is full when the row would pass the bottom with the new glyph in it. In the small
// face at 300 points, 'A' (a square of 0.56 em) fills the first row and 'B' (1 em tall) starts the second.
TEST_F(KTrueTextTest, ATallGlyphOnAFullPageIsKeptWhole) {
    TempFolder temp;
    const std::vector<unsigned char> bytes = smallTrueTypeFace(560);
    const std::string path = temp.write("tall.ttf", std::string(bytes.begin(), bytes.end()));
    KTrueText face(path.c_str());
    face.setHeight(300);
    ASSERT_GT(face.getPageCount(), 1);
    const KTrueText::GlyphRecord& a = face.getGlyphRecords()[face.findGlyph('A')];
    const KTrueText::GlyphRecord& b = face.getGlyphRecords()[face.findGlyph('B')];
    ASSERT_GT(b.y2 - b.y1, a.y2 - a.y1) << "B is the taller";
    expectGlyphsWhole(face, path.c_str(), 300);
}

TEST_F(KTrueTextTest, EightPagesAtMostWithOneWarning) {
    KTrueText face(kSans);
    face.setHeight(100);
    EXPECT_EQ(face.getPageCount(), 8);
    EXPECT_LT(face.getGlyphCount(), 225);
    EXPECT_EQ(count(logText(), "KTrueText: " + std::string(kSans) +
                                   ": maximum graphics per font reached, some characters will be missing, WARNING."),
              1u);
    expectSoundPages(face);
    // U+FFFD, last in the set, got no record: unknown code points draw as the first record (U+0020).
    EXPECT_EQ(face.findGlyph(0x100), 0);
    EXPECT_EQ(face.getGlyphRecords()[0].codePoint, 0x20);

    face.setHeight(12); // a rebuild that places U+FFFD again
    int replacement = face.findGlyph(0x100);
    EXPECT_EQ(face.getGlyphRecords()[replacement].codePoint, 0xFFFD);
}

TEST_F(KTrueTextTest, ReplacementAndByteOrderMark) {
    KTrueText face(kSans);
    face.setHeight(14);
    EXPECT_TRUE(face.hasChar(0x100));
    EXPECT_FALSE(face.hasChar(0xFEFF));
    // U+0100 measures and draws as U+FFFD; U+FEFF neither draws nor advances.
    EXPECT_FLOAT_EQ(face.getStringWidth("\xC4\x80", 0, 1, K_ENCODING_UTF8),
                    face.getStringWidth("\xEF\xBF\xBD", 0, 1, K_ENCODING_UTF8));
    EXPECT_FLOAT_EQ(face.getStringWidth("a\xEF\xBB\xBF"
                                        "b",
                                        0, 1, K_ENCODING_UTF8),
                    face.getStringWidth("ab"));
    KGraphicRecorder::clearCalls();
    face.drawString("\xC4\x80\xEF\xBB\xBFx", 10, 10, 0, K_ENCODING_UTF8);
    std::vector<RecordedDraw> calls = KGraphicRecorder::calls();
    ASSERT_EQ(calls.size(), 2u);
    const KTrueText::GlyphRecord& replacement = face.getGlyphRecords()[face.findGlyph(0xFFFD)];
    EXPECT_EQ(calls[0].args[0], replacement.x1);
    EXPECT_EQ(calls[0].args[2], replacement.x2 + 1);
    EXPECT_EQ(calls[0].args[4], 10 + replacement.bearingX);
    EXPECT_EQ(calls[0].args[5], 10 + replacement.offsetY);
    const KTrueText::GlyphRecord& x = face.getGlyphRecords()[face.findGlyph('x')];
    EXPECT_EQ(calls[1].args[4], 10 + replacement.advance + x.bearingX);
    EXPECT_EQ(calls[1].picture, face.getPage(x.page));
}

TEST_F(KTrueTextTest, WidthsCountTheLastExtra) {
    KTrueText face(kSans);
    face.setHeight(20);
    float a = face.getCharAdvance('a'), b = face.getCharAdvance('b');
    ASSERT_GT(a, 0);
    EXPECT_FLOAT_EQ(face.getStringWidth("ab", 2), a + b + 4);
    EXPECT_FLOAT_EQ(face.getCharAdvance('a', 2), a + 2);
    EXPECT_FLOAT_EQ(face.getCharAdvance(0, 2), 0);
    EXPECT_FLOAT_EQ(face.getPrefixWidth("abc", 2), a + b);
}

TEST_F(KTrueTextTest, HeightChangesRebuildOnlyWhenTheLineHeightChanges) {
    KTrueText face(kSans);
    face.setHeight(18);
    KGraphic* first = face.getPage(0);
    int pictures = KGraphicRecorder::instances().count;
    face.setHeight(18);
    EXPECT_EQ(face.getPage(0), first);
    EXPECT_EQ(KGraphicRecorder::instances().count, pictures);
    EXPECT_EQ(face.getRawHeight(), face.getHeight());

    face.setHeight(0); // sized at 1 point, as a negative height is
    int tiny = face.getHeight();
    face.setHeight(-4);
    EXPECT_EQ(face.getHeight(), tiny);
    face.setHeight(1);
    EXPECT_EQ(face.getHeight(), tiny);
    EXPECT_LT(tiny, 5);
}

TEST_F(KTrueTextTest, PagesAreBuiltOnFirstUseAtTwelvePoints) {
    KTrueText face(kSans);
    EXPECT_EQ(face.getPageCount(), 0);
    EXPECT_GT(face.getStringWidth("a"), 0); // builds the pages at the default size
    EXPECT_GE(face.getPageCount(), 1);
    KTrueText twelve(kSans);
    twelve.setHeight(12);
    EXPECT_EQ(face.getHeight(), twelve.getHeight());
}

TEST_F(KTrueTextTest, ColourReachesThePagesMadeLater) {
    KTrueText face(kSans);
    face.setHeight(16);
    face.setColor(1, 0, 0, 1);
    EXPECT_FLOAT_EQ(recorderOf(face.getPage(0))->blitColor()[1], 0);
    face.setHeight(30);
    EXPECT_FLOAT_EQ(recorderOf(face.getPage(0))->blitColor()[1], 0);
}

TEST_F(KTrueTextTest, MissingOrDamagedFontMeasuresNothingAndLogsNothing) {
    for (const char* path : {"/nonexistent/v.ttf", "/etc/hostname", static_cast<const char*>(nullptr)}) {
        KTrueText face(path);
        face.setHeight(20);
        KGraphicRecorder::clearCalls();
        face.drawString("abc", 0, 0);
        face.drawStringRight("abc", 0, 0);
        EXPECT_TRUE(KGraphicRecorder::calls().empty());
        EXPECT_EQ(face.getStringWidth("abc"), 0);
        EXPECT_EQ(face.getHeight(), 0);
        EXPECT_EQ(face.getCharIndexAt("abc", 0, 0, 0, 0, 3, true), -1);
        EXPECT_EQ(face.getPageCount(), 0);
    }
    EXPECT_EQ(logText(), "");
}

TEST_F(KTrueTextTest, GlyphsLargerThanAPageAreLeftOutBeforeTheyAreRendered) {
    // 'A' is a square 30 ems wide, about 960 pixels at 24 points; 'C' holds it too; 'B' is of a normal size.
    TempFolder temp;
    const std::vector<unsigned char> bytes = smallTrueTypeFace(30000);
    KTrueText face(temp.write("huge.ttf", std::string(bytes.begin(), bytes.end())).c_str());
    face.setHeight(24);
    ASSERT_EQ(face.getPageCount(), 1);
    EXPECT_LE(face.getPage(0)->getWidth(), 512) << "no page grows to hold a glyph larger than a page";
    EXPECT_EQ(face.getGlyphCount(), 223);
    EXPECT_EQ(face.findGlyph('A'), face.findGlyph(0xFFFD));
    EXPECT_EQ(face.findGlyph('C'), face.findGlyph(0xFFFD));
    EXPECT_NE(face.findGlyph('B'), face.findGlyph(0xFFFD));
    EXPECT_GT(face.getStringWidth("B"), 0);

    // At a normal size the same face keeps every glyph.
    const std::vector<unsigned char> normal = smallTrueTypeFace();
    KTrueText small(temp.write("small.ttf", std::string(normal.begin(), normal.end())).c_str());
    small.setHeight(24);
    EXPECT_EQ(small.getGlyphCount(), 225);
    EXPECT_NE(small.findGlyph('A'), small.findGlyph(0xFFFD));
}
