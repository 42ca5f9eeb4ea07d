// The medal rules of Race and Stunt levels from the level's goals.
#include "Medals.h"

LevelGoals levelGoals;

int medalForTime(const LevelGoals& goals, double levelTime) {
    if (goals.passedHoops < goals.requiredHoops) return kMedalNone;
    if (levelTime <= goals.goldTime) return kMedalGold;
    if (levelTime <= goals.silverTime) return kMedalSilver;
    if (levelTime <= goals.bronzeTime) return kMedalBronze;
    return kMedalNone;
}

int medalForScore(const LevelGoals& goals, double levelTime, int32_t score) {
    if (!(levelTime > goals.timeLimit)) return kMedalNone;
    if (score >= goals.goldScore) return kMedalGold;
    if (score >= goals.silverScore) return kMedalSilver;
    if (score >= goals.bronzeScore) return kMedalBronze;
    return kMedalNone;
}

const char* medalName(int medal) {
    switch (medal) {
    case kMedalGold:
        return "Gold";
    case kMedalSilver:
        return "Silver";
    case kMedalBronze:
        return "Bronze";
    default:
        return "None";
    }
}

const char* medalNameForTime(const LevelGoals& goals, double levelTime) {
    return medalName(medalForTime(goals, levelTime));
}

const char* medalNameForScore(const LevelGoals& goals, double levelTime, int32_t score) {
    return medalName(medalForScore(goals, levelTime, score));
}
