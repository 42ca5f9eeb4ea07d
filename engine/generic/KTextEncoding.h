// The text encodings the text faces read, and the decoding and counting of code points in them.
// Every text ends with a zero unit of its encoding; positions count units (bytes, 16-bit or 32-bit units).
#pragma once

#include <cstdint>

enum TextEncoding : int {
    K_ENCODING_DEFAULT = -1, // the face class's default encoding (0 for both text classes)
    K_ENCODING_8BIT = 0,     // each byte is one code point U+0000..U+00FF
    K_ENCODING_UTF8 = 1,
    K_ENCODING_UTF16 = 2,        // machine order
    K_ENCODING_UTF16LE = 3,      // little-endian
    K_ENCODING_UTF16SWAPPED = 4, // the two bytes of every unit swapped
    K_ENCODING_UTF32 = 5,        // machine order
};

// Forward: the code point starting at position, position moved past it. Backward: steps back over one code
// point (never before the start of the text), returns it and leaves position at its start. An encoding outside
// 0..5 returns 122 and leaves position unchanged; callers replace -1 and unknown encodings first.
uint32_t decodeChar(long& position, const char* text, int encoding, bool forward);

// The number of code points before the terminating zero.
long countChars(int encoding, const char* text);

// The number of units before the terminating zero.
long countUnits(int encoding, const char* text);
