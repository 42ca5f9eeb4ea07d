// Bitmap text: the page picture made through the factory, the character table's rules (first duplicate wins,
// missing characters, line height), widths without the last extra, and glyph offsets.
#include "KText.h"

#include "FixedAdvanceFont.h"

#include <gtest/gtest.h>

TEST(KText, LoadsItsPageThroughTheFactory) {
    FixedAdvanceFont font;
    KGraphicRecorder* page = font.page();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->hasPicture());
    EXPECT_TRUE(page->isLinear());
    EXPECT_EQ(page->getWidth(), 256);
    EXPECT_EQ(page->getHeight(), 128);
    font.face().setColor(0.5f, 1, 1, 1);
    EXPECT_FLOAT_EQ(page->blitColor()[0], 0.5f);
}

TEST(KText, WidthsDropTheLastExtraAndSkipMissingCharacters) {
    std::vector<KTextCharRecord> table = {FixedAdvanceFont::cell('a', 0, 7), FixedAdvanceFont::cell('b', 1, 9),
                                          FixedAdvanceFont::cell(' ', 2, 4), KTextCharRecord{}};
    FixedAdvanceFont font(table);
    KText& face = font.face();
    EXPECT_FLOAT_EQ(face.getStringWidth("ab", 2), 7 + 9 + 2);
    EXPECT_FLOAT_EQ(face.getStringWidth("a\xFF"
                                        "b"),
                    16);
    EXPECT_FLOAT_EQ(face.getStringWidth("ab", 2, 2), 36);
    EXPECT_FLOAT_EQ(face.getPrefixWidth("a\xFF"
                                        "b",
                                        2),
                    7); // the missing character still counts towards n
    EXPECT_FLOAT_EQ(face.getCharAdvance('b', 1), 10);
    EXPECT_FLOAT_EQ(face.getCharAdvance(0xFF, 1), 0);
    EXPECT_FLOAT_EQ(face.getCharAdvance(0, 1), 0);
    EXPECT_FALSE(face.hasChar(0xFF));
    EXPECT_TRUE(face.hasChar('b'));
    face.drawString("a\xFF"
                    "b",
                    0, 0);
    std::vector<FixedAdvanceFont::Blit> blits = font.blits();
    ASSERT_EQ(blits.size(), 2u);
    EXPECT_EQ(blits[1].dx, 7);
}

TEST(KText, TheFirstOfTwoRecordsWins) {
    std::vector<KTextCharRecord> table = {FixedAdvanceFont::cell('a', 3), FixedAdvanceFont::cell('a', 5),
                                          KTextCharRecord{}};
    FixedAdvanceFont font(table);
    EXPECT_EQ(font.face().findGlyph('a'), 0);
    font.face().drawString("a", 0, 0);
    ASSERT_EQ(font.blits().size(), 1u);
    EXPECT_EQ(font.blits()[0].sx1, 30);
}

TEST(KText, LineHeightIncludesTheTerminator) {
    std::vector<KTextCharRecord> table = {FixedAdvanceFont::cell('a', 0), KTextCharRecord{}};
    table.back().height = 30;
    FixedAdvanceFont font(table);
    EXPECT_EQ(font.face().getHeight(), 30);
}

TEST(KText, GlyphOffsetsMoveYOnly) {
    FixedAdvanceFont font;
    KText& face = font.face();
    face.setGlyphOffsets(true);
    face.drawString("gag", 0, 10);
    std::vector<FixedAdvanceFont::Blit> blits = font.blits();
    ASSERT_EQ(blits.size(), 3u);
    EXPECT_EQ((std::vector<float>{blits[0].dy, blits[1].dy, blits[2].dy}), (std::vector<float>{13, 10, 13}));
    EXPECT_EQ((std::vector<float>{blits[0].dx, blits[1].dx, blits[2].dx}), (std::vector<float>{0, 10, 20}));
    font.clear();
    face.drawStringRight("g", 50, 10);
    ASSERT_EQ(font.blits().size(), 1u);
    EXPECT_EQ(font.blits()[0].dy, 13);
    EXPECT_EQ(font.blits()[0].dx, 40);
}

TEST(KText, MissingPictureOrTableDrawsNothingVisible) {
    ScopedGraphicRecording recording;
    std::vector<KTextCharRecord> table = FixedAdvanceFont::standardTable();
    KText noPicture(table.data(), "/nonexistent/font.png");
    KGraphicRecorder* page = KGraphicRecorder::instances().tail;
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->hasPicture()); // glyph rectangles point into an empty picture

    KText noTable(nullptr, "/nonexistent/font.png");
    KGraphicRecorder::clearCalls();
    noTable.drawString("abc", 0, 0);
    EXPECT_TRUE(KGraphicRecorder::calls().empty());
    EXPECT_EQ(noTable.getHeight(), 0);
    EXPECT_EQ(noTable.getStringWidth("abc"), 0);
    EXPECT_EQ(noTable.getCharIndexAt("abc", 0, 0, 0, 0, 5, true), -1);
    int left = 0, right = 0;
    EXPECT_FALSE(noTable.getCharExtent("abc", 3, 0, 0, 0, 0, &left, &right));
    EXPECT_EQ(left, 3);
    EXPECT_FALSE(noTable.hasChar('a'));
}
