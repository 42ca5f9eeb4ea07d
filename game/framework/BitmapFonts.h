// The four bitmap fonts (pictures in the graphics folder, character tables compiled into the program):
// 0 dark small print (tooltips, editor captions), 1 white small print (labels), 2 HUD times, 3 HUD captions.
#pragma once

class KText;

constexpr int kBitmapFontCount = 4;

// Loads the four fonts and hands fonts 1 and 0 to the tooltip.
void loadBitmapFonts();
void freeBitmapFonts();
// Font n, or null outside 0..3 or before loading.
KText* getFont(int n);
// The line height the game spaces font n by (16, 16, 18, 18); 0 outside 0..3.
int getFontLineHeight(int n);
