// The options screen: difficulty, music and sound volume, full screen, auto-aim and the unlocked cheats. The
// difficulty and volumes reach the game every half second, the display mode switches on the click, and the
// options file is written when the screen is left (through its button or the back key, to its return target).
#pragma once

#include "GF_ProgramState.h"

#include <cstdint>
#include <memory>
#include <vector>

class CheckBox;
class GF_SpriteButton;
class RadioGroup;
class Slider;
class SpriteAnimation;
class SpriteSheet;

class GF_OptionsMenu : public GF_ProgramState {
public:
    explicit GF_OptionsMenu(int32_t returnTarget);
    ~GF_OptionsMenu() override;
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    void setReturnTarget(int32_t id) { returnTarget = id; }
    int32_t getReturnTarget() const { return returnTarget; }

    // The settings as the widgets show them, into the options and the engine's volumes.
    void applyOptionsScreen();

    // The widgets while the screen is open (null or empty otherwise), for the checks of the screen.
    RadioGroup* getDifficulty() const { return difficulty.get(); }
    Slider* getMusicSlider() const { return musicSlider.get(); }
    Slider* getSoundSlider() const { return soundSlider.get(); }
    CheckBox* getFullScreenBox() const { return fullScreenBox.get(); }
    CheckBox* getAutoAimBox() const { return autoAimBox.get(); }
    CheckBox* getCheatBox(int index) const;
    GF_SpriteButton* getMainMenuButton() const { return mainMenuButton.get(); }

private:
    void updateSlider(Slider& slider);
    void updateFullScreen();

    std::unique_ptr<SpriteSheet> titleSheet, widgetSheet;
    std::unique_ptr<SpriteAnimation> radioLooks, trackLooks, knobLooks, boxLooks;
    std::unique_ptr<RadioGroup> difficulty;
    std::unique_ptr<Slider> musicSlider, soundSlider;
    std::unique_ptr<CheckBox> fullScreenBox, autoAimBox;
    bool appliedFullScreen = false;
    std::vector<std::unique_ptr<CheckBox>> cheatBoxes; // by cheat index
    std::unique_ptr<GF_SpriteButton> mainMenuButton;
    double applyTimer = 0.0;
    int32_t returnTarget; // a ProgramStateId
};
