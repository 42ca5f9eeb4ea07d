// The one interface through which the program measures and draws text, and the pen model both text classes
// share: single-line drawing, callback drawing, extents and hit tests, and the box operations (KTextBoxLayout).
// KTrueText (TrueType) and KText (bitmap fonts) supply glyphs; every glyph is a textured rectangle blitted
// through the KGraphic page that holds it.
#pragma once

#include "KObjectBase.h"
#include "KTextEncoding.h"

#include <cstdint>

class KGraphic;
class KTextFace;

enum TextAlignment : int {
    K_ALIGN_LEFT = 0,
    K_ALIGN_RIGHT = 1,
    K_ALIGN_CENTERED = 2,
    K_ALIGN_JUSTIFIED = 3,
    K_ALIGN_JUSTIFIED_ANY_BREAK = 4,   // justified, a line may break after any character
    K_ALIGN_JUSTIFIED_KEEP_BLANKS = 5, // as 4, keeping blanks at line ends and starts
};

// Called around the reported character of a callback draw: phase 0 before its glyph is drawn, 1 after,
// 2 once at the end of the string. The rectangle is the character's clipped cell.
using TextDrawCallback = void (*)(KTextFace* face, void* user, int phase, float left, float top, float right,
                                  float bottom);

// The one argument of the box operations (passed by value). The text is in the face's default encoding;
// a negative line height means the face's getHeight. Each operation reads the fields it names:
// drawStringInBox, getStringInBoxWidth, getStringInBoxHeight: text, left, right, top, alignment, extra,
// lineHeight; drawStringInBoxWithCallback: also bottom, scrollX, scrollY, index, callback, user;
// getCharRectInBox: as the callback form with index and outLeft..outBottom instead of the callback;
// getCharIndexAtInBox: as the callback form with pointX, pointY instead of index and callback.
struct TextBoxRequest {
    const char* text = nullptr;
    int left = 0, top = 0, right = 0, bottom = 0;
    int alignment = K_ALIGN_LEFT;
    int scrollX = 0, scrollY = 0;
    float extra = 0;
    int index = -1;
    TextDrawCallback callback = nullptr;
    void* user = nullptr;
    int* outLeft = nullptr;
    int* outTop = nullptr;
    int* outRight = nullptr;
    int* outBottom = nullptr;
    int pointX = 0, pointY = 0;
    float lineHeight = -1;
};

class KTextFace : public KObjectBase {
public:
    KTextFace() = default;
    KTextFace(const KTextFace&) = delete; // faces own their page pictures
    KTextFace& operator=(const KTextFace&) = delete;
    ~KTextFace() override = default;

    virtual int getDefaultEncoding() = 0;
    virtual int getHeight() = 0;
    virtual float getStringWidth(const char* text, float extra = 0, float scale = 1, int encoding = K_ENCODING_DEFAULT);
    virtual float getPrefixWidth(const char* text, long count, float extra = 0, float scale = 1);
    virtual float getCharAdvance(uint32_t codePoint, float extra = 0);
    virtual float getCharOffsetX(uint32_t codePoint);
    virtual void setColor(float r, float g, float b, float a);
    virtual void setBlitColor(float r, float g, float b, float a);
    virtual void setBlitAlpha(float alpha);
    virtual void setBlendMode(int mode);
    virtual void drawNumber(int32_t number, int x, int y, float extra = 0);
    virtual void drawString(const char* text, int x, int y, float extra = 0, int encoding = K_ENCODING_DEFAULT);
    virtual void drawNumberRight(int32_t number, int x, int y, float extra = 0);
    virtual void drawStringRight(const char* text, int x, int y, float extra = 0);
    virtual void drawNumberCentered(int32_t number, int x1, int x2, int y, float extra = 0);
    virtual void drawStringCentered(const char* text, int x1, int x2, int y, float extra = 0);
    virtual void drawStringWithCallback(const char* text, int left, int top, int right, int bottom, int offsetX,
                                        int offsetY, float extra, int index, TextDrawCallback callback, void* user,
                                        int encoding = K_ENCODING_DEFAULT);
    virtual bool getCharExtent(const char* text, int left, int unused, int offsetX, float extra, int index,
                               int* outLeft, int* outRight, int encoding = K_ENCODING_DEFAULT);
    virtual int getCharIndexAt(const char* text, int left, int unused, int offsetX, float extra, int x, bool clamp,
                               int encoding = K_ENCODING_DEFAULT);
    virtual void drawNumberF(int32_t number, float x, float y, float extra = 0, float scale = 1);
    virtual void drawStringF(const char* text, float x, float y, float extra = 0, float scale = 1,
                             int encoding = K_ENCODING_DEFAULT);
    virtual void drawNumberRightF(int32_t number, float x, float y, float extra = 0);
    virtual void drawStringRightF(const char* text, float x, float y, float extra = 0);
    virtual void drawNumberCenteredF(int32_t number, float x1, float x2, float y, float extra = 0);
    virtual void drawStringCenteredF(const char* text, float x1, float x2, float y, float extra = 0);
    virtual void drawStringWithCallbackF(const char* text, float left, float top, float right, float bottom,
                                         float offsetX, float offsetY, float extra, int index,
                                         TextDrawCallback callback, void* user, int encoding = K_ENCODING_DEFAULT);
    virtual bool getCharExtentF(const char* text, float left, float unused, float offsetX, float extra, int index,
                                float* outLeft, float* outRight, int encoding = K_ENCODING_DEFAULT);
    virtual int getCharIndexAtF(const char* text, float left, float unused, float offsetX, float extra, float x,
                                bool clamp, int encoding = K_ENCODING_DEFAULT);
    virtual bool hasChar(uint32_t codePoint);
    virtual float getLineSpacing();
    virtual void setLineSpacing(float spacing);
    virtual void setWordSpacing(float spacing);
    virtual void drawStringInBox(TextBoxRequest request);
    virtual int getStringInBoxWidth(TextBoxRequest request);
    virtual int getStringInBoxHeight(TextBoxRequest request);
    virtual void drawStringInBoxWithCallback(TextBoxRequest request);
    virtual bool getCharRectInBox(TextBoxRequest request);
    virtual int getCharIndexAtInBox(TextBoxRequest request);

    float getWordSpacing() const { return wordSpacing; }

protected:
    // A glyph as the pen sees it: its rectangle in its page (inclusive corners), its advance, and its offsets
    // from the pen and the line top to the rectangle's top-left.
    struct TextGlyph {
        KGraphic* page = nullptr;
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        float advance = 0;
        float bearingX = 0;
        float offsetY = 0;
    };

    // False when the face has no font (nothing is measured or drawn); may build the glyph pages first.
    virtual bool prepareFace() = 0;
    // The glyph of a code point; false when the face has none for it.
    virtual bool findTextGlyph(uint32_t codePoint, TextGlyph& glyph) = 0;

    // The pages whose blit colour and blend mode follow the face's.
    static constexpr int kMaxPages = 8;
    KGraphic* pages[kMaxPages] = {};

    // True when string widths count the extra spacing after the last character too.
    bool widthCountsLastExtra = true;

    float blitAlpha = 1.0f;
    int blendMode = 1;
    float color[4] = {1, 1, 1, 1};
    float wordSpacing = 0;
    float lineSpacing = 0;

    // -1 and encodings the face cannot read become the class default, so no text loop can spin.
    int resolveEncoding(int encoding);
    void applyColorAndBlend(KGraphic* page);

private:
    void drawPen(const char* text, float x, float y, float extra, float scale, int encoding, bool rounded);
    void drawPenRight(const char* text, float x, float y, float extra);
    void drawWithCallback(const char* text, float left, float top, float right, float bottom, float offsetX,
                          float offsetY, float extra, int index, TextDrawCallback callback, void* user, int encoding);
    bool charExtent(const char* text, float left, float offsetX, float extra, int index, float& outLeft,
                    float& outRight, int encoding, bool rounded);
    int charIndexAt(const char* text, float left, float offsetX, float extra, float x, bool clamp, int encoding);
    void blitGlyph(const TextGlyph& glyph, float x, float y);
    float blankAdvance();
    float runBoxLayout(const TextBoxRequest& request, int kind, int* index, float* outs, bool* found);
};

// x rounded half up: floor(x), plus 1 when the fraction is at least 0.5.
float roundHalfUp(float x);
