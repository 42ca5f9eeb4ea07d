// The game state's pass (the world step or the open overlay), its draw order, the game modes' end tests with
// the recording of a finished level, the goal arrow, the hurt sound and the level clock.
#include "GF_GameEngine.h"

#include "Camera.h"
#include "CheatList.h"
#include "FrameClock.h"
#include "GF_CompleteMenu.h"
#include "GF_Entity.h"
#include "GF_FailedMenu.h"
#include "GF_HelpScreen.h"
#include "GF_PauseMenu.h"
#include "GameHud.h"
#include "GoldZuzevirMeter.h"
#include "InputState.h"
#include "LevelCatalogue.h"
#include "LevelEvents.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "Medals.h"
#include "MouseCursor.h"
#include "ParticlePool.h"
#include "PlayerBarReader.h"
#include "PlayerBars.h"
#include "ProgramStates.h"
#include "ProgressTable.h"
#include "SoundTable.h"
#include "SpatialGrid.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TargetLockList.h"
#include "TextTools.h"
#include "TileDefinition.h"
#include "TileMap.h"
#include "TileOcclusion.h"
#include "TrickScorer.h"
#include "WholePixels.h"

#include <cmath>

namespace {

constexpr int kGoalArrowSheet = 27;
constexpr int kHurtSound = 12;

void bankToGameEngine(int32_t points) {
    if (GF_GameEngine* game = getGameEngine()) game->bankTrickPoints(points);
}

void cameraPosition(double& x, double& y) {
    x = getCameraX();
    y = getCameraY();
}

double distanceToEndMarker(const GF_Entity& player) {
    return std::hypot(player.x - EndLevelX, player.y - EndLevelY);
}

} // namespace

GF_GameEngine* getGameEngine() {
    return dynamic_cast<GF_GameEngine*>(programStates[kStateGameEngine].get());
}

void resetGoalArrowIdleClock() {
    if (GF_GameEngine* game = getGameEngine()) game->resetIdleClock();
}

void countHoopPassed() {
    ++PassedHoops;
}

GF_GameEngine::GF_GameEngine() {
    auto pause = std::make_unique<GF_PauseMenu>();
    auto complete = std::make_unique<GF_CompleteMenu>();
    auto failed = std::make_unique<GF_FailedMenu>();
    auto help = std::make_unique<GF_HelpScreen>();
    pause->setHost(this);
    complete->setHost(this);
    failed->setHost(this);
    help->setHost(this);
    helpScreen = help.get();
    overlays[kOverlayPause] = std::move(pause);
    overlays[kOverlayComplete] = std::move(complete);
    overlays[kOverlayFailed] = std::move(failed);
    overlays[kOverlayHelp] = std::move(help);
    setTrickBankHandler(bankToGameEngine);
    setSoundCameraSource(cameraPosition);
}

GF_GameEngine::~GF_GameEngine() {
    setTrickBankHandler(nullptr);
    setPlayerBarSource(nullptr);
}

void GF_GameEngine::installOverlay(GameOverlayKind kind, std::unique_ptr<GF_ProgramState> overlay) {
    if (kind == kOverlayHelp) helpScreen = dynamic_cast<GF_HelpScreen*>(overlay.get());
    overlays[size_t(kind)] = std::move(overlay);
}

GF_ProgramState* GF_GameEngine::getOpenOverlay() const {
    return activeOverlay >= 0 ? overlays[size_t(activeOverlay)].get() : nullptr;
}

void GF_GameEngine::enter() {
    hurtSound = HurtSoundTracker{};
    clearTargetLocks();
    PlayerBars.shownHealth = 1;
    PlayerBars.shownWeapon = 1;
    setPlayerBarSource(&playerBarReader);
    idleClock = hiddenClock = 0;
    arrowShowing = 0; // the arrow fades in afresh, whatever the last level left of it
    showGoalArrow();
    resetParticles();
    trickScorer.startLevel();
    resetTrickJump();
    activeOverlay = -1;
    levelTime = 0;
    closeOverlayRequest = 0;
    bankedTrickPoints = 0;
    deathTimer = 0;
    helpPage = -1;
    readStoredRecord();
    // The grid's windows follow the camera from the first frame: a level that opens under its help page is drawn
    // with its entities around the player, not with those around where the last level's view stood.
    if (spatialGrid) spatialGrid->setGridView(getCameraX(), getCameraY());
    if (LevelStartRequest.helpPageOnEnter >= 0) {
        helpPage = LevelStartRequest.helpPageOnEnter;
        LevelStartRequest.helpPageOnEnter = -1;
        // Without a help overlay the page is skipped rather than freezing the level under nothing.
        if (helpScreen) helpScreen->setPage(helpPage);
        if (getOverlay(kOverlayHelp)) openOverlay(kOverlayHelp);
    }
}

void GF_GameEngine::leave() {
    clearTargetLocks();
    // The overlay is closed with the state, so that a later pass never updates one whose widgets are gone.
    if (GF_ProgramState* overlay = getOpenOverlay()) overlay->leave();
    activeOverlay = -1;
}

void GF_GameEngine::openOverlay(GameOverlayKind kind) {
    // An overlay replaced in the frame it opened is closed first, so it frees what its enter made.
    if (GF_ProgramState* earlier = getOpenOverlay()) earlier->leave();
    activeOverlay = kind;
    closeOverlayRequest = 0;
    if (GF_ProgramState* overlay = getOpenOverlay()) overlay->enter();
}

void GF_GameEngine::openPauseMenu() {
    openOverlay(kOverlayPause);
}

void GF_GameEngine::updateOpenOverlay() {
    GF_ProgramState* overlay = getOpenOverlay();
    if (overlay) overlay->update();
    if (!closeOverlayRequest) return;
    if (overlay) overlay->leave();
    activeOverlay = -1;
    closeOverlayRequest = 0;
}

void GF_GameEngine::update() {
    if (activeOverlay >= 0) {
        updateOpenOverlay();
        return;
    }
    if (backKeyReleased()) openOverlay(kOverlayPause);
    if (isLevelCompleted()) {
        if (!anyCheatOn()) recordResult(true);
        openOverlay(kOverlayComplete);
    }
    if (isLevelFailed()) {
        if (!anyCheatOn() && recordsFailure()) recordResult(false);
        openOverlay(kOverlayFailed);
    }
    if (activeOverlay >= 0) {
        updateOpenOverlay();
        return;
    }
    worldStep();
}

void GF_GameEngine::worldStep() {
    updateCamera();
    updateAnimatedTiles();
    if (spatialGrid) {
        spatialGrid->setGridView(getCameraX(), getCameraY());
        spatialGrid->computeGridWindows();
        spatialGrid->updateGridEntities();
        spatialGrid->terrainPassGridEntities();
        spatialGrid->maintainGrid();
        spatialGrid->flushPendingEntities();
        spatialGrid->collideGridEntities();
    }
    updateParticles();
    updateGoalArrow();
    CursorKind = kCursorCrosshair;
    updateTrickScorer();
    updateHurtSound();
    if (!isCheatOn(kCheatNoTimeLimit)) levelTime += frameTime;
}

bool GF_GameEngine::isLevelCompleted() {
    const LevelGoals& goals = CurrentLevelGoals;
    switch (goals.gameMode) {
    case kGameModeAction:
        // A dead player's body drifting onto the marker does not finish the level.
        return playerEntity && !playerEntity->dead && distanceToEndMarker(*playerEntity) < kEndMarkerReach;
    case kGameModeStunt:
        return goals.timeLimit < levelTime && bankedTrickPoints >= goals.medalScores[kMedalBronze];
    case kGameModeRace:
        // A race without hoops has no finish: it is played until the player leaves it through the pause menu.
        return RequiredHoops > 0 && PassedHoops >= RequiredHoops && levelTime <= goals.medalTimes[kMedalBronze];
    default:
        return false;
    }
}

bool GF_GameEngine::isLevelFailed() {
    const LevelGoals& goals = CurrentLevelGoals;
    switch (goals.gameMode) {
    case kGameModeAction:
        return deathTimeUp();
    case kGameModeStunt:
        return goals.timeLimit < levelTime && bankedTrickPoints < goals.medalScores[kMedalBronze];
    case kGameModeRace:
        // A dead dolphin can pass no more hoops: the race fails as an Action level does.
        if (deathTimeUp()) return true;
        return RequiredHoops > 0 && PassedHoops >= RequiredHoops && levelTime > goals.medalTimes[kMedalBronze];
    default:
        return false;
    }
}

bool GF_GameEngine::deathTimeUp() {
    if (playerEntity && playerEntity->dead) deathTimer += frameTime;
    return deathTimer >= kDeathFailTime;
}

bool GF_GameEngine::recordsFailure() const {
    // A failed Action run is not recorded, nor any run of a race without hoops: it has no time to keep.
    const int32_t mode = CurrentLevelGoals.gameMode;
    return mode != kGameModeAction && !(mode == kGameModeRace && RequiredHoops <= 0);
}

void GF_GameEngine::recordResult(bool won) {
    // A level played from outside the catalogue has no name to file its record under.
    if (currentLevelName().empty()) return;
    LevelRunResult run = getRunResult();
    run.won = won;
    // A race lost by the dolphin's death has no time to keep: the moment of the death is no best time.
    if (!won && CurrentLevelGoals.gameMode == kGameModeRace && playerEntity && playerEntity->dead)
        run.levelTime = LevelRecord{}.bestTime;
    recordLevelResult(run);
    // The HUD under the overlay shows the record as it now stands.
    readStoredRecord();
}

void GF_GameEngine::readStoredRecord() {
    // Only read, so that playing a level outside the catalogue adds no record; a level never played has the
    // default record, whose best time shows as "-".
    const LevelRecord none;
    recordBestTime = none.bestTime;
    recordBestScore = none.bestScore;
    const std::string name = currentLevelName();
    for (const LevelRecord& record : ProgressTable.list(LevelCatalogue.currentKind))
        if (record.name == name) {
            recordBestTime = record.bestTime;
            recordBestScore = record.bestScore;
        }
}

LevelRunResult GF_GameEngine::getRunResult() const {
    LevelRunResult run;
    run.levelTime = levelTime;
    run.enemiesPercent = getEnemyPercentDestroyed();
    run.goldZuzevirs = goldZuzevirMeter.count;
    run.bankedTrickPoints = bankedTrickPoints;
    run.bestTrick = trickScorer.bestTrick;
    const LevelGoals& goals = CurrentLevelGoals;
    if (goals.gameMode == kGameModeStunt)
        run.medal = medalForScore(goals, levelTime, bankedTrickPoints);
    else if (goals.gameMode == kGameModeRace)
        run.medal = medalForTime(goals, levelTime);
    return run;
}

std::string GF_GameEngine::getLevelTimeText() const {
    return formatTime(levelTime);
}

int32_t GF_GameEngine::getEnemyPercentDestroyed() const {
    const int alive = spatialGrid ? spatialGrid->countLivingEnemies() : 0;
    if (LevelEnemyTotal <= 0 || alive <= 0) return 100;
    // Enemies made during play may outnumber those placed; the share stays within 0 .. 100.
    const double destroyed = 1.0 - double(alive) / double(LevelEnemyTotal);
    return int32_t(std::lround(std::max(0.0, destroyed) * 100.0));
}

void GF_GameEngine::bankTrickPoints(int32_t points) {
    const int64_t sum = int64_t(bankedTrickPoints) + points;
    bankedTrickPoints = int32_t(std::min<int64_t>(sum, INT32_MAX));
    int sound = -1;
    if (points > 20000)
        sound = 4;
    else if (points > 5000)
        sound = 5;
    else if (points > 500)
        sound = 6;
    if (sound >= 0 && playerEntity) playSoundAt(playerEntity->x, playerEntity->y, 1.0, sound);
}

void GF_GameEngine::showGoalArrow() {
    idleClock = hiddenClock = 0;
    if (arrowShowing) {
        if (arrowClock > kGoalArrowFade) arrowClock = kGoalArrowFade;
    } else {
        arrowClock = 0;
    }
    arrowShowing = 1;
}

void GF_GameEngine::showGoldZuzevirMeter() {
    goldZuzevirMeter.showing = 1;
    goldZuzevirMeter.showClock = 0;
}

void GF_GameEngine::updateGoalArrow() {
    idleClock += frameTime;
    hiddenClock += frameTime;
    if (!playerEntity) return;
    if (hiddenClock <= kGoalArrowHiddenLimit && idleClock <= kGoalArrowIdleLimit &&
        distanceToEndMarker(*playerEntity) >= kGoalArrowNearDistance)
        return;
    showGoalArrow();
}

void GF_GameEngine::drawGoalArrow() {
    if (CurrentLevelGoals.gameMode != kGameModeAction || !arrowShowing || !playerEntity) return;
    hiddenClock = 0;
    arrowClock += frameTime;
    double alpha = 1;
    if (arrowClock < kGoalArrowFade) {
        alpha = arrowClock * 4;
    } else if (arrowClock > kGoalArrowShowTime) {
        arrowShowing = 0;
        return;
    } else if (arrowClock > kGoalArrowShowTime - kGoalArrowFade) {
        alpha = 1 - (arrowClock - (kGoalArrowShowTime - kGoalArrowFade)) * 4;
    }
    const GF_Entity& p = *playerEntity;
    const double angle = std::atan2(p.y - EndLevelY, EndLevelX - p.x) * kDegreesPerRadian;
    const double distance = p.radius + 32;
    const double radians = angle / kDegreesPerRadian;
    const double centreX = p.x + std::cos(radians) * distance - getCameraX();
    const double centreY = p.y - std::sin(radians) * distance - getCameraY();
    if (SpriteSheet* sheet = getSpriteSheet(kGoalArrowSheet))
        sheet->drawFrameTransformed(0, wholePixels(centreX - 32), wholePixels(centreY - 32), angle, 1.0, alpha, false,
                                    false);
}

bool HurtSoundTracker::step(double dt, double health) {
    timeSinceSound += dt;
    const double loss = previousHealth - health;
    previousHealth = health;
    if (loss <= 0) {
        accumulatedLoss = 0;
        return false;
    }
    accumulatedLoss += loss;
    if (accumulatedLoss < kLossThreshold || timeSinceSound < kInterval) return false;
    accumulatedLoss = 0;
    timeSinceSound = 0;
    return true;
}

void GF_GameEngine::updateHurtSound() {
    if (!playerEntity) {
        hurtSound.timeSinceSound += frameTime;
        return;
    }
    if (hurtSound.step(frameTime, playerEntity->health)) playSoundAt(playerEntity->x, playerEntity->y, 1.0, kHurtSound);
}

void GF_GameEngine::draw() {
    const double x = getCameraX(), y = getCameraY();
    // Tiles hidden under the tiles drawn over them in this frame are left out.
    const TileOcclusion* occlusion = planTileOcclusion(x, y);
    fillUncoveredBlack(occlusion);
    auto drawLayers = [&](int first, int last) {
        for (int id = first; id <= last; ++id)
            if (const TileLayer* layer = getTileLayer(id))
                layer->draw(x, y, occlusion ? &occlusion->hiddenTiles(id) : nullptr);
    };
    drawLayers(kLayerBackWater, kLayerFront2);
    if (spatialGrid) spatialGrid->drawGridEntitiesBehind(x, y);
    drawParticles();
    drawLayers(kLayerFront3, kLayerFront4);
    if (spatialGrid) spatialGrid->drawGridEntitiesInFront(x, y);
    drawTargetLocks(x, y);
    drawPlayerBars();
    drawGoldZuzevirMeter();
    HudFigures figures;
    figures.levelTime = levelTime;
    figures.bankedScore = bankedTrickPoints;
    figures.bestTime = recordBestTime;
    figures.bestScore = recordBestScore;
    drawHud(CurrentLevelGoals, figures);
    drawGoalArrow();
    drawTrickCaptions();
    drawCheatsNotice();
    if (GF_ProgramState* overlay = getOpenOverlay()) overlay->draw();
}
