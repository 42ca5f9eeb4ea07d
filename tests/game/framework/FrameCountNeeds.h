// The frame counts the game relies on for each entry of the sprite-sheet table: the player's two stroke
// sheets must give exactly 8 frames (their frames are numbered across sheets), the others at least the
// highest frame any animation, tile or HUD names.
#pragma once

#include "SpriteSheet.h"
#include "SpriteSheetTable.h"

#include <gtest/gtest.h>

struct FrameCountNeed {
    int frames;
    bool exact;
};

inline constexpr FrameCountNeed kFrameCountNeeds[kSpriteSheetCount] = {
    {8, true},  {8, true}, {5, false},  {12, false}, {16, false}, {14, false}, {16, false}, {6, true},
    {6, true},  {3, true}, {16, false}, {1, true},   {1, true},   {16, false}, {7, true},   {2, true},
    {4, false}, {1, true}, {8, false},  {1, true},   {16, false}, {36, true},  {16, false}, {1, true},
    {8, false}, {1, true}, {4, false},  {1, true},   {1, true},   {1, true},   {1, true},   {1, true},
    {1, true},  {4, true}, {4, true},   {1, true},   {1, true},
};

inline void expectFrameCounts() {
    for (int n = 0; n < kSpriteSheetCount; n++) {
        const SpriteSheet* sheet = getSpriteSheet(n);
        ASSERT_NE(sheet, nullptr) << "sheet " << n;
        const FrameCountNeed need = kFrameCountNeeds[n];
        if (need.exact)
            EXPECT_EQ(sheet->frameCount(), need.frames) << "sheet " << n << " (" << sheet->getFileName() << ")";
        else
            EXPECT_GE(sheet->frameCount(), need.frames) << "sheet " << n << " (" << sheet->getFileName() << ")";
    }
}
