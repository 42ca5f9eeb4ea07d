// The shape the pause, level-complete and level-failed menus share: a framed panel centred on the screen, a
// title picture at its top, lines of text, and a column of centred standard menu buttons.
#pragma once

#include "GF_ProgramState.h"

#include <memory>
#include <string>
#include <vector>

class GF_SpriteButton;
class OverlayHost;
class SpriteSheet;

class OverlayMenu : public GF_ProgramState {
public:
    OverlayMenu();
    ~OverlayMenu() override;
    void leave() override;
    void draw() override;

    // The game state that opens this overlay (not owned); without one, closing and the HUD are not reached.
    void setHost(OverlayHost* owner) { host = owner; }

    struct TextLine {
        std::string text;
        int y = 0; // relative to the panel top
    };
    const std::vector<TextLine>& getTextLines() const { return textLines; }
    int getButtonCount() const { return int(buttons.size()); }
    GF_SpriteButton* getButton(int n) const;
    int32_t panelWidth = 0, panelHeight = 0, panelX = 0, panelY = 0;

protected:
    // The common start of enter: stops the charge-up sound, builds the menu buttons, loads the window frame
    // and the title (one frame of the sheet), and centres a panel of that size.
    void beginEnter(const char* titleFile, int titleTop, int width, int height);
    // A centred standard button with its text as its hint.
    void addButton(int menuButtonKind, int y, const std::string& text);
    void addText(const std::string& text, int y) { textLines.push_back({text, y}); }
    // Updates every button; true when button n was clicked this pass.
    void updateButtons();
    bool clicked(int n) const;

    OverlayHost* host = nullptr;

private:
    std::unique_ptr<SpriteSheet> titleSheet;
    std::vector<std::unique_ptr<GF_SpriteButton>> buttons;
    std::vector<TextLine> textLines;
};
