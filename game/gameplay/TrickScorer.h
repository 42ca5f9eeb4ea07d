// The trick scorer: watches the player's jumps out of the water and turns flips, sudden reversals, air time,
// hoops, laser shots, glides and the water entry into points, with a caption for each trick. The game state
// steps it and draws its captions; entities report hoops, shots and wall contacts through TrickEvents.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the scorer reads of the player each frame.
struct TrickPlayerView {
    bool inAir = false;     // the player's medium is air
    double facing = 0;      // degrees
    double vx = 0, vy = 0;  // velocity; its direction is compared with the facing at the entry
    bool reversing = false; // the reverse sequence is playing
};

class TrickScorer {
public:
    // Hands banked points to the game state (its Stunt score and the sound by size).
    using BankHandler = void (*)(int32_t points);

    // The reset at the start of every jump.
    void resetTrickJump();
    // The reset at level start: the jump's reset and the fields that live for the whole level.
    void startLevel();
    void update(const TrickPlayerView& player, double dt);
    void addCaption(const std::string& text);
    // The captions and the pending points in bitmap font 3.
    void drawCaptions() const;

    int32_t pendingPoints = 0;
    int32_t bestTrick = 0;
    std::vector<std::string> captionLines;
    double captionClock = 0;
    uint8_t inAir = 0, wasInAir = 0;
    double referenceAngle = -10; // below -1: unset
    double turnPositive = 0, turnNegative = 0;
    double rotation = 0;
    int32_t reversals = 0;
    double airTime = 0;
    double lastAirTime = 100;
    double waterTime = 100;
    double bigAirValue = 100;
    uint8_t bigAirShown = 0;
    int32_t hoopCount = 0, hoopValue = 500;
    int32_t laserCount = 0, laserValue = 50;
    uint8_t hitWall = 0;
    uint8_t hoopShown = 0, laserShown = 0, hitWallShown = 0, glideShown = 0;
    uint8_t gliding = 0;
    double glideMaxAirTime = 0.5, glideMaxWaterTime = 0.5;
    BankHandler bankHandler = nullptr;

private:
    // The caption lines' storage is kept from jump to jump: a cleared line waits among the spare ones, and the
    // joined text is built in a buffer of its own, so that captions cost the heap nothing during play.
    void reserveCaptionStorage();
    void clearCaptions();
    std::string& newCaptionLine();
    std::vector<std::string> spareCaptionLines;
    std::string joinedCaption;

    void add(double amount);
    void bank();
    bool updateGlide(double dt, bool leftWater, bool enteredWater);
    void scoreFlips();
    void scoreReversals();
    void scoreEntry(const TrickPlayerView& player);
    void scoreBigAir(double dt);
    void scoreHoops();
    void scoreLasers();
    void scoreHitWall();
};

// The one scorer of the game.
extern TrickScorer trickScorer;

// The flip caption for n whole turns: "Single Flip" .. "Hextuple Flip", "Extreme Flip" above six.
std::string flipCaption(int turns);
// The points of n whole turns: 700 x (1 + 6 + ... + 6^(n-1)), held at the largest score.
int32_t flipPoints(int turns);

// The figure under the captions: the points (written into the buffer), or "Too Many Points!" above 1000000000.
using PointsText = char[16];
const char* pendingPointsText(int32_t points, PointsText& buffer);

// The game state's calls: they act only in a Stunt level or while "Show Tricks" is on.
void resetTrickJump();
void updateTrickScorer(); // reads the player entity and the frame time
void addTrickCaption(const std::string& text);
void drawTrickCaptions();
void setTrickBankHandler(TrickScorer::BankHandler handler);
