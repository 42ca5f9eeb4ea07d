// The engine key table: 101 engine keys, each with its virtual-key code, and the reverse lookup the window
// uses for its event records. The game polls keys by the virtual keys of this table.
#pragma once

constexpr int kEngineKeyCount = 101;
constexpr int kNoEngineKey = 100;

// The virtual key of engine key 0..100 (0 for key 100, which has none; also for numbers outside the table).
int engineKeyVirtualKey(int engineKey);

// Fills the 256-entry reverse table: every entry 100, then engine keys 0 to 100 in order, so that a later
// engine key wins a shared virtual key (Shift gives 6, Control 9).
void fillEngineKeyLookup();
// The engine key of a virtual key; 100 when it has none, and for codes outside 0..255.
int engineKeyFromVirtualKey(int virtualKey);

// Whether the key (or mouse button: virtual keys 1, 2 and 4) is held down now; the game polls its keys so.
bool isVirtualKeyDown(int virtualKey);
