// The scripted player: the route's commands, the steering by the direction keys, the aiming and firing.
#include "ScriptedPlayer.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "Camera.h"
#include "GF_AIZuzevirManual.h"
#include "GF_Entity.h"
#include "GF_GameEngine.h"
#include "GameWindow.h"
#include "GoldZuzevirMeter.h"
#include "InputState.h"
#include "LevelFile.h"
#include "LineOfSight.h"
#include "SpatialGrid.h"
#include "TrickScorer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

constexpr double kReach = 40;        // pixels: a point of the route counts as reached within this
constexpr double kDeadZone = 16;     // pixels: no key along an axis when the goal is this close on it
constexpr double kSteerLead = 0.3;   // seconds of the player's motion counted in when steering (it brakes early)
constexpr double kGoTimeout = 45;    // seconds a go, a leap or a wait may take beyond its own time
constexpr double kClearTimeout = 90; // seconds a clear may take
constexpr double kAirTimeout = 10;   // seconds a flip or a dive may take
// A player that has come no closer than kBlockedMove to its goal in kBlockedTime while still kBlockedReach from
// it is held by terrain in the way: the route needs a point around it.
constexpr double kBlockedTime = 4, kBlockedMove = 32, kBlockedReach = 128;
constexpr double kLeapStartSpeed = 200; // pixels a second: slow enough at the start of a leap's rise
constexpr double kLeapStartFacing = 20; // degrees from straight up the dolphin faces when it starts to rise
constexpr double kLeapTurnReach = 192;  // pixels from the start of the rise at which it turns to face up
constexpr int kLeapDepth = 6;           // cells below the surface a leap starts its rise from, where the water is deep
constexpr double kChargeHold = 0.55;    // seconds the button is held for a charged shot (0.5 at least)
constexpr double kClickInterval = 0.125;
constexpr double kClickHold = 3 / 64.0;
constexpr double kToughHealth = 40;  // enemies with more health get charged shots
constexpr double kAimTolerance = 18; // degrees off the facing a shot may leave (free aim turns it 20 at most)
constexpr double kLaserSpeed = 1000, kChargedSpeed = 700, kTorpedoSpeed = 500;
constexpr double kNearSide = 24;     // pixels from an enemy's centre toward the player that must be in sight
constexpr double kScreenMargin = 16; // pixels: an enemy is seen when it lies this far inside the screen
constexpr double kSpinCoast = 0.1;   // seconds of the dolphin's spin that carry on after the flip ends
constexpr double kFlipMargin = 175;  // degrees short of whole turns at which a flip counts them all (180)
constexpr double kTurnReach = 100, kTurnReachLeast = 12; // pixels from the player the mouse leads a turn
constexpr int kVkSpace = 0x20;

bool heldKeys[256];

void holdKey(int key, bool down) {
    heldKeys[key & 0xFF] = down;
}

double cellOf(double pixels) {
    return pixels / kTileSize - 0.5;
}

std::string cellText(double x, double y) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f %.1f", cellOf(x), cellOf(y));
    return text;
}

// Every living entity that counts as an enemy, wherever it is.
template <typename Visit> void forEachEnemy(Visit visit) {
    if (!spatialGrid) return;
    for (int32_t row = 0; row < spatialGrid->rows(); ++row)
        for (int32_t col = 0; col < spatialGrid->cols(); ++col)
            for (GF_Entity* e : spatialGrid->cell(col, row))
                if (e->countsAsEnemy && !e->removed) visit(e);
}

} // namespace

bool scriptedKeyDown(int virtualKey) {
    return virtualKey > 0 && virtualKey < 256 && heldKeys[virtualKey];
}

ScriptedPlayer::ScriptedPlayer(const LevelText& level, bool fights) : level(level), fights(fights) {
    std::fill(std::begin(heldKeys), std::end(heldKeys), false);
}

ScriptedPlayer::~ScriptedPlayer() {
    std::fill(std::begin(heldKeys), std::end(heldKeys), false);
}

std::string ScriptedPlayer::commandText() const {
    if (command >= level.route.size()) return level.kind == LevelTextKind::Action ? "(to the end marker)" : "(done)";
    const RouteCommand& c = level.route[command];
    return "'" + c.text + "' (line " + std::to_string(c.line) + ")";
}

std::string ScriptedPlayer::enemiesLeft(size_t max) const {
    std::vector<std::string> found;
    forEachEnemy([&](GF_Entity* e) { found.push_back(kindWordOf(e->type) + " at " + cellText(e->x, e->y)); });
    std::string text = std::to_string(found.size());
    for (size_t i = 0; i < found.size() && i < max; ++i) text += (i ? ", " : ": ") + found[i];
    if (found.size() > max) text += ", ...";
    return text;
}

std::string ScriptedPlayer::status(double levelTime) const {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(1);
    out << levelTime << " s";
    if (const GF_Entity* p = playerEntity)
        out << ", cell " << cellText(p->x, p->y) << ", health " << std::max(0.0, p->health) << "/" << p->maxHealth;
    out << ", on " << commandText() << " for " << commandTime << " s";
    if (level.kind == LevelTextKind::Race) {
        out << ", hoops " << PassedHoops << "/" << RequiredHoops;
    } else if (level.kind == LevelTextKind::Stunt) {
        out << ", score " << (getGameEngine() ? getGameEngine()->getBankedTrickPoints() : 0) << ", tricks: ";
        for (const std::string& line : trickScorer.captionLines) out << line;
    } else {
        out << ", enemies left " << enemiesLeft(3) << ", Gold Radudods " << goldZuzevirMeter.count << "/5";
    }
    return out.str();
}

void ScriptedPlayer::nextCommand() {
    ++command;
    commandTime = 0;
    phase = 0;
    turned = 0;
    if (command < level.route.size() && level.route[command].kind == RouteCommand::Repeat) command = 0;
}

// Whether the current command is done; goal is where the player heads meanwhile.
bool ScriptedPlayer::commandDone(double dt, Point& goal) {
    GF_Entity& p = *playerEntity;
    const bool inAir = p.medium == kSubstanceAir;
    if (command >= level.route.size()) {
        // The route is done: an Action player swims on to the end marker; the others wait for the end.
        goal = level.kind == LevelTextKind::Action ? Point{EndLevelX, EndLevelY} : Point{p.x, p.y};
        commandTime += dt;
        if (level.kind == LevelTextKind::Action && commandTime > kGoTimeout)
            stuckReason = "stuck for " + std::to_string(int(kGoTimeout)) + " s on the way to the end marker";
        return false;
    }
    const RouteCommand& c = level.route[command];
    const Point cell{double(cellCentre(c.col)), double(cellCentre(c.row))};
    const double timeout = c.kind == RouteCommand::Clear                                  ? kClearTimeout
                           : c.kind == RouteCommand::Flip || c.kind == RouteCommand::Dive ? kAirTimeout
                                                                                          : kGoTimeout + c.amount;
    if (commandTime > timeout) {
        stuckReason = "stuck for " + std::to_string(int(timeout)) + " s on " + commandText();
        if (c.kind == RouteCommand::Clear) stuckReason += ": enemies left " + enemiesLeft(8);
        return false;
    }
    commandTime += dt;
    switch (c.kind) {
    case RouteCommand::Go:
        goal = cell;
        return distanceBetween(p.x, p.y, goal.x, goal.y) < kReach;
    case RouteCommand::Clear: {
        goal = cell;
        bool any = false;
        const double radius = c.amount * kTileSize;
        forEachEnemy([&](GF_Entity* e) { any = any || distanceBetween(e->x, e->y, cell.x, cell.y) <= radius; });
        return !any;
    }
    case RouteCommand::Wait:
        if (commandTime <= dt) hold = {p.x, p.y};
        goal = hold;
        return commandTime >= c.amount;
    case RouteCommand::Leap: {
        // Down to a point under the column, then straight up and out through the surface.
        const double x = cellCentre(c.col), surface = cellCentre(level.surfaceRow);
        if (phase == 0) {
            goal = {x, surface + leapDepth(int(std::lround(c.col))) * kTileSize};
            // The rise starts from rest there, facing up, not on the way down from the last dive and not while
            // the dolphin plays its turn-round (a turn round that lasts into the air counts its flips early).
            if (distanceBetween(p.x, p.y, goal.x, goal.y) >= kReach * 2 || std::hypot(p.vx, p.vy) >= kLeapStartSpeed ||
                std::fabs(angleDifference(p.angle, 90)) >= kLeapStartFacing || p.reversing)
                return false;
            phase = 1;
        }
        goal = {x, surface - 6 * kTileSize};
        return inAir;
    }
    case RouteCommand::Flip: {
        if (commandTime <= dt) lastAngle = p.angle;
        turned += angleDifference(p.angle, lastAngle);
        lastAngle = p.angle;
        goal = {p.x, p.y};
        // The turn coasts on a little once the mouse stops leading it: counted in, the dolphin comes to rest
        // facing the way it entered the air reversed, the way down a straight leap falls.
        return !inAir || turned + p.angularVelocity * kSpinCoast >= c.amount * 360 - kFlipMargin;
    }
    case RouteCommand::Dive:
        goal = {p.x, p.y};
        return !inAir;
    case RouteCommand::Repeat:
        return true;
    }
    return false;
}

// How deep a leap at the column starts: kLeapDepth cells, or a cell above the ground where it is shallower.
int ScriptedPlayer::leapDepth(int col) const {
    int open = 0;
    while (open < kLeapDepth + 1 && level.surfaceRow + open + 1 < level.rows() &&
           terrainGroupOfChar(level.terrain[size_t(level.surfaceRow + open + 1)][size_t(col)]) == kTerrainOpen)
        ++open;
    return std::max(1, std::min(kLeapDepth, open - 1));
}

// Stuck when the player has come no closer to its goal for a while though it is still far from it (in the
// water, where it can steer, and not chasing a target with the sword).
void ScriptedPlayer::checkProgress(double dt, Point goal, bool steering) {
    const GF_Entity& p = *playerEntity;
    const double distance = distanceBetween(p.x, p.y, goal.x, goal.y);
    if (!steering || goal.x != lastGoal.x || goal.y != lastGoal.y || distance < closest - kBlockedMove) {
        closest = distance;
        sinceCloser = 0;
        lastGoal = goal;
        return;
    }
    sinceCloser += dt;
    if (sinceCloser >= kBlockedTime && distance > kBlockedReach && stuckReason.empty())
        stuckReason = "blocked at " + cellText(p.x, p.y) + " on the way to " + cellText(goal.x, goal.y) + " on " +
                      commandText() + ": terrain in the way? Add a point around it";
}

void ScriptedPlayer::pointMouseAt(double worldX, double worldY) {
    MouseState.x = int32_t(std::clamp(worldX - getCameraX(), 0.0, double(kGameWidth - 1)));
    MouseState.y = int32_t(std::clamp(worldY - getCameraY(), 0.0, double(kGameHeight - 1)));
}

// The mouse a little way from the player in the direction (degrees), nearer where the screen's edge is closer:
// the dolphin turns toward the direction, not toward a point the screen's edge has moved.
void ScriptedPlayer::pointMouseAlong(double angle) {
    const GF_Entity& p = *playerEntity;
    const double dx = std::cos(angle / kDegreesPerRadian), dy = -std::sin(angle / kDegreesPerRadian);
    const double sx = p.x - getCameraX(), sy = p.y - getCameraY();
    double reach = kTurnReach;
    if (dx > 0.01) reach = std::min(reach, (kGameWidth - 1 - sx) / dx);
    if (dx < -0.01) reach = std::min(reach, -sx / dx);
    if (dy > 0.01) reach = std::min(reach, (kGameHeight - 1 - sy) / dy);
    if (dy < -0.01) reach = std::min(reach, -sy / dy);
    reach = std::max(reach, kTurnReachLeast);
    pointMouseAt(p.x + reach * dx, p.y + reach * dy);
}

// The direction keys toward the goal, braking early by the player's own motion; the keys do nothing in the air.
void ScriptedPlayer::steerTo(Point goal, bool inAir) {
    const GF_Entity& p = *playerEntity;
    const double ex = goal.x - (p.x + p.vx * kSteerLead), ey = goal.y - (p.y + p.vy * kSteerLead);
    holdKey('D', !inAir && ex > kDeadZone);
    holdKey('A', !inAir && ex < -kDeadZone);
    holdKey('S', !inAir && ey > kDeadZone);
    holdKey('W', !inAir && ey < -kDeadZone);
}

GF_Entity* ScriptedPlayer::pickTarget() const {
    const GF_Entity& p = *playerEntity;
    double muzzleX, muzzleY;
    p.getHotspotPoint(0, muzzleX, muzzleY);
    const double left = getCameraX() + kScreenMargin, top = getCameraY() + kScreenMargin;
    const double right = getCameraX() + kGameWidth - kScreenMargin, bottom = getCameraY() + kGameHeight - kScreenMargin;
    GF_Entity* best = nullptr;
    double bestDistance = 0;
    forEachEnemy([&](GF_Entity* e) {
        if (e->dead || e->intangible || e->x < left || e->x > right || e->y < top || e->y > bottom) return;
        const double d = distanceBetween(p.x, p.y, e->x, e->y);
        if (best && d >= bestDistance) return;
        // Sight to the near side of its body: an enemy on the ground has the ground's edge at its centre.
        const double toX = (muzzleX - e->x) / std::max(d, 1.0), toY = (muzzleY - e->y) / std::max(d, 1.0);
        if (!hasLineOfSight(muzzleX, muzzleY, e->x + toX * kNearSide, e->y + toY * kNearSide)) return;
        best = e;
        bestDistance = d;
    });
    return best;
}

void ScriptedPlayer::setFire(bool held) {
    if (fireHeld && !held) sinceRelease = 0;
    if (!fireHeld && held) heldTime = 0;
    fireHeld = held;
}

// Aims at the nearest enemy in sight and fires by the weapon: clicks at the weak, charged shots at the tough,
// the timed weapons held down; with the sword the player swims into its target (and true is returned: it left
// its goal for the target).
bool ScriptedPlayer::fight(double dt, Point goal) {
    GF_Entity& p = *playerEntity;
    GF_AIZuzevirManual* control = playerControl(&p);
    const int32_t weapon = control ? control->weaponMode : kWeaponLaser;
    if (fireHeld) heldTime += dt;
    sinceRelease += dt;
    GF_Entity* target = pickTarget();
    if (!target) {
        sinceTarget += dt;
        // A charge with nothing left to aim at goes where the player faces.
        if (fireHeld && (weapon != kWeaponLaser || sinceTarget > 1)) setFire(false);
        pointMouseAt(goal.x, goal.y);
        return false;
    }
    sinceTarget = 0;
    if (weapon == kWeaponSword) {
        steerTo({target->x, target->y}, p.medium == kSubstanceAir);
        pointMouseAt(target->x, target->y);
        return true;
    }
    double muzzleX, muzzleY;
    p.getHotspotPoint(0, muzzleX, muzzleY);
    const bool tough = weapon == kWeaponLaser && target->health > kToughHealth;
    const double speed = weapon == kWeaponTorpedo ? kTorpedoSpeed : tough ? kChargedSpeed : kLaserSpeed;
    const double lead = distanceBetween(muzzleX, muzzleY, target->x, target->y) / speed;
    const double aimX = target->x + target->vx * lead, aimY = target->y + target->vy * lead;
    pointMouseAt(aimX, aimY);
    const bool aligned =
        std::fabs(angleDifference(angleToPoint(muzzleX, muzzleY, aimX, aimY), p.angle)) < kAimTolerance;
    if (weapon != kWeaponLaser) {
        setFire(aligned);
    } else if (fireHeld) {
        if (tough ? heldTime >= kChargeHold && aligned : heldTime >= kClickHold) setFire(false);
    } else if (aligned && sinceRelease >= kClickInterval) {
        setFire(true);
    }
    return false;
}

void ScriptedPlayer::step(double dt) {
    GF_Entity* p = playerEntity;
    if (!p || p->dead) {
        if (stuckReason.empty()) stuckReason = "the player died on " + commandText();
        return;
    }
    Point goal{p->x, p->y};
    // Commands finish in a row within one frame when their ends are met (a repeat, a clear already clear).
    for (int guard = 0; guard < 4 && commandDone(dt, goal) && stuckReason.empty(); ++guard) nextCommand();
    const bool inAir = p->medium == kSubstanceAir;
    steerTo(goal, inAir);
    holdKey(kVkSpace, false);
    const RouteCommand::Kind kind = command < level.route.size() ? level.route[command].kind : RouteCommand::Go;
    bool chasing = false;
    if (kind == RouteCommand::Flip) {
        // The mouse runs round ahead of the facing, so the dolphin keeps turning the same way.
        pointMouseAlong(p->angle + 100);
        setFire(false);
    } else if (kind == RouteCommand::Dive) {
        // Facing along the motion for a clean entry, turning there the short way but never so far in one go
        // that the dolphin reverses (a sudden turn of 130 degrees or more).
        const double motion = angleToPoint(0, 0, p->vx, p->vy);
        pointMouseAlong(p->angle + std::clamp(angleDifference(motion, p->angle), -100.0, 100.0));
        setFire(false);
    } else if (kind == RouteCommand::Leap && phase == 1) {
        pointMouseAt(goal.x, goal.y); // the rise, straight up
        setFire(false);
    } else if (kind == RouteCommand::Leap && distanceBetween(p->x, p->y, goal.x, goal.y) < kLeapTurnReach) {
        // Near the start of the rise: turn to face up, the short way and without turning round.
        pointMouseAlong(p->angle + std::clamp(angleDifference(90, p->angle), -100.0, 100.0));
        setFire(false);
    } else if (fights) {
        chasing = fight(dt, goal);
    } else {
        pointMouseAt(goal.x, goal.y);
    }
    checkProgress(dt, goal, !inAir && !chasing);
    MouseState.leftBefore = MouseState.leftNow;
    MouseState.leftNow = fireHeld;
}
