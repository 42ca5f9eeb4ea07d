// The level select: the levels of one list as buttons (the Action levels on a painted map, the Stunt and Race
// levels and the player's own in grids), each marked with its progress (medal, all Gold Radudods, the next
// level to play, locked), with the statistics of the level under the pointer at the bottom left. A level
// button starts its level; the game select sets the list kind shown before it opens this screen.
#pragma once

#include "GF_ProgramState.h"
#include "ProgressTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GF_LevelSelectButton;
class GF_SpriteButton;
class SpriteAnimation;
class SpriteSheet;
class TiledPicture;

class GF_LevelSelect : public GF_ProgramState {
public:
    GF_LevelSelect();
    ~GF_LevelSelect() override;
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    void setListKind(int32_t kind) { listKind = kind; }
    int32_t getListKind() const { return listKind; }

    // Builds the level buttons and the two menu buttons from the shown list and the progress table.
    void layoutLevelButtons();
    void clearLevelButtons();

    int getLevelButtonCount() const { return int(levelButtons.size()); }
    GF_LevelSelectButton* getLevelButton(int n) const;
    GF_SpriteButton* getSelectGameButton() const { return selectGameButton.get(); }
    GF_SpriteButton* getMainMenuButton() const { return mainMenuButton.get(); }

    // The statistics panel: its mode (0 Action, 1 Stunt, 2 Race, -1 "No Stats Available"), the record shown,
    // its fade, and the texts it draws (each at its own point).
    struct PanelText {
        std::string text;
        int x = 0, y = 0;
        bool centred = false; // between x 30 and 370
    };
    int32_t getStatsMode() const { return statsMode; }
    const LevelRecord& getPanelRecord() const { return panelRecord; }
    double getPanelAlpha() const { return panelAlpha; }
    const std::vector<PanelText>& getPanelTexts() const { return panelTexts; }

private:
    void readPanelRecord(int index);
    void drawPanel();

    int32_t listKind = 0; // a LevelListKind
    std::vector<std::unique_ptr<GF_LevelSelectButton>> levelButtons;
    std::unique_ptr<GF_SpriteButton> selectGameButton, mainMenuButton;
    std::unique_ptr<SpriteSheet> headingSheet, buttonSheet, medalSheet, menuButtons2;
    std::unique_ptr<TiledPicture> map;
    std::unique_ptr<SpriteAnimation> levelButtonLooks, selectGameLooks;
    LevelRecord panelRecord;
    int32_t statsMode = -1;
    int32_t panelIndex = -1; // the level whose record the panel holds
    double panelAlpha = 0;
    std::vector<PanelText> panelTexts;
};
