// Decoding and counting code points in every text encoding, forwards and backwards.
#include "KTextEncoding.h"

#include "FixedAdvanceFont.h"

#include <gtest/gtest.h>

namespace {
struct DecodeCase {
    const char* name;
    std::string text;
    int encoding;
    long start;
    bool forward;
    uint32_t codePoint;
    long end;
};
} // namespace

TEST(KTextEncoding, DecodeCharCases) {
    const DecodeCase cases[] = {
        {"8-bit high byte", "\xE9", 0, 0, true, 0xE9, 1},
        {"8-bit backward", "ab", 0, 2, false, 'b', 1},
        {"UTF-8 two bytes", "\xC3\xA9", 1, 0, true, 0xE9, 2},
        {"UTF-8 cut by the end", "\xC3", 1, 0, true, 0, 1},
        {"UTF-8 three bytes", "\xE2\x82\xAC", 1, 0, true, 0x20AC, 3},
        {"UTF-8 four bytes", "\xF0\x9F\x98\x80", 1, 0, true, 0x1F600, 4},
        {"UTF-8 stray continuation", "\x80", 1, 0, true, 0x80, 1},
        {"UTF-8 0xFF", "\xFF", 1, 0, true, 0xFF, 1},
        {"UTF-8 backward over a sequence", "a\xE2\x82\xAC", 1, 4, false, 0x20AC, 1},
        {"UTF-16 pair", utf16Text(u"\xD83D\xDE00", false), 3, 0, true, 0x1F600, 2},
        {"UTF-16 pair backward", utf16Text(u"a\xD83D\xDE00", false), 3, 3, false, 0x1F600, 1},
        {"UTF-16 lone low", utf16Text(u"\xDE00\xD83D", false), 3, 0, true, 0xDE00, 1},
        {"UTF-16 low then high", utf16Text(u"\xDE00\xD83D", false), 3, 1, true, 0xD83D, 2},
        {"UTF-16 lone high backward",
         utf16Text(u"\xD83D"
                   u"a",
                   false),
         2, 2, false, 'a', 1},
        {"UTF-16 swapped pair", utf16Text(u"\xD83D\xDE00", true), 4, 0, true, 0x1F600, 2},
        {"UTF-16 swapped pair backward", utf16Text(u"\xD83D\xDE00", true), 4, 2, false, 0x1F600, 0},
        {"UTF-16 swapped unit", utf16Text(u"\x20AC", true), 4, 0, true, 0x20AC, 1},
        {"UTF-32", utf32Text(U"\U0001F600"), 5, 0, true, 0x1F600, 1},
        {"UTF-32 backward", utf32Text(U"a\U0001F600"), 5, 2, false, 0x1F600, 1},
        {"unknown encoding", "a", 6, 0, true, 122, 0},
        {"backward at the start", "a", 1, 0, false, 0, 0},
    };
    for (const DecodeCase& c : cases) {
        long position = c.start;
        EXPECT_EQ(decodeChar(position, c.text.c_str(), c.encoding, c.forward), c.codePoint) << c.name;
        EXPECT_EQ(position, c.end) << c.name;
    }
}

TEST(KTextEncoding, CountCharsPerEncoding) {
    EXPECT_EQ(countChars(0, "a\xC3\xA9"), 3);
    EXPECT_EQ(countChars(1, "a\xC3\xA9\xE2\x82\xAC"), 3);
    EXPECT_EQ(countChars(9, "abc"), 3); // unknown encodings count bytes
    EXPECT_EQ(countChars(3, utf16Text(u"a\xD83D\xDE00"
                                      u"b",
                                      false)
                                .c_str()),
              3);
    EXPECT_EQ(countChars(4, utf16Text(u"a\xD83D\xDE00"
                                      u"b",
                                      true)
                                .c_str()),
              3);
    EXPECT_EQ(countChars(5, utf32Text(U"ab\U0001F600").c_str()), 3);
    EXPECT_EQ(countChars(1, ""), 0);
    EXPECT_EQ(countChars(5, utf32Text(U"").c_str()), 0);
}
