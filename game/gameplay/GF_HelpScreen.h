// The help overlay of the game state: over the first frame of a level it explains a control (swimming,
// shooting, the super laser, directional control) with a picture and a pulsing highlight, or a game mode
// (racing, stunts) with the level's medal goals, and closes on any input.
#pragma once

#include "GF_ProgramState.h"

#include <cstdint>
#include <memory>
#include <string>

class OverlayHost;
class SpriteSheet;
class TextBlock;

constexpr int kHelpPageCount = 6;

class GF_HelpScreen : public GF_ProgramState {
public:
    GF_HelpScreen();
    ~GF_HelpScreen() override;
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    void setHost(OverlayHost* owner) { host = owner; }
    // The page (0 .. 5) the next enter shows; others are taken as page 0.
    void setPage(int32_t n) { page = n >= 0 && n < kHelpPageCount ? n : 0; }
    int32_t getPage() const { return page; }
    const std::string& getTitle() const { return title; }
    const TextBlock* getTextBlock() const { return textBlock.get(); }
    // The medal lines of the racing and stunt pages, from the loaded level's goals; empty on the others.
    std::string getMedalLine(int n) const { return n >= 0 && n < 3 ? medalLines[n] : std::string(); }
    double getHighlightAlpha() const { return highlightAlpha; }

    int32_t panelX = 0, panelY = 0, panelWidth = 0, panelHeight = 0;
    int32_t pictureX = 0, pictureY = 0;

private:
    OverlayHost* host = nullptr;
    int32_t page = 0;
    std::string title, text, pictureFile;
    int32_t pictureHeight = 0, gap = 0;
    double highlightMax = 0, highlightAlpha = 0;
    bool highlightRising = true;
    std::unique_ptr<TextBlock> textBlock;
    std::unique_ptr<SpriteSheet> picture, mouseHighlight;
    std::string medalLines[3];
};
