// The level editor's 64-pixel grid over one tile layer, in translucent red on the shared drawing object.
#pragma once

void drawGridLines(double cameraX, double cameraY, double scrollX, double scrollY);
