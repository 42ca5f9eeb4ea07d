// The box layout's worked cases on a fixed-advance face (advance 10, line height 16): wrapping, long words,
// paragraphs, justification, kept blanks, dropped tabs, wide-script breaks, the line-buffer cut, hit tests,
// character rectangles and a layout that always ends.
#include "KTextBoxLayout.h"

#include "FixedAdvanceFont.h"

#include <gtest/gtest.h>
#include <map>

namespace {
TextBoxRequest box(const char* text, int left, int right, int alignment = K_ALIGN_LEFT, int top = 0) {
    TextBoxRequest request;
    request.text = text;
    request.left = left;
    request.right = right;
    request.top = top;
    request.alignment = alignment;
    return request;
}

// The destination x of every blit, line by line (keyed by the destination y).
std::map<float, std::vector<float>> linesDrawn(const FixedAdvanceFont& font) {
    std::map<float, std::vector<float>> lines;
    for (const auto& blit : font.blits()) lines[blit.dy].push_back(blit.dx);
    return lines;
}
} // namespace

TEST(KTextBoxLayout, WrapsAtBlanksAndMeasures) {
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    face.drawStringInBox(box("aa bb cc", 0, 55));
    std::map<float, std::vector<float>> lines = linesDrawn(font);
    EXPECT_EQ(lines[0], (std::vector<float>{0, 10, 20, 30, 40}));
    EXPECT_EQ(lines[16], (std::vector<float>{0, 10}));
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(face.getStringInBoxHeight(box("aa bb cc", 0, 55, K_ALIGN_LEFT, 7)), 32);
    EXPECT_EQ(face.getStringInBoxWidth(box("aa bb cc", 0, 55)), 50);
    face.setLineSpacing(4);
    EXPECT_EQ(face.getStringInBoxHeight(box("aa bb cc", 0, 55)), 2 * 20 - 4);
}

TEST(KTextBoxLayout, LineCountsOfWorkedCases) {
    struct Case {
        const char* name;
        const char* text;
        int width, alignment, lines;
    } cases[] = {
        {"a word wider than the box takes the paragraph", "abcdefgh ij", 30, K_ALIGN_LEFT, 1},
        {"empty lines between line feeds", "a\n\nb", 100, K_ALIGN_LEFT, 3},
        {"a final line feed ends with an empty line", "a\n", 100, K_ALIGN_LEFT, 2},
        {"an empty text is one line", "", 100, K_ALIGN_LEFT, 1},
        {"tabs are dropped, not break points", "aaa\tbbb", 30, K_ALIGN_LEFT, 1},
        {"alignment 4 trims the blank at the break", "aaa bbb", 30, K_ALIGN_JUSTIFIED_ANY_BREAK, 2},
        {"alignment 5 keeps it at the next line's start", "aaa bbb", 30, K_ALIGN_JUSTIFIED_KEEP_BLANKS, 3},
        {"a box narrower than one character still ends", "abc", 5, K_ALIGN_JUSTIFIED_ANY_BREAK, 3},
    };
    FixedAdvanceFont font;
    for (const Case& c : cases) {
        for (float spacing : {0.0f, 3.0f}) {
            font.face().setLineSpacing(spacing);
            EXPECT_EQ(font.face().getStringInBoxHeight(box(c.text, 0, c.width, c.alignment)),
                      int(c.lines * (16 + spacing) - spacing))
                << c.name;
        }
    }
    font.face().setLineSpacing(0);
    EXPECT_EQ(font.face().getStringInBoxWidth(box("aaa\tbbb", 0, 30)), 60);
}

TEST(KTextBoxLayout, JustificationSparesLastLinesAndLinesWithoutBlanks) {
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    face.drawStringInBox(box("aa bb cc dd", 0, 75, K_ALIGN_JUSTIFIED));
    std::map<float, std::vector<float>> lines = linesDrawn(font);
    EXPECT_EQ(lines[0], (std::vector<float>{0, 10, 20, 55, 65}));  // the one blank takes the 25 spare pixels
    EXPECT_EQ(lines[16], (std::vector<float>{0, 10, 20, 30, 40})); // the paragraph's last line stays left
    EXPECT_EQ(face.getWordSpacing(), 0);

    font.clear();
    face.drawStringInBox(box("abcdef ghi", 0, 65, K_ALIGN_JUSTIFIED)); // "abcdef" has no blank left after trimming
    EXPECT_EQ(linesDrawn(font)[0], (std::vector<float>{0, 10, 20, 30, 40, 50}));

    font.clear();
    face.drawStringInBox(box("aaa bbb", 0, 30, K_ALIGN_JUSTIFIED_KEEP_BLANKS));
    lines = linesDrawn(font);
    EXPECT_EQ(lines[16], (std::vector<float>{0, 10, 20})); // " bb": the kept blank is drawn first
    EXPECT_EQ(font.blits()[3].sx1, FixedAdvanceFont::cell(' ', 0).x1);
}

TEST(KTextBoxLayout, RightAndCentredLines) {
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    face.drawStringInBox(box("ab", 0, 100, K_ALIGN_RIGHT));
    EXPECT_EQ(linesDrawn(font)[0], (std::vector<float>{80, 90}));
    font.clear();
    face.drawStringInBox(box("ab", 0, 101, K_ALIGN_CENTERED)); // 40.5 rounds half up
    EXPECT_EQ(linesDrawn(font)[0], (std::vector<float>{41, 51}));
    EXPECT_EQ(face.getStringInBoxWidth(box("ab", 0, 100, K_ALIGN_RIGHT)), 20);
}

TEST(KTextBoxLayout, WideScriptAllowsBreaksAnywhere) {
    FixedAdvanceFont font;
    int index = -1;
    // UTF-8 "ab", U+4E00, "cdef": from the wide character on, a line may end after any character.
    float bottom = layoutTextBox(&font.face(), K_ENCODING_UTF8,
                                 "ab\xE4\xB8\x80"
                                 "cdef",
                                 0, 0, 35, 0, K_ALIGN_LEFT, 0, 0, 0, 16, 0, K_LAYOUT_HEIGHT, &index, nullptr, nullptr,
                                 nullptr, 0, 0, nullptr);
    EXPECT_EQ(bottom, 48); // "ab" + U+4E00, "cde", "f"
    bottom = layoutTextBox(&font.face(), K_ENCODING_UTF8, "abxcdef", 0, 0, 35, 0, K_ALIGN_LEFT, 0, 0, 0, 16, 0,
                           K_LAYOUT_HEIGHT, &index, nullptr, nullptr, nullptr, 0, 0, nullptr);
    EXPECT_EQ(bottom, 16);
}

TEST(KTextBoxLayout, LongParagraphIsCutButIndicesCountEveryCodePoint) {
    FixedAdvanceFont font;
    std::string text(5000, 'a');
    text += "\nb";
    font.face().drawStringInBox(box(text.c_str(), 0, 100));
    std::map<float, std::vector<float>> lines = linesDrawn(font);
    EXPECT_EQ(lines[0].size(), size_t(kTextBoxLineCapacity));
    EXPECT_EQ(lines[16].size(), 1u);

    TextBoxRequest hit = box(text.c_str(), 0, 100);
    hit.bottom = 100;
    hit.pointX = 5;
    hit.pointY = 20;
    EXPECT_EQ(font.face().getCharIndexAtInBox(hit), 5001); // 5000 letters and the line feed come first
}

TEST(KTextBoxLayout, HitTestInTheBox) {
    FixedAdvanceFont font;
    KTextFace& face = font.face();
    TextBoxRequest hit = box("aa bb cc dd", 0, 75, K_ALIGN_JUSTIFIED, 100);
    hit.bottom = 200;
    struct Case {
        int x, y, index;
    } cases[] = {{57, 5, 3}, {15, 20, 7}, {500, 20, 11}, {-3, 5, 0}, {5, 40, -1}, {5, -1, -1}};
    for (const Case& c : cases) {
        hit.pointX = c.x;
        hit.pointY = c.y; // measured from the box top
        EXPECT_EQ(face.getCharIndexAtInBox(hit), c.index) << c.x << "," << c.y;
        EXPECT_EQ(face.getWordSpacing(), 0);
    }
    hit.scrollY = 16; // the text moves down a line
    hit.pointX = 57;
    hit.pointY = 21;
    EXPECT_EQ(face.getCharIndexAtInBox(hit), 3);
}

TEST(KTextBoxLayout, CharacterRectanglesFromTheBoxTop) {
    FixedAdvanceFont font;
    TextBoxRequest request = box("aa bb cc", 20, 75, K_ALIGN_LEFT, 100);
    request.bottom = 200;
    int l = -1, t = -1, r = -1, b = -1;
    request.outLeft = &l;
    request.outTop = &t;
    request.outRight = &r;
    request.outBottom = &b;
    struct Case {
        int index, left, top, right, bottom;
    } cases[] = {{1, 30, 0, 40, 16}, {6, 20, 16, 30, 32}, {8, 40, 16, 50, 32}};
    for (const Case& c : cases) {
        request.index = c.index;
        ASSERT_TRUE(font.face().getCharRectInBox(request)) << c.index;
        EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{c.left, c.top, c.right, c.bottom})) << c.index;
    }
    l = -7;
    request.index = 9;
    EXPECT_FALSE(font.face().getCharRectInBox(request));
    EXPECT_EQ(l, -7); // untouched
}

TEST(KTextBoxLayout, CallbackDrawReportsTheLocalCharacter) {
    FixedAdvanceFont font;
    struct Seen {
        int calls = 0;
        float left = 0, top = 0;
    } seen;
    TextBoxRequest request = box("aa bb cc", 0, 55, K_ALIGN_LEFT, 10);
    request.bottom = 100;
    request.index = 7; // the second 'c', on the second line
    request.user = &seen;
    request.callback = [](KTextFace*, void* user, int phase, float l, float t, float, float) {
        Seen* s = static_cast<Seen*>(user);
        if (phase == 0) {
            s->left = l;
            s->top = t;
        }
        s->calls++;
    };
    font.face().drawStringInBoxWithCallback(request);
    EXPECT_EQ(seen.calls, 3);
    EXPECT_EQ(seen.left, 10);
    EXPECT_EQ(seen.top, 26);
    EXPECT_EQ(font.blits().size(), 7u);
}
