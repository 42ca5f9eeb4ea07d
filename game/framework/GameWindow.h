// The game window and the shared drawing object (a picture-less KGraphic for lines, rectangles and fills),
// created at start-up and released last at shutdown.
#pragma once

#include <functional>

class KGraphic;
class KWindow;

constexpr int kGameWidth = 800;
constexpr int kGameHeight = 600;
constexpr int kGameDepth = 32;
constexpr int kMaxFrameRate = 60;

extern KWindow* gameWindow;
extern KGraphic* sharedGraphic;

// Opens the 800 x 600 "Glimmerfin" window (windowed or full screen), caps the frame rate at 60 and makes the
// shared drawing object. When the window reports no 3-D acceleration or cannot be opened, shows the
// "Graphics Problem" box, releases the window and returns false.
bool createGameWindow(bool windowed);
// Deletes the shared drawing object, then the window.
void destroyGameWindow();

// What createGameWindow makes the window with: a new KWindowD3D unless a test installs its own maker
// (null restores the default).
void setGameWindowMaker(std::function<KWindow*()> maker);
