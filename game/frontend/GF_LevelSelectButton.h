// A level's button on the level select: round on the Action map, square with its caption in the grids; it
// shows the level's medal, the all-Gold-Radudods mark, a pulse on the next level to play, or a lock.
#pragma once

#include "GF_SpriteButton.h"

#include <string>

class SpriteSheet;

class GF_LevelSelectButton : public GF_SpriteButton {
public:
    // The caption is the display name without its number prefix. medals may be null (no medal drawn).
    GF_LevelSelectButton(int x, int y, const std::string& displayName, SpriteAnimation* animation, bool round,
                         SpriteSheet* medals);
    // Round: closer than 20 px to the centre; square: the box less 10 px on every side. The margin is not used.
    bool containsPoint(int px, int py) override;
    bool containsPointWithMargin(int px, int py) override;
    void update(bool reset) override;
    void draw() override;

    std::string caption;
    uint8_t round = 0;
    uint8_t allGoldZuzevirs = 0;
    uint8_t nextLevel = 0;
    int32_t medal = -1; // -1 none, 0 bronze, 1 silver, 2 gold
    double captionAlpha = 0;
    double pulse = 0;
    uint8_t pulseFalling = 0;
    static constexpr double kPulseSpeed = 4.0; // per second

private:
    SpriteSheet* medals = nullptr; // not owned
};
