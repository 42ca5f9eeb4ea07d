// The box layout: splits the text into paragraphs at line feeds, wraps each paragraph into lines that fit the
// box, trims and justifies them, and does one kind of work per line. Lines are handed to the face as UTF-32.
#include "KTextBoxLayout.h"

#include <algorithm>
#include <cmath>

namespace {
uint32_t lineBuffer[kTextBoxLineCapacity + 1];

bool isBlank(uint32_t c) {
    return c == 0x20 || c == 0x09;
}

// Breaks after any character become allowed from the first such code point of a paragraph.
bool allowsAnyBreak(uint32_t c) {
    return c >= 0x1000 && c <= 0xFFFF && c != 0xFEFF;
}

// Truncated towards zero, plus 1 when the dropped fraction is at least 0.5.
float wholeHalfUp(float x) {
    float whole = std::trunc(x);
    return x - whole >= 0.5f ? whole + 1 : whole;
}

const char* asText(const uint32_t* units) {
    return reinterpret_cast<const char*>(units);
}
} // namespace

float layoutTextBox(KTextFace* face, int encoding, const char* text, float left, float top, float right, float bottom,
                    int alignment, int scrollX, int scrollY, float extra, float lineHeight, float lineSpacing, int kind,
                    int* index, TextDrawCallback callback, void* user, float* outRect, float pointX, float pointY,
                    bool* found) {
    const float boxWidth = right - left;
    float lineY = top;
    float widest = 0;
    if (found) *found = false;
    if (encoding < K_ENCODING_8BIT || encoding > K_ENCODING_UTF32) encoding = face->getDefaultEncoding();
    long position = 0;
    long running = 0; // text index of the next decoded code point
    bool more;        // a line feed ended the paragraph: another one follows
    static const char emptyText[4] = {0, 0, 0, 0};
    if (!text) text = emptyText;

    do {
        // 1. One paragraph into the line buffer.
        long paragraphStart = running;
        int length = 0;
        more = false;
        for (;;) {
            uint32_t c = decodeChar(position, text, encoding, true);
            if (c == 0) break;
            running++;
            if (c == 0x0A) {
                more = true;
                break;
            }
            if (c < 0x20 || c == 0xFEFF) continue;
            if (length < kTextBoxLineCapacity) lineBuffer[length++] = c;
        }
        lineBuffer[length] = 0;

        // 2. Alignments 4 and 5 break anywhere from the start; the others once a wide-script code point is seen.
        bool anyBreak = alignment == K_ALIGN_JUSTIFIED_ANY_BREAK || alignment == K_ALIGN_JUSTIFIED_KEEP_BLANKS;
        int start = 0;
        do {
            // 3. Scan until the running width passes the box.
            float width = length > 0 ? -face->getCharOffsetX(lineBuffer[start]) : 0;
            int lineBreak = -1;
            for (int j = start; width <= boxWidth && j < length; j++) {
                uint32_t c = lineBuffer[j];
                if (isBlank(c) || anyBreak) lineBreak = j;
                if (allowsAnyBreak(c)) anyBreak = true;
                width += face->getCharAdvance(c, extra);
            }
            // 4. Everything fits, or no break: the rest of the paragraph is the line.
            if (width <= boxWidth || lineBreak < 0) lineBreak = length;

            // 5. Trim the blanks before the break and skip those after it (not with alignment 5).
            int end = lineBreak, next = lineBreak;
            if (alignment != K_ALIGN_JUSTIFIED_KEEP_BLANKS) {
                while (end > start && isBlank(lineBuffer[end - 1])) end--;
                while (next < length && isBlank(lineBuffer[next])) next++;
            }
            // A character alone wider than the box would give an empty line and no progress: it takes the line.
            if (next <= start && start < length) end = next = start + 1;

            uint32_t saved = lineBuffer[end];
            lineBuffer[end] = 0;
            const char* line = asText(lineBuffer + start);
            bool lastLine = next >= length;

            // 6. Justification, never on the paragraph's last line.
            float perChar = 0, perBlank = 0;
            if (alignment >= K_ALIGN_JUSTIFIED && alignment <= K_ALIGN_JUSTIFIED_KEEP_BLANKS && end + 1 < length) {
                float w = face->getStringWidth(line, extra, 1, K_ENCODING_UTF32);
                if (anyBreak) {
                    long n = countChars(K_ENCODING_UTF32, line);
                    if (n >= 2) perChar = (boxWidth - w) / float(n - 1);
                } else {
                    int blanks = int(std::count(lineBuffer + start, lineBuffer + end, 0x20u));
                    if (blanks >= 1) perBlank = (boxWidth - w) / float(blanks);
                }
            }

            if (kind != K_LAYOUT_HEIGHT) {
                // 7. The line's x.
                face->setWordSpacing(perBlank);
                float e = extra + perChar;
                float x = left;
                if (alignment == K_ALIGN_RIGHT || alignment == K_ALIGN_CENTERED) {
                    float w = face->getStringWidth(line, e, 1, K_ENCODING_UTF32);
                    x = alignment == K_ALIGN_RIGHT ? right - w : left + (boxWidth - w) * 0.5f;
                    widest = std::max(widest, w);
                }
                x = wholeHalfUp(x);

                // 8. The kind's work. The caller's index is local to the line when it falls inside it; the
                // paragraph's last line reaches one further, so a caret after its last character is found.
                long lineFirst = paragraphStart + start, lineEnd = paragraphStart + end;
                int local = -1;
                if (index && *index >= lineFirst && (*index < lineEnd || (lastLine && *index <= lineEnd)))
                    local = int(*index - lineFirst);
                float offsetX = x - std::trunc(left) + float(scrollX);
                switch (kind) {
                case K_LAYOUT_WIDEST_LINE:
                    if (alignment != K_ALIGN_RIGHT && alignment != K_ALIGN_CENTERED)
                        widest = std::max(widest, face->getStringWidth(line, e, 1, K_ENCODING_UTF32));
                    break;
                case K_LAYOUT_DRAW:
                    face->drawString(line, int(x), int(std::trunc(lineY)), e, K_ENCODING_UTF32);
                    break;
                case K_LAYOUT_CALLBACK_DRAW: {
                    float lineTop = std::trunc(lineY) + float(scrollY);
                    if (top <= lineTop + std::trunc(lineHeight) && bottom > lineTop)
                        face->drawStringWithCallback(line, int(std::trunc(left)), int(std::trunc(top)),
                                                     int(std::trunc(right)), int(std::trunc(bottom)), int(offsetX),
                                                     int(lineTop - std::trunc(top)), e, local, callback, user,
                                                     K_ENCODING_UTF32);
                    break;
                }
                case K_LAYOUT_CHAR_RECT: {
                    float l, r;
                    if (local != -1 && face->getCharExtentF(line, std::floor(left), std::floor(right), offsetX, e,
                                                            local, &l, &r, K_ENCODING_UTF32)) {
                        if (found) *found = true;
                        if (outRect) {
                            outRect[0] = l;
                            outRect[1] = std::trunc(lineY) - std::trunc(top) + float(scrollY);
                            outRect[2] = r;
                            outRect[3] = outRect[1] + lineHeight;
                        }
                    }
                    break;
                }
                case K_LAYOUT_INDEX_AT_POINT: {
                    float bandTop = std::trunc(lineY) - std::trunc(top) + float(scrollY);
                    if (bandTop <= pointY && pointY < bandTop + lineHeight + lineSpacing) {
                        int hit = face->getCharIndexAtF(line, std::floor(left), std::floor(right), offsetX, e, pointX,
                                                        true, K_ENCODING_UTF32);
                        if (index) *index = hit == -1 ? -1 : int(hit + paragraphStart + start);
                        lineBuffer[end] = saved;
                        face->setWordSpacing(0);
                        return 0;
                    }
                    break;
                }
                default:
                    break;
                }
            }
            // 9. Next line.
            lineBuffer[end] = saved;
            lineY += lineHeight + lineSpacing;
            start = next;
        } while (start < length);
    } while (more);

    face->setWordSpacing(0);
    return kind == K_LAYOUT_WIDEST_LINE ? widest : lineY - lineSpacing;
}
