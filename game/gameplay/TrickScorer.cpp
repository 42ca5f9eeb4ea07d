// The trick scorer's jump watch, its scoring rules and captions, and the reports of hoops, laser shots and
// wall contacts. Point sums are held at the largest 32-bit score rather than wrapping into negatives.
#include "TrickScorer.h"

#include "AngleTools.h"
#include "BitmapFonts.h"
#include "CheatList.h"
#include "FrameClock.h"
#include "GF_Entity.h"
#include "GameWindow.h"
#include "KText.h"
#include "LevelGoals.h"
#include "TerrainCodes.h"
#include "TrickEvents.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <limits>

TrickScorer trickScorer;

namespace {

constexpr int kCaptionFont = 3;
// Storage made at level start for the captions of a jump: lines, and characters a line holds (a line is narrower
// than the screen).
constexpr size_t kCaptionLinesReserved = 8;
constexpr size_t kCaptionLineReserved = 160;
constexpr double kBigAirTime = 1.7;
constexpr double kReversalTurn = 130; // degrees within one frame
constexpr double kMaxPoints = std::numeric_limits<int32_t>::max();
constexpr int32_t kTooManyPoints = 1000000000;

int32_t clampPoints(double points) {
    return int32_t(std::clamp(std::trunc(points), 0.0, kMaxPoints));
}

bool isStuntOrShowingTricks() {
    return CurrentLevelGoals.gameMode == kGameModeStunt || isCheatOn(kCheatShowTricks);
}

} // namespace

std::string flipCaption(int turns) {
    static const char* const words[] = {"Single", "Double", "Triple", "Quadruple", "Pentuple", "Hextuple"};
    return std::string(turns >= 1 && turns <= 6 ? words[turns - 1] : "Extreme") + " Flip";
}

int32_t flipPoints(int turns) {
    double sum = 0, power = 1;
    for (int i = 0; i < turns && sum < kMaxPoints; i++, power *= 6) sum += 700 * power;
    return clampPoints(sum);
}

const char* pendingPointsText(int32_t points, PointsText& buffer) {
    if (points > kTooManyPoints) return "Too Many Points!";
    std::snprintf(buffer, sizeof buffer, "%d", int(points));
    return buffer;
}

void TrickScorer::resetTrickJump() {
    pendingPoints = 0;
    clearCaptions();
    captionClock = 0;
    referenceAngle = -10;
    turnPositive = turnNegative = rotation = 0;
    reversals = 0;
    airTime = 0;
    bigAirValue = 100;
    bigAirShown = 0;
    hoopCount = 0;
    hoopValue = 500;
    laserCount = 0;
    laserValue = 50;
    hitWall = 0;
    hoopShown = laserShown = hitWallShown = glideShown = 0;
    gliding = 0;
}

void TrickScorer::startLevel() {
    reserveCaptionStorage();
    resetTrickJump();
    bestTrick = 0;
    inAir = wasInAir = 0;
    lastAirTime = 100;
    waterTime = 100;
    glideMaxAirTime = 0.5;
    glideMaxWaterTime = 0.5;
}

void TrickScorer::add(double amount) {
    pendingPoints = hitWall ? 0 : clampPoints(double(pendingPoints) + amount);
}

void TrickScorer::bank() {
    bestTrick = std::max(bestTrick, pendingPoints);
    if (bankHandler) bankHandler(pendingPoints);
}

void TrickScorer::update(const TrickPlayerView& player, double dt) {
    wasInAir = inAir;
    inAir = player.inAir;
    const bool leftWater = inAir && !wasInAir;
    const bool enteredWater = wasInAir && !inAir;
    if (!updateGlide(dt, leftWater, enteredWater)) {
        if (leftWater) resetTrickJump();
        if (enteredWater) {
            scoreFlips();
            scoreReversals();
            scoreEntry(player);
            lastAirTime = airTime;
            bank();
            captionClock = 0;
        }
        if (inAir) {
            waterTime = 0;
            if (referenceAngle < -1) referenceAngle = player.facing;
            if (player.reversing) scoreFlips();
            if (rotation >= 180) scoreReversals();
            scoreHitWall();
            scoreBigAir(dt);
            scoreHoops();
            scoreLasers();
            const double d = angleDifference(player.facing, referenceAngle);
            turnPositive = std::max(0.0, turnPositive + d);
            turnNegative = std::max(0.0, turnNegative - d);
            rotation = std::max(rotation, std::max(turnPositive, turnNegative));
            if (std::fabs(d) >= kReversalTurn) reversals++;
        } else {
            captionClock += dt;
            waterTime += dt;
        }
    }
    referenceAngle = player.facing;
}

bool TrickScorer::updateGlide(double dt, bool leftWater, bool enteredWater) {
    if (!gliding) {
        if (!(leftWater && lastAirTime < glideMaxAirTime && waterTime < glideMaxWaterTime)) return false;
        gliding = 1;
        clearCaptions();
        // The hop before the glide was banked when it entered the water; the glide starts from nothing.
        pendingPoints = 0;
    }
    pendingPoints = hitWall ? 0 : clampPoints(double(pendingPoints) + dt * 300);
    scoreHitWall();
    if (inAir) {
        waterTime = 0;
        airTime += dt;
    } else {
        waterTime += dt;
    }
    if (leftWater) airTime = 0;
    if (enteredWater) lastAirTime = airTime;
    if (!glideShown) {
        addCaption("Glide");
        glideShown = 1;
    }
    if (inAir || (lastAirTime < glideMaxAirTime && waterTime < glideMaxWaterTime)) {
        captionClock = 0;
        return true;
    }
    gliding = 0;
    glideShown = 0;
    bank();
    captionClock = 0;
    return true;
}

void TrickScorer::scoreFlips() {
    if (rotation >= 180) {
        const double turns = std::floor((rotation - 180) / 360) + 1;
        const int n = int(std::min(turns, 1000.0));
        addCaption(flipCaption(n));
        add(flipPoints(n));
        reversals = 0;
    }
    turnPositive = turnNegative = rotation = 0;
}

void TrickScorer::scoreReversals() {
    if (reversals > 0) {
        addCaption(std::to_string(int64_t(reversals) * 180) + "^");
        add(100 * std::pow(2.0, std::min(reversals, 64)) - 100);
        turnPositive = turnNegative = 0;
    }
    reversals = 0;
}

void TrickScorer::scoreEntry(const TrickPlayerView& player) {
    const double velocityAngle = std::atan2(-player.vy, player.vx) * kDegreesPerRadian;
    const double a = std::fabs(angleDifference(velocityAngle, player.facing));
    struct Grade {
        double above;
        const char* caption;
        double multiplier;
    };
    static const Grade grades[] = {{80, "Bogus Entry", 1},   {40, "Bad Entry", 1.5},  {20, "Good Entry", 2},
                                   {10, "Great Entry", 2.5}, {5, "Awesome Entry", 3}, {-1, "Perfect Entry", 5}};
    const Grade* grade = grades;
    while (grade != std::end(grades) - 1 && !(a > grade->above)) grade++;
    const char* caption = grade->caption;
    double multiplier = grade->multiplier;
    // Lying flat: within 5 degrees of level, either way round.
    const double tilt = std::fabs(angleDifference(player.facing, 0));
    if ((tilt <= 5 || tilt >= 175) && multiplier <= 2) {
        caption = "Belly Flop";
        multiplier = 2;
    }
    pendingPoints = hitWall ? 0 : clampPoints(double(pendingPoints) * multiplier);
    addCaption(caption);
}

void TrickScorer::scoreBigAir(double dt) {
    airTime += dt;
    if (airTime < kBigAirTime) return;
    if (!bigAirShown) {
        bigAirShown = 1;
        addCaption("Big Air");
        add(std::trunc(bigAirValue * airTime));
        return;
    }
    bigAirValue += dt * 10000;
    add(std::trunc(dt * bigAirValue));
}

void TrickScorer::scoreHoops() {
    if (hoopCount < 1) return;
    if (!hoopShown) {
        hoopShown = 1;
        addCaption("Hoop");
    }
    for (int i = 0; i < hoopCount; i++) {
        add(hoopValue);
        hoopValue = clampPoints(double(hoopValue) * 2);
    }
    hoopCount = 0;
}

void TrickScorer::scoreLasers() {
    if (laserCount < 1) return;
    if (!laserShown) {
        laserShown = 1;
        addCaption("Laser Fire");
    }
    for (int i = 0; i < laserCount; i++) {
        const int32_t value = laserValue;
        laserValue = clampPoints(double(laserValue) * 1.2);
        add(value);
    }
    laserCount = 0;
}

void TrickScorer::scoreHitWall() {
    if (!hitWall) return;
    if (!hitWallShown) {
        addCaption("Hit Wall");
        hitWallShown = 1;
    }
    pendingPoints = 0;
}

void TrickScorer::reserveCaptionStorage() {
    captionLines.reserve(kCaptionLinesReserved);
    spareCaptionLines.reserve(kCaptionLinesReserved);
    clearCaptions();
    while (spareCaptionLines.size() < kCaptionLinesReserved) {
        spareCaptionLines.emplace_back();
        spareCaptionLines.back().reserve(kCaptionLineReserved);
    }
    joinedCaption.reserve(kCaptionLineReserved);
}

void TrickScorer::clearCaptions() {
    for (std::string& line : captionLines) spareCaptionLines.push_back(std::move(line));
    captionLines.clear();
}

std::string& TrickScorer::newCaptionLine() {
    if (spareCaptionLines.empty()) {
        captionLines.emplace_back();
    } else {
        captionLines.push_back(std::move(spareCaptionLines.back()));
        spareCaptionLines.pop_back();
        captionLines.back().clear();
    }
    return captionLines.back();
}

void TrickScorer::addCaption(const std::string& text) {
    if (hitWallShown) return;
    std::string& last = captionLines.empty() ? newCaptionLine() : captionLines.back();
    joinedCaption.assign(last).append(" + ").append(text);
    KText* font = getFont(kCaptionFont);
    const float width = font ? font->getStringWidth(joinedCaption.c_str(), 0, 1) : 0;
    if (width < kGameWidth - 30)
        last.assign(last.empty() ? text : joinedCaption);
    else
        newCaptionLine().assign(" + ").append(text);
}

void TrickScorer::drawCaptions() const {
    KText* font = getFont(kCaptionFont);
    if (!font) return;
    const float alpha = float(std::clamp(1 - (captionClock - 3) * 2, 0.0, 1.0));
    font->setColor(1, 1, 1, alpha);
    const int centre = kGameWidth / 2;
    const int k = int(captionLines.size());
    for (int i = 0; i < k; i++)
        font->drawStringCentered(captionLines[i].c_str(), centre, centre, kGameHeight - 20 * k - 50 + 20 * i);
    if (pendingPoints > 0) {
        PointsText text;
        font->drawStringCentered(pendingPointsText(pendingPoints, text), centre, centre, kGameHeight - 40);
    }
    font->setColor(1, 1, 1, 1);
}

void resetTrickJump() {
    trickScorer.resetTrickJump();
}

void updateTrickScorer() {
    if (!isStuntOrShowingTricks() || !playerEntity) return;
    TrickPlayerView view;
    view.inAir = playerEntity->medium == kSubstanceAir;
    view.facing = playerEntity->angle;
    view.vx = playerEntity->vx;
    view.vy = playerEntity->vy;
    view.reversing = playerEntity->reversing;
    trickScorer.update(view, frameTime);
}

void addTrickCaption(const std::string& text) {
    trickScorer.addCaption(text);
}

void drawTrickCaptions() {
    if (isStuntOrShowingTricks()) trickScorer.drawCaptions();
}

void setTrickBankHandler(TrickScorer::BankHandler handler) {
    trickScorer.bankHandler = handler;
}

void countTrickHoop() {
    trickScorer.hoopCount++;
}

void countTrickLaserShot() {
    trickScorer.laserCount++;
}

void setTrickHitWall() {
    trickScorer.hitWall = 1;
}
