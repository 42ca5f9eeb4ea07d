// The comic screen: plays one of the five comic scenes, then starts the Action level it was opened for (or,
// opened for no level, returns to the studio logo). "Next comic" reveals or turns the page; "Go straight to
// game" leaves at once. The scene and the level come from the level start's request.
#pragma once

#include "ComicScene.h"
#include "GF_ProgramState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class GF_SpriteButton;
class SpriteAnimation;
class SpriteSheet;

class GF_ComicManager : public GF_ProgramState {
public:
    GF_ComicManager();
    ~GF_ComicManager() override;
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    int32_t getCurrentScene() const { return currentScene; }
    int32_t getLevelIndex() const { return levelIndex; }
    ComicScene* scene(int index) const;
    GF_SpriteButton* getGoButton() const { return goButton.get(); }
    GF_SpriteButton* getNextButton() const { return nextButton.get(); }

private:
    ComicScene* playing() const { return scene(currentScene); }

    std::vector<std::unique_ptr<ComicScene>> scenes;
    int32_t currentScene = 0;
    int32_t levelIndex = 0; // the Action level started when the scene ends; -1: none
    std::unique_ptr<SpriteSheet> buttonSheet;
    std::array<std::unique_ptr<SpriteAnimation>, 2> animations; // go, next
    std::unique_ptr<GF_SpriteButton> goButton, nextButton;
};
