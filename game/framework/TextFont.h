// A TrueType font of the game's headings and menu text: an engine TrueType face with a letter spacing and
// an optional clip box that drops strings not wholly inside it vertically.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class KText;
class KTextFace;
class KTrueText;

class TextFont {
public:
    TextFont();
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    // The face for fonts folder + file name; the spacing is taken to the nearest pixel (halves away from 0).
    void load(const std::string& fileName, double letterSpacing);
    // Drawn at (x, y); with the clip box on, only when it lies inside the box vertically and overlaps it across.
    // Each text operation also takes a plain C string, so that screens drawing fixed captions every frame
    // make no string for them.
    void drawText(const char* text, int x, int y);
    void drawText(const std::string& text, int x, int y) { drawText(text.c_str(), x, y); }
    void drawTextRightAligned(const char* text, int x, int y); // ends at x
    void drawTextRightAligned(const std::string& text, int x, int y) { drawTextRightAligned(text.c_str(), x, y); }
    void drawTextCentered(const char* text, int x1, int x2, int y);
    void drawTextCentered(const std::string& text, int x1, int x2, int y) { drawTextCentered(text.c_str(), x1, x2, y); }
    // Width with the letter spacing; 1 without a face.
    int textWidth(const char* text);
    int textWidth(const std::string& text) { return textWidth(text.c_str()); }
    void setColor(double r, double g, double b, double a);
    // A bitmap font (not owned) drawn in place of a TrueType face, spaced by the given line height.
    void setBitmapFont(KText* font, int lineHeight);
    void setClipBox(int left, int top, int right, int bottom);
    void clearClipBox();

    KTrueText* getTrueText() const { return trueText.get(); }
    int32_t getLetterSpacing() const { return letterSpacing; }

private:
    KTextFace* face() const;
    int lineHeight();

    std::unique_ptr<KTrueText> trueText;
    KText* bitmapText = nullptr; // not owned; used only without a TrueType face
    std::string fileName;
    int32_t letterSpacing = 0;
    int32_t clip = 0;
    int32_t clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    int32_t bitmapLineHeight = 0;
};
