// The comic screen.
#include "GF_ComicManager.h"

#include "FrameClock.h"
#include "GF_SpriteButton.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "LevelStart.h"
#include "MenuPieces.h"
#include "ProgramStates.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetLayouts.h"

GF_ComicManager::GF_ComicManager() : scenes(buildComicScenes()) {}
GF_ComicManager::~GF_ComicManager() = default;

ComicScene* GF_ComicManager::scene(int index) const {
    return index >= 0 && index < int(scenes.size()) ? scenes[size_t(index)].get() : nullptr;
}

void GF_ComicManager::enter() {
    currentScene = LevelStartRequest.comicScene;
    levelIndex = LevelStartRequest.comicLevelIndex;
    buttonSheet = std::make_unique<SpriteSheet>(kSceneButtonsSheet.file, /*blend=*/1, /*filter=*/1);
    buttonSheet->addLayoutFrames(kSceneButtonsSheet);
    animations[0] = makeButtonAnimation(buttonSheet.get(), 0);
    animations[1] = makeButtonAnimation(buttonSheet.get(), 2);
    goButton = std::make_unique<GF_SpriteButton>(kGameWidth - 200, kGameHeight - 50, animations[0].get(), 0, false,
                                                 false, kButtonImage);
    goButton->setHint("Go straight to game");
    nextButton = std::make_unique<GF_SpriteButton>(kGameWidth - 100, kGameHeight - 50, animations[1].get(), 0, false,
                                                   false, kButtonImage);
    nextButton->setHint("Next comic");
    if (ComicScene* shown = playing()) shown->start();
}

void GF_ComicManager::leave() {
    if (ComicScene* shown = playing())
        if (ComicPage* page = shown->page()) page->leave();
    nextButton.reset();
    goButton.reset();
    for (auto& animation : animations) animation.reset();
    buttonSheet.reset();
}

void GF_ComicManager::update() {
    ComicScene* shown = playing();
    if (shown) shown->update(frameTime);
    goButton->update(false);
    nextButton->update(false);
    if (nextButton->clicked && shown) shown->next();
    // A scene number outside the five plays nothing and goes straight on.
    if (goButton->clicked || !shown || shown->finished) {
        if (levelIndex < 0)
            requestProgramState(kStateLogoIntro, kLeaveAndEnter);
        else
            startActionLevel(levelIndex, /*withComic=*/false);
    }
}

void GF_ComicManager::draw() {
    if (ComicScene* shown = playing())
        shown->draw();
    else if (sharedGraphic)
        sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), 1, 1, 1, 1);
    goButton->draw();
    nextButton->draw();
}
