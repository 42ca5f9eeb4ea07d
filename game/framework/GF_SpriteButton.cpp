// The picture button's hit test, state machine and draw.
#include "GF_SpriteButton.h"

#include "DrawTools.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KGraphic.h"
#include "MouseCursor.h"
#include "SpriteAnimation.h"
#include "Tooltip.h"

#include <algorithm>

namespace {
constexpr double kHintDelay = 0.7;
constexpr float kPanelAlpha = 0.5f;
} // namespace

GF_SpriteButton::GF_SpriteButton(int bx, int by, SpriteAnimation* anim, int buttonAngle, bool fx, bool fy, int mode)
    : animation(anim), angle(buttonAngle), flipX(fx), flipY(fy), x(bx), y(by), drawMode(mode) {
    if (animation) {
        width = animation->frameWidth();
        height = animation->frameHeight();
    }
    hitWidth = width;
    hitHeight = height;
}

bool GF_SpriteButton::containsPointGrown(int px, int py, int margin) const {
    const int cx = x + offsetX + width / 2, cy = y + offsetY + height / 2;
    int left, right, top, bottom;
    if (explicitHitBox) {
        left = cx + hitLeft;
        right = cx + hitRight;
        top = cy + hitTop;
        bottom = cy + hitBottom;
    } else {
        left = cx - hitWidth / 2;
        right = cx + hitWidth / 2;
        top = cy - hitHeight / 2;
        bottom = cy + hitHeight / 2;
    }
    return px >= left - margin && px < right + margin && py >= top - margin && py < bottom + margin;
}

bool GF_SpriteButton::containsPoint(int px, int py) {
    return containsPointGrown(px, py, 0);
}

bool GF_SpriteButton::containsPointWithMargin(int px, int py) {
    return containsPointGrown(px, py, holdMargin);
}

void GF_SpriteButton::setHint(const std::string& text) {
    hintText = text;
    hintOn = 1;
}

void GF_SpriteButton::update(bool reset) {
    if (reset) {
        pressed = clicked = hovered = pressStarted = 0;
        hoverFade = 0;
        baseAlpha = 1;
        hoverTime = 0;
        return;
    }
    if (animation && animation->sequenceCount() > 0)
        if (SpriteSequence* sequence = animation->currentSequence()) sequence->advance();
    if (hoverTime > kHintDelay) {
        if (!hintDue) {
            hintDue = 1;
            hintX = MouseState.x;
            hintY = MouseState.y;
        }
    } else {
        hintDue = 0;
    }
    clicked = 0;
    if (disabled) {
        pressed = hovered = 0;
        hoverFade = 0;
        baseAlpha = 1;
        hoverTime = 0;
        return;
    }
    const bool inside = MouseState.leftBefore ? containsPointWithMargin(MouseState.x, MouseState.y)
                                              : containsPoint(MouseState.x, MouseState.y);
    const bool wentDown = MouseState.leftNow && !MouseState.leftBefore;
    const bool released = !MouseState.leftNow && MouseState.leftBefore;
    if (inside) {
        hoverTime += frameTime;
        CursorKind = kCursorHand;
        if (wentDown) pressStarted = 1;
        hovered = !(MouseState.leftNow && !pressStarted);
        pressed = pressStarted;
        if (released) {
            clicked = pressStarted;
            pressStarted = pressed = 0;
        } else if (!MouseState.leftNow) {
            pressStarted = pressed = 0;
        }
    } else {
        hovered = 0;
        hoverTime = 0;
        pressed = 0;
        if (!MouseState.leftNow) pressStarted = 0;
    }
    if (drawMode == kButtonImage || drawMode == kButtonImage2) {
        const double step = frameTime * fadeSpeed;
        hoverFade = std::clamp(hovered ? hoverFade + step : hoverFade - step, 0.0, 1.0);
        baseAlpha = hoverFade >= 0.99 ? 0.0 : 1.0;
    }
}

void GF_SpriteButton::draw() {
    const int left = x + offsetX, top = y + offsetY;
    if (drawMode == kButtonBoxed) {
        const float l = float(left), t = float(top), r = float(left + width), b = float(top + height);
        if (sharedGraphic) sharedGraphic->fillRect(l, t, r, b, 0, 0, 1, kPanelAlpha);
        if (animation) animation->drawFirstFrame(left, top, angle, 1.0, flipX, flipY);
        if (sharedGraphic) {
            if (pressed)
                sharedGraphic->fillRect(l, t, r, b, 0, 0, 0, 0.2f);
            else if (hovered)
                sharedGraphic->fillRect(l, t, r, b, 1, 1, 1, 0.2f);
        }
        drawRectOutline(l, t, r, b, 0, 0, 0, 1);
    } else if (animation) {
        const int dx = pressed && hovered ? left + 1 : left;
        const int dy = pressed && hovered ? top + 2 : top;
        animation->setSequence(selected ? 3 : 1);
        animation->drawTransformed(dx, dy, 0, 1.0, baseAlpha, flipX, flipY);
        animation->setSequence(selected ? 2 : 0);
        animation->drawTransformed(dx, dy, 0, 1.0, hoverFade, flipX, flipY);
    }
    if (hintOn && hintDue) showTooltip(hintText, hintX, hintY);
}
