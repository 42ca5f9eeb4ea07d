// The pen model shared by the text faces: measuring, single-line drawing (left, right-aligned, centred),
// callback drawing with clipping, extents and hit tests, and the box operations over layoutTextBox.
#include "KTextFace.h"

#include "KGraphic.h"
#include "KTextBoxLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

float roundHalfUp(float x) {
    float whole = std::floor(x);
    return x - whole >= 0.5f ? whole + 1 : whole;
}

namespace {
constexpr uint32_t kSpace = 0x20;

// "%d" of a 32-bit number into 16 bytes: at most 15 characters, always terminated.
struct NumberText {
    char text[16];
    explicit NumberText(int32_t number) { std::snprintf(text, sizeof text, "%d", int(number)); }
};
} // namespace

int KTextFace::resolveEncoding(int encoding) {
    if (encoding < K_ENCODING_8BIT || encoding > K_ENCODING_UTF32) return getDefaultEncoding();
    return encoding;
}

void KTextFace::applyColorAndBlend(KGraphic* page) {
    page->setBlitColor(color[0], color[1], color[2], color[3]);
    page->setBlendMode(blendMode);
}

float KTextFace::getStringWidth(const char* text, float extra, float scale, int encoding) {
    if (!text || !prepareFace()) return 0;
    encoding = resolveEncoding(encoding);
    float width = 0;
    bool any = false;
    TextGlyph glyph;
    long position = 0;
    for (uint32_t c; (c = decodeChar(position, text, encoding, true)) != 0;) {
        if (!findTextGlyph(c, glyph)) continue;
        width += glyph.advance + extra;
        any = true;
    }
    if (any && !widthCountsLastExtra) width -= extra;
    return width * scale;
}

float KTextFace::getPrefixWidth(const char* text, long count, float extra, float scale) {
    if (!text || !prepareFace()) return 0;
    int encoding = resolveEncoding(K_ENCODING_DEFAULT);
    float width = 0;
    bool any = false;
    TextGlyph glyph;
    long position = 0;
    uint32_t c;
    for (long n = 0; n < count && (c = decodeChar(position, text, encoding, true)) != 0; n++) {
        if (!findTextGlyph(c, glyph)) continue;
        width += glyph.advance + extra;
        any = true;
    }
    if (any && !widthCountsLastExtra) width -= extra;
    return width * scale;
}

float KTextFace::getCharAdvance(uint32_t codePoint, float extra) {
    TextGlyph glyph;
    if (codePoint == 0 || !prepareFace() || !findTextGlyph(codePoint, glyph)) return 0;
    return glyph.advance + extra;
}

float KTextFace::getCharOffsetX(uint32_t) {
    return 0;
}

void KTextFace::setColor(float r, float g, float b, float a) {
    color[0] = r;
    color[1] = g;
    color[2] = b;
    color[3] = a;
    for (KGraphic* page : pages)
        if (page) page->setBlitColor(r, g, b, a);
}

void KTextFace::setBlitColor(float r, float g, float b, float a) {
    setColor(r, g, b, a);
}

void KTextFace::setBlitAlpha(float alpha) {
    blitAlpha = alpha;
}

void KTextFace::setBlendMode(int mode) {
    blendMode = mode;
    for (KGraphic* page : pages)
        if (page) page->setBlendMode(mode);
}

void KTextFace::blitGlyph(const TextGlyph& glyph, float x, float y) {
    if (!glyph.page) return;
    glyph.page->blitAlphaRectFxF(glyph.x1, glyph.y1, glyph.x2 + 1, glyph.y2 + 1, x, y, 0, 1, blitAlpha, false, false, 0,
                                 0);
}

void KTextFace::drawPen(const char* text, float x, float y, float extra, float scale, int encoding, bool rounded) {
    if (!text || !prepareFace()) return;
    encoding = resolveEncoding(encoding);
    float pen = x;
    TextGlyph glyph;
    long position = 0;
    for (uint32_t c; (c = decodeChar(position, text, encoding, true)) != 0;) {
        if (!findTextGlyph(c, glyph)) continue;
        blitGlyph(glyph, (rounded ? roundHalfUp(pen) : pen) + glyph.bearingX, y + glyph.offsetY);
        pen += (glyph.advance + extra) * scale;
        if (c == kSpace) pen += wordSpacing * scale;
    }
}

void KTextFace::drawPenRight(const char* text, float x, float y, float extra) {
    if (!text || !prepareFace()) return;
    int encoding = resolveEncoding(K_ENCODING_DEFAULT);
    long remaining = countChars(encoding, text);
    long position = countUnits(encoding, text);
    float pen = x;
    TextGlyph glyph;
    for (; remaining > 0 && position > 0; remaining--) {
        uint32_t c = decodeChar(position, text, encoding, false);
        if (!findTextGlyph(c, glyph)) continue;
        pen -= glyph.advance + extra;
        blitGlyph(glyph, std::floor(pen) + glyph.bearingX, y + glyph.offsetY); // both forms floor the pen
    }
}

void KTextFace::drawNumber(int32_t number, int x, int y, float extra) {
    drawString(NumberText(number).text, x, y, extra, K_ENCODING_DEFAULT);
}

void KTextFace::drawString(const char* text, int x, int y, float extra, int encoding) {
    drawPen(text, float(x), float(y), extra, 1, encoding, true);
}

void KTextFace::drawNumberRight(int32_t number, int x, int y, float extra) {
    drawStringRight(NumberText(number).text, x, y, extra);
}

void KTextFace::drawStringRight(const char* text, int x, int y, float extra) {
    drawPenRight(text, float(x), float(y), extra);
}

void KTextFace::drawNumberCentered(int32_t number, int x1, int x2, int y, float extra) {
    drawStringCentered(NumberText(number).text, x1, x2, y, extra);
}

void KTextFace::drawStringCentered(const char* text, int x1, int x2, int y, float extra) {
    int width = int(getStringWidth(text, extra, 1, K_ENCODING_DEFAULT));
    drawString(text, x1 + (x2 - x1 - width) / 2, y, extra, K_ENCODING_DEFAULT);
}

void KTextFace::drawNumberF(int32_t number, float x, float y, float extra, float scale) {
    drawStringF(NumberText(number).text, x, y, extra, scale, K_ENCODING_DEFAULT);
}

void KTextFace::drawStringF(const char* text, float x, float y, float extra, float scale, int encoding) {
    drawPen(text, x, y, extra, scale, encoding, false);
}

void KTextFace::drawNumberRightF(int32_t number, float x, float y, float extra) {
    drawStringRightF(NumberText(number).text, x, y, extra);
}

void KTextFace::drawStringRightF(const char* text, float x, float y, float extra) {
    drawPenRight(text, x, y, extra);
}

void KTextFace::drawNumberCenteredF(int32_t number, float x1, float x2, float y, float extra) {
    drawStringCenteredF(NumberText(number).text, x1, x2, y, extra);
}

void KTextFace::drawStringCenteredF(const char* text, float x1, float x2, float y, float extra) {
    float width = getStringWidth(text, extra, 1, K_ENCODING_DEFAULT);
    drawStringF(text, x1 + (x2 - x1 - width) * 0.5f, y, extra, 1, K_ENCODING_DEFAULT);
}

float KTextFace::blankAdvance() {
    TextGlyph glyph;
    return findTextGlyph(kSpace, glyph) ? glyph.advance : 0;
}

void KTextFace::drawWithCallback(const char* text, float left, float top, float right, float bottom, float offsetX,
                                 float offsetY, float extra, int index, TextDrawCallback callback, void* user,
                                 int encoding) {
    if (!text || !prepareFace()) return;
    encoding = resolveEncoding(encoding);
    if (right < left) right = left;
    if (bottom < top) bottom = top;
    float pen = left + offsetX;
    float lineTop = top + offsetY;
    float lineHeight = float(getHeight());
    bool called = false;
    float cell[4] = {0, 0, 0, 0};
    TextGlyph glyph;
    long position = 0;
    for (int i = 0;; i++) {
        uint32_t c = decodeChar(position, text, encoding, true);
        bool terminator = c == 0;
        bool hasGlyph;
        if (terminator) { // the end takes part as a blank, so a caret after the last character is reported
            glyph = TextGlyph();
            glyph.advance = blankAdvance();
            hasGlyph = false;
        } else {
            hasGlyph = findTextGlyph(c, glyph);
            if (!hasGlyph) glyph = TextGlyph();
        }
        float drawX = roundHalfUp(pen + glyph.bearingX);
        if (drawX >= right) break;

        float sx1 = glyph.x1, sy1 = glyph.y1;
        float width = hasGlyph ? glyph.x2 + 1 - glyph.x1 : 0;
        float height = hasGlyph ? glyph.y2 + 1 - glyph.y1 : 0;
        float advance = glyph.advance;
        float glyphTop = lineTop + glyph.offsetY;
        if (glyphTop + height > bottom) height = bottom - glyphTop;
        if (glyphTop < top) {
            float cut = top - glyphTop;
            sy1 += cut;
            height -= cut;
            glyphTop = top;
        }
        if (drawX + width > right) width = right - drawX;
        if (drawX + advance > right) advance = right - drawX;
        float cutLeft = 0, glyphX = drawX;
        if (drawX < left) {
            cutLeft = left - drawX;
            sx1 += cutLeft;
            width -= cutLeft;
            glyphX = left;
        }
        bool visible = hasGlyph && width > 0 && height > 0;

        bool reported = callback && i == index;
        if (reported) {
            cell[0] = drawX;
            cell[1] = std::max(lineTop, top);
            cell[2] = drawX + std::max(advance, width) - cutLeft;
            cell[3] = std::min(lineTop + lineHeight, bottom);
            callback(this, user, 0, cell[0], cell[1], cell[2], cell[3]);
            called = true;
        }
        if (visible && glyph.page)
            glyph.page->blitAlphaRectFxF(sx1, sy1, sx1 + width, sy1 + height, glyphX, glyphTop, 0, 1, blitAlpha, false,
                                         false, 0, 0);
        if (reported) callback(this, user, 1, cell[0], cell[1], cell[2], cell[3]);
        if (terminator) break;
        if (!hasGlyph) continue; // no glyph, no room: the pen stays, as in the extent and the hit test
        pen += glyph.advance + extra;
        if (c == kSpace) pen += wordSpacing;
    }
    if (called) callback(this, user, 2, cell[0], cell[1], cell[2], cell[3]);
}

void KTextFace::drawStringWithCallback(const char* text, int left, int top, int right, int bottom, int offsetX,
                                       int offsetY, float extra, int index, TextDrawCallback callback, void* user,
                                       int encoding) {
    drawWithCallback(text, float(left), float(top), float(right), float(bottom), float(offsetX), float(offsetY), extra,
                     index, callback, user, encoding);
}

void KTextFace::drawStringWithCallbackF(const char* text, float left, float top, float right, float bottom,
                                        float offsetX, float offsetY, float extra, int index, TextDrawCallback callback,
                                        void* user, int encoding) {
    drawWithCallback(text, left, top, right, bottom, offsetX, offsetY, extra, index, callback, user, encoding);
}

bool KTextFace::charExtent(const char* text, float left, float offsetX, float extra, int index, float& outLeft,
                           float& outRight, int encoding, bool rounded) {
    outLeft = outRight = left;
    if (!text || index < 0 || !prepareFace()) return false;
    encoding = resolveEncoding(encoding);
    float pen = left + offsetX;
    TextGlyph glyph;
    long position = 0;
    for (int i = 0;; i++) {
        uint32_t c = decodeChar(position, text, encoding, true);
        bool hasGlyph = c != 0 && findTextGlyph(c, glyph);
        float advance = c == 0 ? blankAdvance() : hasGlyph ? glyph.advance : 0;
        if (i == index) {
            outLeft = rounded ? roundHalfUp(pen) : pen;
            outRight = outLeft + advance;
            return true;
        }
        if (c == 0) return false; // the index lies past the text
        if (hasGlyph) {
            pen += advance + extra;
            if (c == kSpace) pen += wordSpacing;
        }
    }
}

bool KTextFace::getCharExtent(const char* text, int left, int, int offsetX, float extra, int index, int* outLeft,
                              int* outRight, int encoding) {
    float l, r;
    bool found = charExtent(text, float(left), float(offsetX), extra, index, l, r, encoding, true);
    if (outLeft) *outLeft = int(l);
    if (outRight) *outRight = int(r);
    return found;
}

bool KTextFace::getCharExtentF(const char* text, float left, float, float offsetX, float extra, int index,
                               float* outLeft, float* outRight, int encoding) {
    float l, r;
    bool found = charExtent(text, left, offsetX, extra, index, l, r, encoding, false);
    if (outLeft) *outLeft = l;
    if (outRight) *outRight = r;
    return found;
}

int KTextFace::charIndexAt(const char* text, float left, float offsetX, float extra, float x, bool clamp,
                           int encoding) {
    if (!text || !prepareFace()) return -1;
    encoding = resolveEncoding(encoding);
    float pen = left + offsetX;
    if (clamp && x < pen) return 0;
    TextGlyph glyph;
    long position = 0;
    int i = 0;
    for (uint32_t c; (c = decodeChar(position, text, encoding, true)) != 0; i++) {
        if (!findTextGlyph(c, glyph)) continue;
        float reach = glyph.advance + std::max(extra, 0.0f);
        if (c == kSpace) reach += std::max(wordSpacing, 0.0f);
        if (pen <= x && x < pen + reach) return i;
        pen += glyph.advance + extra;
        if (c == kSpace) pen += wordSpacing;
    }
    if ((pen <= x && x < pen + blankAdvance()) || clamp) return i;
    return -1;
}

int KTextFace::getCharIndexAt(const char* text, int left, int, int offsetX, float extra, int x, bool clamp,
                              int encoding) {
    return charIndexAt(text, float(left), float(offsetX), extra, float(x), clamp, encoding);
}

int KTextFace::getCharIndexAtF(const char* text, float left, float, float offsetX, float extra, float x, bool clamp,
                               int encoding) {
    return charIndexAt(text, left, offsetX, extra, x, clamp, encoding);
}

bool KTextFace::hasChar(uint32_t codePoint) {
    TextGlyph glyph;
    return prepareFace() && findTextGlyph(codePoint, glyph);
}

float KTextFace::getLineSpacing() {
    return lineSpacing;
}

void KTextFace::setLineSpacing(float spacing) {
    lineSpacing = spacing;
}

void KTextFace::setWordSpacing(float spacing) {
    wordSpacing = spacing;
}

float KTextFace::runBoxLayout(const TextBoxRequest& request, int kind, int* index, float* outs, bool* found) {
    float lineHeight = request.lineHeight < 0 ? float(getHeight()) : request.lineHeight;
    return layoutTextBox(this, getDefaultEncoding(), request.text, float(request.left), float(request.top),
                         float(request.right), float(request.bottom), request.alignment, request.scrollX,
                         request.scrollY, request.extra, lineHeight, getLineSpacing(), kind, index, request.callback,
                         request.user, outs, float(request.pointX), float(request.pointY), found);
}

void KTextFace::drawStringInBox(TextBoxRequest request) {
    request.bottom = request.scrollX = request.scrollY = 0;
    int index = -1;
    runBoxLayout(request, K_LAYOUT_DRAW, &index, nullptr, nullptr);
}

int KTextFace::getStringInBoxWidth(TextBoxRequest request) {
    request.bottom = request.scrollX = request.scrollY = 0;
    int index = -1;
    return int(runBoxLayout(request, K_LAYOUT_WIDEST_LINE, &index, nullptr, nullptr));
}

int KTextFace::getStringInBoxHeight(TextBoxRequest request) {
    request.bottom = request.scrollX = request.scrollY = 0;
    int index = -1;
    return int(runBoxLayout(request, K_LAYOUT_HEIGHT, &index, nullptr, nullptr)) - request.top;
}

void KTextFace::drawStringInBoxWithCallback(TextBoxRequest request) {
    int index = request.index;
    runBoxLayout(request, K_LAYOUT_CALLBACK_DRAW, &index, nullptr, nullptr);
}

bool KTextFace::getCharRectInBox(TextBoxRequest request) {
    int index = request.index;
    float rect[4] = {0, 0, 0, 0};
    bool found = false;
    runBoxLayout(request, K_LAYOUT_CHAR_RECT, &index, rect, &found);
    if (!found) return false;
    if (request.outLeft) *request.outLeft = int(rect[0]);
    if (request.outTop) *request.outTop = int(rect[1]);
    if (request.outRight) *request.outRight = int(rect[2]);
    if (request.outBottom) *request.outBottom = int(rect[3]);
    return true;
}

int KTextFace::getCharIndexAtInBox(TextBoxRequest request) {
    int index = -1;
    runBoxLayout(request, K_LAYOUT_INDEX_AT_POINT, &index, nullptr, nullptr);
    return index;
}
