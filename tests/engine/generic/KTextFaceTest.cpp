// The pen model shared by the text faces, checked on a fixed-advance bitmap face through recorded blits:
// every encoding, rounding, word spacing, right-aligned and centred drawing, numbers, callback drawing with
// clipping, extents and hit tests.
#include "KTextFace.h"

#include "FixedAdvanceFont.h"

#include <climits>
#include <gtest/gtest.h>

namespace {
std::vector<float> sourceXs(const std::vector<FixedAdvanceFont::Blit>& blits) {
    std::vector<float> xs;
    for (const auto& blit : blits) xs.push_back(blit.sx1);
    return xs;
}

std::vector<float> destXs(const std::vector<FixedAdvanceFont::Blit>& blits) {
    std::vector<float> xs;
    for (const auto& blit : blits) xs.push_back(blit.dx);
    return xs;
}

float cellX(int32_t codePoint) {
    for (const KTextCharRecord& record : FixedAdvanceFont::standardTable())
        if (record.codePoint == codePoint) return record.x1;
    return -1;
}
} // namespace

TEST(KTextFace, MeasureDrawAndHitTestInEveryEncoding) {
    struct Case {
        const char* name;
        std::string text;
        int encoding;
        std::vector<int32_t> codePoints;
    };
    const Case cases[] = {
        {"8-bit", "a\xE9z", 0, {'a', 0xE9, 'z'}},
        {"UTF-8", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", 1, {'a', 0xE9, 0x20AC, 0x1F600}},
        {"UTF-16", utf16Text(u"a\xE9\x20AC\xD83D\xDE00", false), 2, {'a', 0xE9, 0x20AC, 0x1F600}},
        {"UTF-16 LE", utf16Text(u"a\xE9\x20AC\xD83D\xDE00", false), 3, {'a', 0xE9, 0x20AC, 0x1F600}},
        {"UTF-16 swapped", utf16Text(u"a\xE9\x20AC\xD83D\xDE00", true), 4, {'a', 0xE9, 0x20AC, 0x1F600}},
        {"UTF-32", utf32Text(U"a\xE9\x20AC\U0001F600"), 5, {'a', 0xE9, 0x20AC, 0x1F600}},
    };
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    for (const Case& c : cases) {
        const char* text = c.text.c_str();
        float count = float(c.codePoints.size());
        EXPECT_FLOAT_EQ(face.getStringWidth(text, 0, 1, c.encoding), count * 10) << c.name;
        font.clear();
        face.drawString(text, 7, 30, 0, c.encoding);
        std::vector<float> expectedSources, expectedDests;
        for (size_t i = 0; i < c.codePoints.size(); i++) {
            expectedSources.push_back(cellX(c.codePoints[i]));
            expectedDests.push_back(7 + 10 * float(i));
        }
        EXPECT_EQ(sourceXs(font.blits()), expectedSources) << c.name;
        EXPECT_EQ(destXs(font.blits()), expectedDests) << c.name;
        EXPECT_EQ(face.getCharIndexAt(text, 7, 0, 0, 0, 7 + 25, false, c.encoding), 2) << c.name;
        int left = 0, right = 0;
        ASSERT_TRUE(face.getCharExtent(text, 7, 0, 0, 0, 1, &left, &right, c.encoding)) << c.name;
        EXPECT_EQ(left, 17) << c.name;
        EXPECT_EQ(right, 27) << c.name;
    }
    // An unknown encoding reads as the default (8-bit) instead of looping on the decoder's 122.
    EXPECT_FLOAT_EQ(face.getStringWidth("ab", 0, 1, 6), 20);
}

TEST(KTextFace, BlitsTheInclusiveCellWithTheFaceSettings) {
    FixedAdvanceFont font;
    font.face().setColor(1, 0.5f, 0.25f, 1);
    font.face().setBlendMode(0);
    font.face().setBlitAlpha(0.5f);
    font.face().drawString("A", 3, 4);
    std::vector<RecordedDraw> calls = KGraphicRecorder::callsOn(font.page());
    ASSERT_EQ(calls.size(), 1u);
    float x = cellX('A');
    EXPECT_EQ(calls[0].args, (std::vector<float>{x, 16, x + 10, 32, 3, 4, 0, 1, 0.5f, 0, 0, 0, 0}));
    EXPECT_FLOAT_EQ(calls[0].color[1], 0.5f);
    EXPECT_EQ(calls[0].destFactor, K_FACTOR_ONE);
    EXPECT_TRUE(calls[0].linear);
}

TEST(KTextFace, PenRoundingWordSpacingAndScale) {
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    face.drawString("aaa", 0, 0, 0.5f); // pens 0, 10.5, 21: rounded half up
    EXPECT_EQ(destXs(font.blits()), (std::vector<float>{0, 11, 21}));
    font.clear();
    face.drawStringF("aaa", 0, 0, 0.5f, 2); // no rounding; advances scaled
    EXPECT_EQ(destXs(font.blits()), (std::vector<float>{0, 21, 42}));
    font.clear();
    face.setWordSpacing(4);
    face.drawString("a b", 0, 0); // the word spacing comes after the blank only
    EXPECT_EQ(destXs(font.blits()), (std::vector<float>{0, 10, 24}));
    face.setWordSpacing(0);
    font.clear();
    face.drawString("gag", 0, 10); // the y offset applies only while glyph offsets are on
    EXPECT_EQ(font.blits()[0].dy, 10);
}

TEST(KTextFace, RightAlignedAndCentredDrawing) {
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    face.drawStringRight("ab", 100, 0); // "b"'s advance ends at 100
    std::vector<FixedAdvanceFont::Blit> blits = font.blits();
    ASSERT_EQ(blits.size(), 2u);
    EXPECT_EQ(blits[0].sx1, cellX('b'));
    EXPECT_EQ(blits[0].dx, 90);
    EXPECT_EQ(blits[1].dx, 80);
    font.clear();
    face.drawStringRight("ab", 100, 0, 0.5f); // floor of 89.5 and 79
    EXPECT_EQ(destXs(font.blits()), (std::vector<float>{89, 79}));
    font.clear();
    face.drawStringRightF("ab", 100.5f, 0); // the float form floors its pen too
    EXPECT_EQ(destXs(font.blits()), (std::vector<float>{90, 80}));
    font.clear();
    face.drawStringCentered("abc", 0, 101, 0); // (101 - 30) / 2 = 35 in integers
    EXPECT_EQ(destXs(font.blits()).front(), 35);
    font.clear();
    face.drawStringCenteredF("abc", 0, 101, 0); // 35.5 in floats
    EXPECT_EQ(destXs(font.blits()).front(), 35.5f);
}

TEST(KTextFace, NumbersDrawEveryCharacter) {
    FixedAdvanceFont font;
    font.face().drawNumber(INT32_MIN, 0, 0);
    EXPECT_EQ(font.blits().size(), 11u);
    font.clear();
    font.face().drawNumberRight(-42, 100, 0);
    EXPECT_EQ(destXs(font.blits()), (std::vector<float>{90, 80, 70}));
}

namespace {
struct CallbackLog {
    struct Entry {
        int phase;
        float left, top, right, bottom;
    };
    std::vector<Entry> entries;
    static void record(KTextFace*, void* user, int phase, float l, float t, float r, float b) {
        static_cast<CallbackLog*>(user)->entries.push_back({phase, l, t, r, b});
    }
};
} // namespace

TEST(KTextFace, CallbackPhasesAndTheCaretAfterTheText) {
    FixedAdvanceFont font;
    CallbackLog log;
    font.face().drawStringWithCallback("abc", 10, 20, 200, 100, 0, 0, 0, 1, CallbackLog::record, &log);
    ASSERT_EQ(log.entries.size(), 3u);
    for (int phase = 0; phase < 3; phase++) {
        EXPECT_EQ(log.entries[phase].phase, phase);
        EXPECT_EQ(log.entries[phase].left, 20);
        EXPECT_EQ(log.entries[phase].top, 20);
        EXPECT_EQ(log.entries[phase].right, 30);
        EXPECT_EQ(log.entries[phase].bottom, 36);
    }
    EXPECT_EQ(font.blits().size(), 3u);

    log.entries.clear();
    font.clear();
    font.face().drawStringWithCallback("abc", 10, 20, 200, 100, 0, 0, 0, 3, CallbackLog::record, &log);
    ASSERT_EQ(log.entries.size(), 3u); // the end of the text is reported with a blank's advance
    EXPECT_EQ(log.entries[0].left, 40);
    EXPECT_EQ(log.entries[0].right, 50);
    EXPECT_EQ(font.blits().size(), 3u);
}

// A character the face has no glyph for takes no room in any walk of the pen, so the callback's caret and the
// drawn glyphs stay where the extent puts them, extra spacing or not.
TEST(KTextFace, CallbackPenSkipsCharactersWithoutAGlyphLikeTheExtent) {
    FixedAdvanceFont font;
    const char* text = "a\x80"
                       "b"; // U+0080 is not in the table
    int left = -1, right = -1;
    ASSERT_TRUE(font.face().getCharExtent(text, 0, 0, 0, 3, 2, &left, &right));
    EXPECT_EQ(left, 13);
    CallbackLog log;
    font.face().drawStringWithCallback(text, 0, 0, 200, 100, 0, 0, 3, 2, CallbackLog::record, &log);
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_EQ(log.entries[0].left, float(left));
    std::vector<FixedAdvanceFont::Blit> blits = font.blits();
    ASSERT_EQ(blits.size(), 2u);
    EXPECT_EQ(blits[1].dx, float(left));
}

TEST(KTextFace, CallbackDrawingClipsAtEachEdge) {
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    const float a = cellX('a');
    // Right edge: the second glyph is cut to 5 pixels, the third is not drawn.
    face.drawStringWithCallback("aaa", 0, 0, 15, 100, 0, 0, 0, -1, nullptr, nullptr);
    std::vector<FixedAdvanceFont::Blit> blits = font.blits();
    ASSERT_EQ(blits.size(), 2u);
    EXPECT_EQ(blits[1].sx2 - blits[1].sx1, 5);
    // Left edge: the pen starts 4 left of the box, so the first glyph loses its 4 left columns.
    font.clear();
    face.drawStringWithCallback("a", 10, 0, 100, 100, -4, 0, 0, -1, nullptr, nullptr);
    blits = font.blits();
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].sx1, a + 4);
    EXPECT_EQ(blits[0].dx, 10);
    // Top and bottom: the line starts 6 above the box and the box is 8 tall.
    font.clear();
    face.drawStringWithCallback("a", 0, 50, 100, 58, 0, -6, 0, -1, nullptr, nullptr);
    blits = font.blits();
    ASSERT_EQ(blits.size(), 1u);
    const float aTop = 32; // the row of 'a' in the picture
    EXPECT_EQ(blits[0].sy1, aTop + 6);
    EXPECT_EQ(blits[0].sy2, aTop + 6 + 8);
    EXPECT_EQ(blits[0].dy, 50);
    // Wholly above the box: nothing drawn. A right edge left of the left one draws nothing either.
    font.clear();
    face.drawStringWithCallback("a", 0, 50, 100, 100, 0, -20, 0, -1, nullptr, nullptr);
    face.drawStringWithCallback("a", 50, 0, 10, 100, 0, 0, 0, -1, nullptr, nullptr);
    EXPECT_TRUE(font.blits().empty());
}

TEST(KTextFace, ExtentAndHitTest) {
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    int left = -1, right = -1;
    EXPECT_TRUE(face.getCharExtent("ab", 5, 0, 2, 0, 2, &left, &right)); // after the text: a blank's advance
    EXPECT_EQ(left, 27);
    EXPECT_EQ(right, 37);
    EXPECT_FALSE(face.getCharExtent("ab", 5, 0, 2, 0, 3, &left, &right));
    EXPECT_EQ(left, 5);
    EXPECT_EQ(right, 5);
    float l, r;
    EXPECT_TRUE(face.getCharExtentF("ab", 0.25f, 0, 0, 0.5f, 1, &l, &r));
    EXPECT_FLOAT_EQ(l, 10.75f);

    struct Case {
        int x;
        bool clamp;
        int index;
    } cases[] = {{-5, true, 0},  {-5, false, -1}, {0, false, 0},  {9, false, 0},   {10, false, 1},
                 {19, false, 1}, {25, false, 2},  {29, false, 2}, {30, false, -1}, {30, true, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(face.getCharIndexAt("ab", 0, 0, 0, 0, c.x, c.clamp), c.index) << "x " << c.x << " clamp " << c.clamp;
    // Extra spacing widens each character's reach; word spacing widens the blank's.
    EXPECT_EQ(face.getCharIndexAt("ab", 0, 0, 0, 2, 11, false), 0);
    face.setWordSpacing(6);
    EXPECT_EQ(face.getCharIndexAt(" b", 0, 0, 0, 0, 14, false), 0);
    EXPECT_EQ(face.getCharIndexAt(" b", 0, 0, 0, 0, 16, false), 1);
    face.setWordSpacing(0);
}
