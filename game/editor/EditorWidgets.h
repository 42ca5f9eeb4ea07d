// The level editor's immediate-mode widgets: push buttons, toggle buttons, labels and text fields. Each is
// updated once per pass from the shared mouse state and drawn once per frame with bitmap font 0.
#pragma once

#include "InputState.h"

#include <cstdint>
#include <string>

// Inside a button or toggle: left <= x < left + width and top <= y < top + height.
bool isInsideBox(int x, int y, int left, int top, int width, int height);
// Inside a text field: strictly within its edges.
bool isStrictlyInsideBox(int x, int y, int left, int top, int width, int height);

// The screen area of a panel: the smallest box that holds every widget added to it as drawn (a widget's
// outline lies one pixel past its far edges), the gaps between the widgets included. A click anywhere in it
// is a click on the panel and never reaches the map under it.
class PanelArea {
public:
    PanelArea& add(int x, int y, int width, int height);
    template <class Widget> PanelArea& add(const Widget& widget) {
        return add(widget.x, widget.y, widget.width, widget.height);
    }
    bool contains(int px, int py) const { return px >= left && px < right && py >= top && py < bottom; }

private:
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN; // right, bottom: past it
};

class EditorButton {
public:
    // A width of -1 fits the caption (its width + 10), a height of -1 becomes 20.
    EditorButton(int x, int y, int width, int height, const std::string& caption);
    void update();
    void draw() const;
    bool contains(int px, int py) const { return isInsideBox(px, py, x, y, width, height); }

    int32_t x, y, width, height;
    std::string caption;
    uint8_t pressed = 0, armed = 0, clicked = 0, hovered = 0;
};

class EditorToggleButton {
public:
    EditorToggleButton(int x, int y, int width, int height, const std::string& caption, bool mayUnselect);
    void update();
    void draw() const;
    bool contains(int px, int py) const { return isInsideBox(px, py, x, y, width, height); }
    // Selected now and not at the start of this pass's update.
    bool becameSelected() const { return selected && !previousSelected; }

    int32_t x, y, width, height;
    std::string caption;
    uint8_t selected = 0, previousSelected = 0, hovered = 0, mayUnselect = 0;
};

class EditorLabel {
public:
    EditorLabel(int x, int y, const std::string& text);
    void setText(const std::string& newText) { text = newText; }
    void draw() const;

    int32_t x, y;
    std::string text;
};

class EditorTextField {
public:
    // A height of -1 becomes the line height of bitmap font 0 + 2.
    EditorTextField(int x, int y, int width, int height, int maxLength, bool digitsOnly);
    void update();
    void draw() const;
    void setText(const std::string& newText) { text = newText; }
    void setInt(long long value) { text = std::to_string(value); }
    // The text read as a base-10 number; 0 for an empty or non-numeric text.
    int32_t intValue() const;
    bool contains(int px, int py) const { return isStrictlyInsideBox(px, py, x, y, width, height); }
    // The key table that turns key presses into the typed character (tests script it).
    KeyStateTable& keys() { return keyTable; }

    std::string text;
    int32_t maxLength;
    uint8_t digitsOnly;
    uint8_t focused = 0, caretVisible = 1;
    double blinkTime = 0, blinkInterval = 0.5;
    int32_t x, y, width, height;

private:
    KeyStateTable keyTable;
};
