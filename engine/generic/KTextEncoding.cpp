// Decoding and counting code points in the text encodings. Units wider than a byte are read with memcpy,
// so texts need no particular alignment.
#include "KTextEncoding.h"

#include <cstring>

namespace {
uint32_t unit16(const char* text, long position, bool swapped) {
    uint16_t unit;
    std::memcpy(&unit, text + position * 2, 2);
    return swapped ? uint16_t(unit << 8 | unit >> 8) : unit;
}

uint32_t unit32(const char* text, long position) {
    uint32_t unit;
    std::memcpy(&unit, text + position * 4, 4);
    return unit;
}

bool isHighSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool isContinuation(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

uint32_t decodeUtf8Forward(long& position, const unsigned char* bytes) {
    uint32_t lead = bytes[position];
    int following;
    uint32_t value;
    if (lead < 0x80) {
        following = 0;
        value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        following = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        following = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        following = 3;
        value = lead & 0x07;
    } else {
        position++; // a stray continuation byte or 0xF8..0xFF stands for itself
        return lead;
    }
    long at = position + 1;
    for (int i = 0; i < following; i++, at++) {
        if (bytes[at] == 0) { // the text ends inside the sequence: stop at its zero byte
            position = at;
            return 0;
        }
        value = value << 6 | (bytes[at] & 0x3F);
    }
    position = at;
    return value;
}
} // namespace

uint32_t decodeChar(long& position, const char* text, int encoding, bool forward) {
    if (encoding < K_ENCODING_8BIT || encoding > K_ENCODING_UTF32) return 122;
    if (!forward && position <= 0) {
        position = 0;
        return 0;
    }
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    switch (encoding) {
    case K_ENCODING_8BIT:
        return forward ? bytes[position++] : bytes[--position];
    case K_ENCODING_UTF8: {
        if (forward) return decodeUtf8Forward(position, bytes);
        long start = position - 1;
        while (start > 0 && isContinuation(bytes[start])) start--;
        long at = start;
        uint32_t value = decodeUtf8Forward(at, bytes);
        position = start;
        return value;
    }
    case K_ENCODING_UTF16:
    case K_ENCODING_UTF16LE:
    case K_ENCODING_UTF16SWAPPED: {
        bool swapped = encoding == K_ENCODING_UTF16SWAPPED;
        if (forward) {
            uint32_t unit = unit16(text, position, swapped);
            if (isHighSurrogate(unit)) {
                uint32_t low = unit16(text, position + 1, swapped);
                if (isLowSurrogate(low)) {
                    position += 2;
                    return ((unit - 0xD800) << 10 | (low - 0xDC00)) + 0x10000;
                }
            }
            position++;
            return unit;
        }
        uint32_t unit = unit16(text, position - 1, swapped);
        if (isLowSurrogate(unit) && position >= 2) {
            uint32_t high = unit16(text, position - 2, swapped);
            if (isHighSurrogate(high)) {
                position -= 2;
                return ((high - 0xD800) << 10 | (unit - 0xDC00)) + 0x10000;
            }
        }
        position--;
        return unit;
    }
    default: // UTF-32
        return forward ? unit32(text, position++) : unit32(text, --position);
    }
}

long countChars(int encoding, const char* text) {
    if (!text) return 0;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    long count = 0;
    switch (encoding) {
    case K_ENCODING_UTF8:
        for (long i = 0; bytes[i]; i++)
            if (!isContinuation(bytes[i])) count++;
        return count;
    case K_ENCODING_UTF16:
    case K_ENCODING_UTF16LE:
    case K_ENCODING_UTF16SWAPPED: {
        bool swapped = encoding == K_ENCODING_UTF16SWAPPED;
        for (long i = 0;; i++) {
            uint32_t unit = unit16(text, i, swapped);
            if (!unit) return count;
            if (!isHighSurrogate(unit)) count++;
        }
    }
    case K_ENCODING_UTF32:
        while (unit32(text, count)) count++;
        return count;
    default:
        while (bytes[count]) count++;
        return count;
    }
}

long countUnits(int encoding, const char* text) {
    if (!text) return 0;
    long count = 0;
    switch (encoding) {
    case K_ENCODING_UTF16:
    case K_ENCODING_UTF16LE:
    case K_ENCODING_UTF16SWAPPED:
        while (unit16(text, count, false)) count++;
        return count;
    case K_ENCODING_UTF32:
        while (unit32(text, count)) count++;
        return count;
    default:
        while (text[count]) count++;
        return count;
    }
}
