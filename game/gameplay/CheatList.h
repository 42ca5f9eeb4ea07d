// The cheats: game modifiers earned by progress in Action mode and switched on from the options screen. While
// any is on, a finished level is not recorded and play shows "Cheats On - Doesn't Count". The on flags live
// only as long as the program runs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The cheats in their fixed order: the index is how the rest of the game names a cheat.
enum CheatIndex : int {
    kCheatInvincible = 0,
    kCheatMiniRadudod = 1,
    kCheatBigRadudod = 2,
    kCheatMiniEnemies = 3,
    kCheatBigEnemies = 4,
    kCheatLowGravity = 5,
    kCheatHighGravity = 6,
    kCheatFlyingRadudod = 7,
    kCheatSuperLaser = 8,
    kCheatCloakedRadudod = 9,
    kCheatFastRadudod = 10,
    kCheatSlowRadudod = 11,
    kCheatEnemiesRunAway = 12,
    kCheatCloakedEnemies = 13,
    kCheatRudderControl = 14,
    kCheatNoEnemies = 15,
    kCheatInvincibleEnemies = 16,
    kCheatHomingTorpedo = 17,
    kCheat4xDamage = 18,
    kCheatMachineGun = 19,
    kCheatLaserSword = 20,
    kCheatNoTimeLimit = 21,
    kCheatShowTricks = 22,
};
constexpr int kCheatCount = 23;

struct CheatRecord {
    std::string name;
    uint8_t on = 0;
};

// The 23 records in index order; empty before start-up builds it and after shutdown.
extern std::vector<std::unique_ptr<CheatRecord>> CheatList;

// The Action progress that unlocks cheats: the Ruri Veruders collected over the Action records and the
// Action levels finished with every enemy destroyed.
struct CheatProgress {
    int32_t gold = 0;
    int32_t perfect = 0;
};
// Where the unlock rules read the progress from, at each query; the progress table installs its reader.
// Without one nothing has been earned.
using CheatProgressReader = CheatProgress (*)();
void setCheatProgressReader(CheatProgressReader reader);

void buildCheatList();
void freeCheatList();

// The unlock rule of a cheat for the given progress (thresholds are "at least"); false for a cheat that is
// never unlocked and for an index outside 0 .. 22.
bool isCheatUnlockedBy(int index, CheatProgress progress);
// The same for the progress as it stands.
bool isCheatUnlocked(int index);
bool anyCheatUnlocked();

// The on flag and the name of a cheat; off and empty for an index outside the list.
bool isCheatOn(int index);
const char* getCheatName(int index);
// Sets the on flag (the options screen); an index outside the list is ignored.
void setCheatOn(int index, bool on);
bool anyCheatOn();

// "Cheats On - Doesn't Count" at the top centre of the screen while any cheat is on.
void drawCheatsNotice();
