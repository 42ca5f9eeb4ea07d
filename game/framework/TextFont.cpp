// TrueType text fonts: loading, the clip rule and the draws.
#include "TextFont.h"

#include "FolderPaths.h"
#include "KText.h"
#include "KTrueText.h"

#include <cmath>

TextFont::TextFont() = default;
TextFont::~TextFont() = default;

void TextFont::load(const std::string& name, double spacing) {
    fileName = name;
    trueText = std::make_unique<KTrueText>((getFontsFolder() + name).c_str());
    letterSpacing = int32_t(std::round(spacing));
}

KTextFace* TextFont::face() const {
    if (trueText) return trueText.get();
    return bitmapText;
}

int TextFont::lineHeight() {
    if (trueText) return trueText->getHeight();
    return bitmapLineHeight;
}

void TextFont::drawText(const char* text, int x, int y) {
    KTextFace* f = face();
    if (!f) return;
    if (clip) {
        const int w = textWidth(text), h = lineHeight();
        const bool inside = clipTop <= y && y + h <= clipBottom && x < clipRight && x + w > clipLeft;
        if (!inside) return;
    }
    f->drawString(text, x, y, float(letterSpacing));
}

void TextFont::drawTextRightAligned(const char* text, int x, int y) {
    if (KTextFace* f = face()) f->drawStringRight(text, x, y, float(letterSpacing));
}

void TextFont::drawTextCentered(const char* text, int x1, int x2, int y) {
    if (KTextFace* f = face()) f->drawStringCentered(text, x1, x2, y, float(letterSpacing));
}

int TextFont::textWidth(const char* text) {
    KTextFace* f = face();
    if (!f) return 1;
    return int(f->getStringWidth(text, float(letterSpacing)));
}

void TextFont::setColor(double r, double g, double b, double a) {
    if (KTextFace* f = face()) f->setColor(float(r), float(g), float(b), float(a));
}

void TextFont::setBitmapFont(KText* font, int lineHeight) {
    bitmapText = font;
    bitmapLineHeight = lineHeight;
}

void TextFont::setClipBox(int left, int top, int right, int bottom) {
    clip = 1;
    clipLeft = left;
    clipTop = top;
    clipRight = right;
    clipBottom = bottom;
}

void TextFont::clearClipBox() {
    clip = 0;
}
