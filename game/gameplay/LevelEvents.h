// The game state's level counters that entities advance during play: the goal arrow's idle clock (seconds
// since the player last fired) and the hoops passed in a Race level.
#pragma once

void resetGoalArrowIdleClock(); // idle clock = 0: the player fired a shot
void countHoopPassed();         // hoops passed += 1
