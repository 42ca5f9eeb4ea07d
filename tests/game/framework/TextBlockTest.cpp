// The text block's line breaking over a face of fixed 10-pixel advances: breaks after the last blank that
// fits, at line feeds, around a word wider than the block, with the last character counted; and its drawing
// line by line.
#include "TextBlock.h"
#include "FixedAdvanceFont.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const TextBlock& block) {
    std::vector<std::string> out;
    for (size_t n = 0; n < block.getLineBreaks().size(); n++) out.push_back(block.line(int(n)));
    return out;
}

TEST(TextBlock, BreaksWhereTheTextWouldPassTheWidth) {
    FixedAdvanceFont font;
    struct Case {
        const char* text;
        int width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"aaa bbb ccc", 75, {"aaa bbb ", "ccc"}},              // "aaa bbb" fits at 70; the break is after the blank
        {"aaa bbb ccc", 200, {"aaa bbb ccc"}},                 // fits whole
        {"abcdefghijkl", 50, {"abcdefghijkl"}},                // no blank: never broken
        {"ab\ncd ef", 200, {"ab", "\ncd ef"}},                 // the line feed starts the next line
        {"a verylongword b", 50, {"a ", "verylongword", "b"}}, // a long word stays whole on its own line
        {"aaaa bbbbb", 95, {"aaaa ", "bbbbb"}},                // the last character counts: 100 > 95
        {"one.  Two", 45, {"one. ", "Two"}},                   // two blanks after a full stop
        {"", 100, {""}},
    };
    for (const Case& c : cases) {
        TextBlock block(c.text, 0, 0, c.width, 20, &font.face(), 0);
        EXPECT_EQ(linesOf(block), c.lines) << '"' << c.text << "\" in " << c.width;
        EXPECT_EQ(block.getLineBreaks().back(), int32_t(std::string(c.text).size()));
    }
    // Wider letters through the spacing: 11 px each, so "aaa bbb" (77) no longer fits 75 but "aaa" does.
    TextBlock spaced("aaa bbb ccc", 0, 0, 75, 20, &font.face(), 1);
    EXPECT_EQ(linesOf(spaced), (std::vector<std::string>{"aaa ", "bbb ", "ccc"}));
}

TEST(TextBlock, DrawsEachLineOneStepLower) {
    FixedAdvanceFont font;
    TextBlock block("ab cd", 30, 40, 25, 20, &font.face(), 0);
    ASSERT_EQ(linesOf(block), (std::vector<std::string>{"ab ", "cd"}));
    font.clear();
    block.draw();
    const auto blits = font.blits();
    ASSERT_EQ(blits.size(), 5u); // "ab " and "cd"
    EXPECT_EQ(blits[0].dx, 30);
    EXPECT_EQ(blits[0].dy, 40);
    EXPECT_EQ(blits[3].dx, 30);
    EXPECT_EQ(blits[3].dy, 60);
}

} // namespace
