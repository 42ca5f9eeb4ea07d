// The pieces every menu screen shares: the standard set of menu buttons (one sheet, six two-look animations,
// built in a screen's enter and freed in its leave), the two-look button animation itself, and the backdrop
// of dark bands with white edges that the menus draw behind their widgets.
#pragma once

#include <memory>

class SpriteAnimation;
class SpriteSheet;

// The standard buttons by what they do; each names one animation of the set.
enum MenuButtonKind : int {
    kMenuButtonContinue = 0,    // "Continue playing game"
    kMenuButtonExit = 1,        // "Exit to ..."
    kMenuButtonRestart = 2,     // "Restart this level", "Play this level again"
    kMenuButtonMainMenu = 3,    // "Go to the Main Menu"
    kMenuButtonSelectLevel = 4, // "Select a new level to play"
    kMenuButtonNextLevel = 5,   // "Play the next level"
};
constexpr int kMenuButtonKinds = 6;

// A widget animation over `looks` consecutive frames of the sheet from firstFrame: sequence k shows frame
// firstFrame + k for 0.1 s. For a two-look button sequence 0 is the hover look and sequence 1 the resting
// one; radio buttons and check boxes have four (hover, rest, then both again while selected).
std::unique_ptr<SpriteAnimation> makeButtonAnimation(SpriteSheet* sheet, int firstFrame, int looks = 2);

// Loads "menubuttons.png" with its twelve frames and makes the six animations; a set built before is
// freed first.
void buildMenuButtons();
void freeMenuButtons();
// The animation of a standard button, or null outside the set or while it is not built.
SpriteAnimation* menuButtonAnimation(int kind);

// With fill, the area between y 75 and the bottom band is filled with the menus' dark blue and the top band
// (0 .. 75) and the bottom band (its height from the bottom) are black; without fill the bands only darken
// what lies under them (black at alpha 0.2). Each band is edged by a white line. The frame is never cleared,
// so a filled backdrop paints its bands opaque: darkening alone would leave what an earlier frame drew there
// (the pointer, a tooltip, the screen before) fading out over several frames.
void drawMenuBackdrop(int bottomBand, bool withFill);
