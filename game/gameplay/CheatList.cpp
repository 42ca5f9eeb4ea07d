// The cheat list, its unlock rules over the Action progress, and the notice shown while a cheat is on.
#include "CheatList.h"

#include "BitmapFonts.h"
#include "GameWindow.h"
#include "KText.h"

std::vector<std::unique_ptr<CheatRecord>> CheatList;

namespace {

enum UnlockBy { kNever, kGold, kPerfect };

struct CheatRow {
    const char* name;
    UnlockBy by;
    int32_t threshold;
};

// The names are shown as they stand, "Invinsible Enemies" included.
constexpr CheatRow kCheatRows[kCheatCount] = {
    {"Invincible", kNever, 0},        {"Mini Radudod", kNever, 0},       {"Big Radudod", kGold, 35},
    {"Mini Enemies", kPerfect, 30},   {"Big Enemies", kPerfect, 40},     {"Low Gravity", kNever, 0},
    {"High Gravity", kNever, 0},      {"Flying Radudod", kPerfect, 50},  {"Super Laser", kGold, 70},
    {"Cloaked Radudod", kGold, 250},  {"Fast Radudod", kNever, 0},       {"Slow Radudod", kPerfect, 20},
    {"Enemies Run Away", kGold, 180}, {"Cloaked Enemies", kPerfect, 10}, {"Rudder Control", kNever, 0},
    {"No Enemies", kNever, 0},        {"Invinsible Enemies", kNever, 0}, {"Homing Torpedo", kNever, 0},
    {"4x Damage", kGold, 105},        {"Machine Gun", kGold, 140},       {"Laser Sword", kGold, 215},
    {"No Time Limit", kNever, 0},     {"Show Tricks", kNever, 0},
};

CheatProgressReader progressReader = nullptr;

CheatRecord* record(int index) {
    if (index < 0 || index >= int(CheatList.size())) return nullptr;
    return CheatList[size_t(index)].get();
}

} // namespace

void setCheatProgressReader(CheatProgressReader reader) {
    progressReader = reader;
}

void buildCheatList() {
    freeCheatList();
    CheatList.reserve(kCheatCount);
    for (const CheatRow& row : kCheatRows) {
        auto cheat = std::make_unique<CheatRecord>();
        cheat->name = row.name;
        CheatList.push_back(std::move(cheat));
    }
}

void freeCheatList() {
    while (!CheatList.empty()) CheatList.pop_back();
}

bool isCheatUnlockedBy(int index, CheatProgress progress) {
    if (index < 0 || index >= kCheatCount) return false;
    const CheatRow& row = kCheatRows[index];
    switch (row.by) {
    case kGold:
        return progress.gold >= row.threshold;
    case kPerfect:
        return progress.perfect >= row.threshold;
    default:
        return false;
    }
}

bool isCheatUnlocked(int index) {
    return isCheatUnlockedBy(index, progressReader ? progressReader() : CheatProgress{});
}

bool anyCheatUnlocked() {
    const CheatProgress progress = progressReader ? progressReader() : CheatProgress{};
    for (int index = 0; index < kCheatCount; index++)
        if (isCheatUnlockedBy(index, progress)) return true;
    return false;
}

bool isCheatOn(int index) {
    const CheatRecord* cheat = record(index);
    return cheat && cheat->on != 0;
}

const char* getCheatName(int index) {
    const CheatRecord* cheat = record(index);
    return cheat ? cheat->name.c_str() : "";
}

void setCheatOn(int index, bool on) {
    if (CheatRecord* cheat = record(index)) cheat->on = on ? 1 : 0;
}

bool anyCheatOn() {
    for (const auto& cheat : CheatList)
        if (cheat->on) return true;
    return false;
}

void drawCheatsNotice() {
    if (!anyCheatOn()) return;
    KText* font = getFont(1);
    if (!font) return;
    font->drawStringCentered("Cheats On - Doesn't Count", kGameWidth / 2 - 50, kGameWidth / 2 + 50, 15);
}
