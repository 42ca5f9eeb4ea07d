// The plain panel: a light grey box with a black outline, on the shared drawing object.
#pragma once

void drawPanelBox(int x, int y, int w, int h);
