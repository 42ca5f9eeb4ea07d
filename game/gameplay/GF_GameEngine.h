// The game state: plays the level held by the level model. Each pass it either runs one world step or, while
// one of its four overlays (pause, complete, failed, help) is open, only that overlay over the frozen world.
#pragma once

#include "GF_ProgramState.h"
#include "OverlayHost.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class GF_HelpScreen;

enum GameOverlayKind : int32_t {
    kOverlayPause = 0,
    kOverlayComplete = 1,
    kOverlayFailed = 2,
    kOverlayHelp = 3,
};
constexpr int kGameOverlayCount = 4;

// Seconds a dead player lies before an Action or Race level fails; the end marker's reach; the goal arrow.
constexpr double kDeathFailTime = 3.0;
constexpr double kEndMarkerReach = 150.0;
constexpr double kGoalArrowHiddenLimit = 60.0, kGoalArrowIdleLimit = 10.0, kGoalArrowNearDistance = 800.0;
constexpr double kGoalArrowFade = 0.25, kGoalArrowShowTime = 4.0;

// The player's hurt sound: losses of health add up, and once they reach 5 with half a second passed since the
// last one the sound plays; a frame without loss starts the sum again.
struct HurtSoundTracker {
    static constexpr double kLossThreshold = 5.0, kInterval = 0.5;
    // One frame with the player's health now; true when the sound plays in it.
    bool step(double dt, double health);

    double previousHealth = 0, timeSinceSound = 0, accumulatedLoss = 0;
};

class GF_GameEngine : public GF_ProgramState, public OverlayHost {
public:
    // Makes the four overlays, each with this state as its host.
    GF_GameEngine();
    ~GF_GameEngine() override;
    GF_GameEngine(const GF_GameEngine&) = delete;
    GF_GameEngine& operator=(const GF_GameEngine&) = delete;

    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    // Puts another overlay object in a kind's place (owned from now on); the one there must not be open.
    void installOverlay(GameOverlayKind kind, std::unique_ptr<GF_ProgramState> overlay);
    GF_ProgramState* getOverlay(GameOverlayKind kind) const { return overlays[size_t(kind)].get(); }
    // The open overlay's kind, or -1 while playing; its object (null while playing or with none installed).
    int32_t getOpenOverlayKind() const { return activeOverlay; }
    GF_ProgramState* getOpenOverlay() const;
    // Opens the pause overlay now (the window lost the focus during play); its update runs at the next pass.
    void openPauseMenu();
    // An overlay asks to be closed: at the end of its update the game state leaves it and play resumes.
    void requestCloseOverlay() override { closeOverlayRequest = 1; }
    // What the run has achieved so far, as it is recorded and as the complete and failed menus show it.
    LevelRunResult getRunResult() const override;

    // The help page the help overlay shows (set when a level opens with one), -1 for none.
    int32_t getHelpPage() const { return helpPage; }
    double getLevelTime() const { return levelTime; }
    void setLevelTime(double seconds) { levelTime = seconds; }
    // "mm:ss:mmm".
    std::string getLevelTimeText() const override;
    // The share of the level's counted enemies no longer in the grid, 0 .. 100, rounded.
    int32_t getEnemyPercentDestroyed() const;
    int32_t getBankedTrickPoints() const { return bankedTrickPoints; }
    double getDeathTimer() const { return deathTimer; }
    // The running level's stored best time and score, as the HUD shows them.
    double getStoredBestTime() const { return recordBestTime; }
    int32_t getStoredBestScore() const { return recordBestScore; }
    // Adds banked trick points to the Stunt score, with a sound by their size (the trick scorer's bank).
    void bankTrickPoints(int32_t points);

    // The goal arrow's show step: both clocks to 0 and the arrow shown (held fully visible when it already
    // is). The pause overlay calls it on every pass, as play does when the player idles or wanders.
    void showGoalArrow() override;
    // The Gold Radudod meter slid into view with its clock restarted (the pause overlay, every pass).
    void showGoldZuzevirMeter() override;
    bool isGoalArrowShowing() const { return arrowShowing != 0; }
    double getGoalArrowClock() const { return arrowClock; }
    // Seconds since the player last fired (every player shot sets it to 0).
    void resetIdleClock() { idleClock = 0; }

private:
    void worldStep();
    void openOverlay(GameOverlayKind kind);
    void updateOpenOverlay();
    bool isLevelCompleted();
    bool isLevelFailed();
    // Counts this frame when the player is dead; true once it has been dead for kDeathFailTime of world steps.
    bool deathTimeUp();
    bool recordsFailure() const;
    void recordResult(bool won);
    void readStoredRecord();
    void updateGoalArrow();
    void drawGoalArrow();
    void updateHurtSound();

    std::array<std::unique_ptr<GF_ProgramState>, kGameOverlayCount> overlays;
    GF_HelpScreen* helpScreen = nullptr; // the help overlay, when it is one, to be given its page
    int32_t activeOverlay = -1;
    uint8_t closeOverlayRequest = 0;
    int32_t helpPage = -1;
    double levelTime = 0;
    int32_t bankedTrickPoints = 0;
    double deathTimer = 0;
    // The running level's stored record, for the HUD's best figures.
    double recordBestTime = 0;
    int32_t recordBestScore = 0;

    uint8_t arrowShowing = 0;
    double arrowClock = 0, hiddenClock = 0, idleClock = 0;

    HurtSoundTracker hurtSound;
};

// The one game state of the program (the state table's), or null before it is made.
GF_GameEngine* getGameEngine();
