// The scripted player of the level proof: follows a level's route (its commands in the level file) with the
// player's own inputs only, the mouse position, the direction keys and the fire button, and fights on its own
// on the way: it aims at the nearest enemy on screen that it can see, leading its motion, and fires, with
// charged shots at the tough ones (a player in a hurry fires nothing and only swims). Each frame it reads the world and
// leaves its input in the mouse state and in its own key table, which the game polls through the key poll it installs.
#pragma once

#include "LevelText.h"

#include <cstddef>
#include <string>

class GF_Entity;

class ScriptedPlayer {
public:
    // fights false: the player only swims along the route, firing nothing.
    explicit ScriptedPlayer(const LevelText& level, bool fights = true);
    ~ScriptedPlayer();
    ScriptedPlayer(const ScriptedPlayer&) = delete;
    ScriptedPlayer& operator=(const ScriptedPlayer&) = delete;

    // Decides this frame's input (call before the game's update).
    void step(double dt);

    // A command ran out of time (or the player died): the run cannot go on. Stuck says why.
    bool isStuck() const { return !stuckReason.empty(); }
    const std::string& stuck() const { return stuckReason; }
    // The command being followed, as the file writes it with its line ("end marker" once the route is done).
    std::string commandText() const;
    // One line on where the player is: cell, command, health, enemies left, Gold Radudods.
    std::string status(double levelTime) const;
    // The living enemies that still count, with their kinds and cells (at most max of them).
    std::string enemiesLeft(size_t max) const;

private:
    struct Point {
        double x, y;
    };
    void nextCommand();
    bool commandDone(double dt, Point& goal);
    void checkProgress(double dt, Point goal, bool steering);
    void steerTo(Point goal, bool inAir);
    bool fight(double dt, Point goal);
    GF_Entity* pickTarget() const;
    int leapDepth(int col) const;
    void pointMouseAt(double worldX, double worldY);
    void pointMouseAlong(double angle);
    void setFire(bool held);

    const LevelText& level;
    bool fights;
    size_t command = 0;
    double commandTime = 0;
    int phase = 0;        // the step within a leap
    double turned = 0;    // degrees turned in a flip
    double lastAngle = 0; // the facing the flip last saw
    Point hold{0, 0};     // where a wait keeps the player
    Point lastGoal{0, 0}; // the goal of the last frame, and the closest the player has come to it since
    double closest = 0, sinceCloser = 0;
    bool fireHeld = false; // the primary button
    double heldTime = 0, sinceRelease = 0, sinceTarget = 0;
    std::string stuckReason;
};

// The key poll the scripted player answers: true for the keys it holds this frame.
bool scriptedKeyDown(int virtualKey);
