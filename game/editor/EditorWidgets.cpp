// The editor's push buttons, toggles, labels and text fields.
#include "EditorWidgets.h"

#include "BitmapFonts.h"
#include "DrawTools.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "KText.h"
#include "MouseCursor.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

bool isInsideBox(int x, int y, int left, int top, int width, int height) {
    return x >= left && x < left + width && y >= top && y < top + height;
}

bool isStrictlyInsideBox(int x, int y, int left, int top, int width, int height) {
    return x > left && x < left + width && y > top && y < top + height;
}

PanelArea& PanelArea::add(int x, int y, int width, int height) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x + width + 1);
    bottom = std::max(bottom, y + height + 1);
    return *this;
}

namespace {

constexpr int kCaptionFont = 0;
constexpr int kTextFieldMargin = 2;

int fittedWidth(int width, const std::string& caption) {
    if (width != -1) return width;
    KText* font = getFont(kCaptionFont);
    const float captionWidth = font ? font->getStringWidth(caption.c_str(), 1, 1) : 0.0f;
    return int(std::trunc(captionWidth + 10));
}

void drawButtonBox(int x, int y, int width, int height, const std::string& caption, bool lit, bool hovered) {
    const float l = float(x), t = float(y), r = float(x + width), b = float(y + height);
    if (sharedGraphic) {
        if (lit)
            sharedGraphic->fillRect(l, t, r, b, 1.0f, 0.5f, 0.5f, 1);
        else
            sharedGraphic->fillRect(l, t, r, b, 0.75f, 0.75f, 1.0f, 1);
    }
    if (hovered)
        drawRectOutline(l, t, r, b, 0.25f, 0.25f, 1.0f, 1);
    else
        drawRectOutline(l, t, r, b, 0, 0, 0, 1);
    if (KText* font = getFont(kCaptionFont)) font->drawStringCentered(caption.c_str(), x, x + width, y, 1);
}

} // namespace

EditorButton::EditorButton(int bx, int by, int w, int h, const std::string& text)
    : x(bx), y(by), width(fittedWidth(w, text)), height(h == -1 ? 20 : h), caption(text) {}

void EditorButton::update() {
    clicked = 0;
    if (!contains(MouseState.x, MouseState.y)) {
        hovered = 0;
        pressed = 0;
    } else {
        CursorKind = kCursorHand;
        hovered = !MouseState.leftNow;
        if (mouseButtonPressed()) armed = 1;
        if (armed) pressed = 1;
        if (MouseState.leftBefore) {
            if (MouseState.leftNow) return;
            clicked = armed;
            armed = pressed = 0;
            return;
        }
    }
    if (!MouseState.leftNow) armed = pressed = 0;
}

void EditorButton::draw() const {
    drawButtonBox(x, y, width, height, caption, pressed, hovered);
}

EditorToggleButton::EditorToggleButton(int bx, int by, int w, int h, const std::string& text, bool unselectable)
    : x(bx), y(by), width(fittedWidth(w, text)), height(h == -1 ? 20 : h), caption(text), mayUnselect(unselectable) {}

void EditorToggleButton::update() {
    previousSelected = selected;
    if (!contains(MouseState.x, MouseState.y)) {
        hovered = 0;
        return;
    }
    CursorKind = kCursorHand;
    hovered = 1;
    if (!mouseButtonPressed()) return;
    if (!selected)
        selected = 1;
    else if (mayUnselect)
        selected = 0;
}

void EditorToggleButton::draw() const {
    drawButtonBox(x, y, width, height, caption, selected, hovered);
}

EditorLabel::EditorLabel(int lx, int ly, const std::string& labelText) : x(lx), y(ly), text(labelText) {}

void EditorLabel::draw() const {
    if (KText* font = getFont(kCaptionFont)) font->drawString(text.c_str(), x, y);
}

EditorTextField::EditorTextField(int fx, int fy, int w, int h, int maxChars, bool digits)
    : maxLength(maxChars), digitsOnly(digits), x(fx), y(fy), width(w),
      height(h == -1 ? getFontLineHeight(kCaptionFont) + kTextFieldMargin : h) {}

int32_t EditorTextField::intValue() const {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    // A field may hold more digits than a 32-bit value: such a value is held to the 32-bit range.
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int32_t(value);
}

void EditorTextField::update() {
    keyTable.update();
    if (mouseButtonPressed()) focused = contains(MouseState.x, MouseState.y);
    if (!focused) return;
    blinkTime += frameTime;
    if (blinkTime > blinkInterval) {
        caretVisible = !caretVisible;
        blinkTime = 0;
    }
    const int32_t typed = keyTable.getTypedCharacter();
    if (typed == 0) return;
    if (typed == 8) {
        if (!text.empty()) text.pop_back();
        return;
    }
    if (int32_t(text.size()) >= maxLength) return;
    if (digitsOnly && (typed < '0' || typed > '9')) return;
    text.push_back(char(typed));
}

void EditorTextField::draw() const {
    const float l = float(x), t = float(y), r = float(x + width), b = float(y + height);
    if (sharedGraphic) sharedGraphic->fillRect(l, t, r, b, 1, 1, 1, 1);
    drawRectOutline(l, t, r, b, 0, 0, 0, 1);
    KText* font = getFont(kCaptionFont);
    if (font) font->drawString(text.c_str(), x + 2, y + 1, 1);
    if (focused && caretVisible && sharedGraphic) {
        const float caretX = float(x) + (font ? font->getStringWidth(text.c_str(), 1, 1) : 0.0f) + 4;
        sharedGraphic->drawLine(caretX, float(y + 2), caretX, float(y + height - 2), 0, 0, 0, 1);
    }
}
