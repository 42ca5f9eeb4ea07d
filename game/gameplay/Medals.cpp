// The medal rules of Race and Stunt levels from the level's goals.
#include "Medals.h"

int medalForTime(const LevelGoals& goals, double levelTime) {
    if (PassedHoops < RequiredHoops) return kMedalNone;
    if (levelTime <= goals.medalTimes[kMedalGold]) return kMedalGold;
    if (levelTime <= goals.medalTimes[kMedalSilver]) return kMedalSilver;
    if (levelTime <= goals.medalTimes[kMedalBronze]) return kMedalBronze;
    return kMedalNone;
}

int medalForScore(const LevelGoals& goals, double levelTime, int32_t score) {
    if (!(levelTime > goals.timeLimit)) return kMedalNone;
    if (score >= goals.medalScores[kMedalGold]) return kMedalGold;
    if (score >= goals.medalScores[kMedalSilver]) return kMedalSilver;
    if (score >= goals.medalScores[kMedalBronze]) return kMedalBronze;
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
