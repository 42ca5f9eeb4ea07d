// The choice of game kind: Action, Stunt, Race or the player's own levels, each opening the level select on
// that list, and the way back to the main menu (also the back key).
#pragma once

#include "GF_ProgramState.h"

#include <array>
#include <memory>

class GF_SpriteButton;
class SpriteAnimation;
class SpriteSheet;

class GF_GameSelect : public GF_ProgramState {
public:
    enum Button { kAction = 0, kStunt = 1, kRace = 2, kCustom = 3, kMainMenu = 4 };

    GF_GameSelect();
    ~GF_GameSelect() override;
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    GF_SpriteButton* getButton(int button) const;

private:
    std::unique_ptr<SpriteSheet> headingSheet, firstSheet, secondSheet;
    std::array<std::unique_ptr<SpriteAnimation>, 4> animations;
    std::array<std::unique_ptr<GF_SpriteButton>, 5> buttons;
};
