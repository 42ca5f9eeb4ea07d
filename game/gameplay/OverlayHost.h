// What the game state's overlays (pause, level complete, level failed, help) ask of the game state that
// opens them: to be closed, the figures of the run, and the two HUD pieces the pause menu keeps on screen.
#pragma once

#include "ProgressTable.h"

#include <string>

class OverlayHost {
public:
    virtual ~OverlayHost() = default;
    // Sets the close request; the game state closes the overlay (its leave) after the overlay's update.
    virtual void requestCloseOverlay() = 0;
    // The level clock as the game state shows it ("mm:ss:mmm").
    virtual std::string getLevelTimeText() const = 0;
    // What the run achieved so far: time, enemies destroyed, Gold Radudods, banked trick points, best trick and
    // the medal of its time (Race) or score (Stunt).
    virtual LevelRunResult getRunResult() const = 0;
    // The goal arrow shown as its own show step does it (both clocks to 0, showing; a showing arrow's clock
    // held at 0.25 at most, a hidden one's set to 0).
    virtual void showGoalArrow() = 0;
    // The Gold Radudod meter slid into view and its clock restarted, count and sound untouched.
    virtual void showGoldZuzevirMeter() = 0;
};
