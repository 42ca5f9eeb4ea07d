// The level select's layout (map spots, grids, locks and marks), its pass, and its drawing with the
// statistics panel.
#include "GF_LevelSelect.h"

#include "BitmapFonts.h"
#include "DrawTools.h"
#include "FrameClock.h"
#include "GF_LevelSelectButton.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KGraphic.h"
#include "KText.h"
#include "LevelCatalogue.h"
#include "LevelStart.h"
#include "Medals.h"
#include "MenuPieces.h"
#include "ProgramStates.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetLayouts.h"
#include "TextTools.h"
#include "TiledPicture.h"

#include <algorithm>
#include <cfloat>

namespace {

struct Spot {
    int x, y;
};
constexpr int kMapSpotCount = 50;
// Where the Action levels sit on the map, by list index.
constexpr Spot kMapSpots[kMapSpotCount] = {
    {85, 232},  {28, 252},  {19, 163},  {70, 131},  {128, 140}, {186, 146}, {243, 135}, {290, 168}, {277, 216},
    {247, 255}, {199, 281}, {157, 288}, {109, 292}, {70, 306},  {60, 355},  {100, 378}, {148, 387}, {207, 377},
    {250, 354}, {285, 326}, {336, 332}, {367, 360}, {414, 342}, {403, 285}, {467, 304}, {447, 376}, {375, 415},
    {394, 468}, {475, 425}, {495, 353}, {457, 222}, {446, 147}, {494, 175}, {513, 247}, {556, 214}, {530, 146},
    {515, 82},  {576, 93},  {613, 148}, {618, 207}, {568, 340}, {585, 407}, {628, 370}, {629, 310}, {673, 286},
    {703, 325}, {680, 373}, {644, 414}, {668, 468}, {724, 448},
};
constexpr Spot kPastTheMap = {500, 500}; // Action levels from index 50 on
constexpr int kMinGridButtons = 10;      // Stunt and Race grids are filled up to this with "No Level"
constexpr int kAllGoldZuzevirs = 5;
constexpr const char* kNoLevel = "No Level";

// The statistics panel's text places.
constexpr int kPanelTop = 505, kPanelStep = 20, kLabelX = 20, kValueX = 150;

const char* kindTitle(int32_t kind) {
    static const char* const titles[] = {"Action", "Stunt", "Race", "Custom"};
    return kind >= 0 && kind < kLevelListKinds ? titles[kind] : "";
}

std::string difficultyName(int32_t difficulty) {
    static const char* const names[] = {"Very Easy", "Easy", "Medium", "HARD", "Extreme"};
    return difficulty >= 0 && difficulty <= 4 ? names[difficulty] : "-";
}

std::string medalOrDash(int32_t medal) {
    return medal >= kMedalBronze && medal <= kMedalGold ? medalName(medal) : "-";
}

std::string groupedOrDash(int32_t value) {
    return value >= 1 ? intToGroupedString(value) : "-";
}

// Whether a custom level's record holds anything worth showing.
bool hasStats(const LevelRecord& record) {
    return record.completed || record.bestScore >= 1 || record.bestTime < DBL_MAX;
}

} // namespace

GF_LevelSelect::GF_LevelSelect() = default;
// A screen destroyed while open frees what its enter loaded.
GF_LevelSelect::~GF_LevelSelect() {
    leave();
}

void GF_LevelSelect::enter() {
    leave();
    headingSheet = std::make_unique<SpriteSheet>(kSelectLevelHeadingSheet.file, /*blend=*/1, /*filter=*/1);
    headingSheet->addLayoutFrames(kSelectLevelHeadingSheet);
    const SheetLayout& buttons = listKind == kListAction ? kMapButtonSheet : kLevelButtonsSheet;
    buttonSheet = std::make_unique<SpriteSheet>(buttons.file, 1, 1);
    buttonSheet->addLayoutFrames(buttons);
    if (listKind == kListAction) {
        map = std::make_unique<TiledPicture>();
        map->load("map");
    }
    medalSheet = std::make_unique<SpriteSheet>(kMedalsSheet.file, 1, 1);
    medalSheet->addLayoutFrames(kMedalsSheet);
    buildMenuButtons();
    menuButtons2 = std::make_unique<SpriteSheet>(kLevelSelectButtonsSheet.file, 1, 1);
    menuButtons2->addLayoutFrames(kLevelSelectButtonsSheet);
    layoutLevelButtons();
}

void GF_LevelSelect::leave() {
    if (!headingSheet) return; // not open
    clearLevelButtons();
    levelButtonLooks.reset();
    selectGameLooks.reset();
    headingSheet.reset();
    buttonSheet.reset();
    medalSheet.reset();
    menuButtons2.reset();
    map.reset();
    freeMenuButtons();
    panelTexts.clear();
    panelIndex = -1;
}

void GF_LevelSelect::clearLevelButtons() {
    levelButtons.clear();
    selectGameButton.reset();
    mainMenuButton.reset();
}

GF_LevelSelectButton* GF_LevelSelect::getLevelButton(int n) const {
    return n >= 0 && size_t(n) < levelButtons.size() ? levelButtons[size_t(n)].get() : nullptr;
}

void GF_LevelSelect::layoutLevelButtons() {
    clearLevelButtons();
    levelButtonLooks = std::make_unique<SpriteAnimation>();
    for (int frame = 0; frame < 4; frame++) {
        levelButtonLooks->addFrame(buttonSheet.get(), frame);
        levelButtonLooks->addSequence(1.0)->addStep(frame, false, false, 1.0);
    }
    const bool action = listKind == kListAction;
    const bool custom = listKind == kListCustom;
    static const std::vector<LevelEntry> noEntries;
    const bool knownKind = listKind >= 0 && listKind < kLevelListKinds;
    const std::vector<LevelEntry>& entries = knownKind ? LevelCatalogue.list(listKind) : noEntries;

    // The grid cursor of the Stunt, Race and custom lists.
    const int startX = custom ? 30 : 90;
    Spot cursor = custom ? Spot{30, 100} : Spot{90, 200};
    auto nextGridSpot = [&] {
        const Spot here = cursor;
        if (cursor.x > kGameWidth - (custom ? 80 : 230)) {
            cursor.x = startX;
            cursor.y += custom ? 50 : 120;
        } else {
            cursor.x += custom ? 50 : 140;
        }
        return here;
    };
    auto addButton = [&](int index, const std::string& name) {
        const Spot at = !action ? nextGridSpot() : index < kMapSpotCount ? kMapSpots[index] : kPastTheMap;
        levelButtons.push_back(
            std::make_unique<GF_LevelSelectButton>(at.x, at.y, name, levelButtonLooks.get(), action, medalSheet.get()));
        return levelButtons.back().get();
    };

    bool uncompletedSeen = false;
    for (size_t i = 0; i < entries.size(); i++) {
        const std::string name = levelDisplayName(entries[i].fileName);
        GF_LevelSelectButton* button = addButton(int(i), name);
        const LevelRecord record = findOrAddLevelRecord(listKind, name);
        button->allGoldZuzevirs = record.goldZuzevirs >= kAllGoldZuzevirs;
        button->medal = record.medal;
        if (custom || record.completed) continue;
        if (!uncompletedSeen) {
            uncompletedSeen = true;
            button->nextLevel = 1;
        } else {
            button->disabled = 1;
        }
    }
    const int filledTo = action ? kMapSpotCount : custom ? 0 : kMinGridButtons;
    for (int i = int(entries.size()); i < filledTo; i++) addButton(i, kNoLevel)->disabled = 1;

    selectGameLooks = makeButtonAnimation(menuButtons2.get(), /*firstFrame=*/4);
    selectGameButton =
        std::make_unique<GF_SpriteButton>(kGameWidth - 82, 510, selectGameLooks.get(), 0, false, false, kButtonImage);
    selectGameButton->setHint("Go to the Select Game screen");
    mainMenuButton = std::make_unique<GF_SpriteButton>(kGameWidth - 147, 550, menuButtonAnimation(kMenuButtonMainMenu),
                                                       0, false, false, kButtonImage);
    mainMenuButton->setHint("Go to the Main Menu");
    for (GF_SpriteButton* button : {selectGameButton.get(), mainMenuButton.get()}) button->hitHeight = 26;
    selectGameButton->y = 518;
    mainMenuButton->y = 552;
    panelAlpha = 0;
}

void GF_LevelSelect::update() {
    for (auto& button : levelButtons) button->update(false);
    for (size_t i = 0; i < levelButtons.size(); i++) {
        if (!levelButtons[i]->clicked) continue;
        const int32_t index = int32_t(i);
        switch (listKind) {
        case kListAction:
            startActionLevel(index, /*withComic=*/true);
            break;
        case kListStunt:
            startStuntLevel(index);
            break;
        case kListRace:
            startRaceLevel(index);
            break;
        default:
            startCustomLevel(index);
            break;
        }
        break;
    }
    if (selectGameButton) selectGameButton->update(false);
    if (mainMenuButton) mainMenuButton->update(false);
    if ((selectGameButton && selectGameButton->clicked) || backKeyReleased())
        requestProgramState(kStateGameSelect, kLeaveAndEnter);
    else if (mainMenuButton && mainMenuButton->clicked)
        requestProgramState(kStateMainMenu, kLeaveAndEnter);
}

void GF_LevelSelect::readPanelRecord(int index) {
    panelIndex = index;
    const std::vector<LevelEntry>& entries = LevelCatalogue.list(listKind);
    const std::string name = levelDisplayName(entries[size_t(index)].fileName);
    panelRecord = findOrAddLevelRecord(listKind, name);
    if (listKind == kListCustom)
        statsMode = hasStats(panelRecord) ? panelRecord.gameMode : -1;
    else
        statsMode = listKind;

    panelTexts.clear();
    auto line = [&](const std::string& label, const std::string& value, int labelX, int valueX, int y) {
        panelTexts.push_back({label, labelX, y, false});
        panelTexts.push_back({value, valueX, y, false});
    };
    const LevelRecord& r = panelRecord;
    const bool done = r.completed;
    switch (statsMode) {
    case 0: {
        std::string shown = stripLevelNumber(r.name);
        if (shown == "Minesweeper") shown = "Sweeping Mines";
        panelTexts.push_back({"\"" + shown + "\" Level Stats", 30, 520, true});
        line("Best Time: ", formatTime(r.bestTime), 20, 89, 539);
        line("Highest Difficulty: ", done ? difficultyName(r.highestDifficulty) : "-", 20, 134, 561);
        line("Enemies Destroyed: ", done ? intToString(r.enemiesPercent) + "%" : "-", 215, 339, 539);
        line("Ruri Veruders: ", done ? intToString(r.goldZuzevirs) + " out of 5" : "-", 215, 302, 561);
        break;
    }
    case 1:
        line("Best Score: ", groupedOrDash(r.bestScore), kLabelX, kValueX, kPanelTop + kPanelStep);
        line("Best Trick: ", groupedOrDash(r.bestTrick), kLabelX, kValueX, kPanelTop + 2 * kPanelStep);
        line("Medal Awarded: ", medalOrDash(r.medal), kLabelX, kValueX, kPanelTop + 3 * kPanelStep);
        break;
    case 2:
        line("Best Time: ", formatTime(r.bestTime), kLabelX, kValueX, kPanelTop + 2 * kPanelStep);
        line("Medal Awarded: ", medalOrDash(r.medal), kLabelX, kValueX, kPanelTop + 3 * kPanelStep);
        break;
    default:
        panelTexts.push_back({"No Stats Available", kLabelX, kPanelTop + 3 * kPanelStep, false});
        break;
    }
}

void GF_LevelSelect::draw() {
    if (map) {
        map->draw();
        drawMenuBackdrop(89, /*withFill=*/false);
    } else {
        drawMenuBackdrop(89, /*withFill=*/true);
    }
    int hoveredIndex = -1;
    for (size_t i = 0; i < levelButtons.size(); i++) {
        levelButtons[i]->draw();
        if (levelButtons[i]->hovered && LevelCatalogue.contains(listKind, int32_t(i))) hoveredIndex = int(i);
    }
    if (selectGameButton) selectGameButton->draw();
    const int headingX = (kGameWidth - 512) / 2;
    if (KText* titleFont = getFont(2)) titleFont->drawString(kindTitle(listKind), headingX + 294, 11);
    if (headingSheet) {
        headingSheet->drawFrame(0, headingX, -15, false, false);
        headingSheet->drawFrame(1, headingX + 256, -15, false, false);
    }
    panelAlpha = std::clamp(panelAlpha + (hoveredIndex >= 0 ? 2.0 : -2.0) * frameTime, 0.0, 1.0);
    if (mainMenuButton) mainMenuButton->draw();
    if (hoveredIndex >= 0 && hoveredIndex != panelIndex) readPanelRecord(hoveredIndex);
    drawPanel();
}

void GF_LevelSelect::drawPanel() {
    if (panelTexts.empty() || panelAlpha <= 0) return;
    const float alpha = float(panelAlpha);
    if (statsMode == 0 && sharedGraphic) {
        sharedGraphic->fillRect(15, 536, 375, 581, 0.0627f, 0.098f, 0.133f, alpha);
        drawRectOutline(15, 536, 375, 581, 1, 1, 1, alpha);
    }
    KText* font = getFont(1);
    if (!font) return;
    font->setColor(1, 1, 1, alpha);
    for (const PanelText& t : panelTexts) {
        if (t.centred)
            font->drawStringCentered(t.text.c_str(), 30, 370, t.y);
        else
            font->drawString(t.text.c_str(), t.x, t.y);
    }
    font->setColor(1, 1, 1, 1);
}
