// Number, time and name formatting for the HUD, the menus and the level lists.
#pragma once

#include <string>

std::string intToString(int n);
// With thousands commas (1234567 gives "1,234,567"); negative numbers get none.
std::string intToGroupedString(int n);
// "0" prefixed until the text has at least the length.
std::string padWithZeros(const std::string& text, size_t length);
// "mm:ss:mmm" (83.5 gives "01:23:500"); "-" from 6000 seconds on, below 0 and for no number.
std::string formatTime(double seconds);
// "12.Reef" gives "Reef": a leading number and its '.' are dropped when a name follows; other names stay whole.
std::string stripLevelNumber(const std::string& name);
// True when the text is longer than the suffix and ends with it.
bool endsWith(const std::string& text, const std::string& suffix);
