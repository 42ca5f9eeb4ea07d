// The main menu, the hub of the program: the title picture with four buttons (play, level editor, options,
// exit), the version text, a fade in from black over one second, the music started, and a dolphin's laugh
// once per visit as the fade ends.
#pragma once

#include "GF_ProgramState.h"
#include "TiledPicture.h"

#include <array>
#include <memory>
#include <string>

class GF_SpriteButton;
class SpriteAnimation;
class SpriteSheet;

constexpr const char* kGameVersion = "1.4.2";

class GF_MainMenu : public GF_ProgramState {
public:
    enum Button { kPlay = 0, kEditor = 1, kOptions = 2, kExit = 3 };

    GF_MainMenu();
    ~GF_MainMenu() override;
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    GF_SpriteButton* getButton(int button) const;
    double getFade() const { return fade; }
    bool laughPlayed() const { return laughed; }

private:
    TiledPicture background;
    std::unique_ptr<SpriteSheet> firstSheet, secondSheet;
    std::array<std::unique_ptr<SpriteAnimation>, 4> animations;
    std::array<std::unique_ptr<GF_SpriteButton>, 4> buttons;
    double fade = 1.0;
    double fadeSpeed = 1.0; // per second
    bool laughed = false;
    std::string versionText; // "Version: " and the version
};
