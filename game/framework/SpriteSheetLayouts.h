// Where the game cuts its sprite sheets: each sheet's file, its fixed frame rectangles and its grid. The game
// cuts its sheets by these layouts, the asset generator draws its pictures into them and the asset test checks
// the pictures against them, so that the art and the cut cannot drift apart unseen. Plain constants with no
// dependency, so the generator and the tests read them without the game.
#pragma once

#include <cstdint>
#include <span>

struct SheetFrame {
    int left, top, right, bottom; // right and bottom exclusive
    bool operator==(const SheetFrame&) const = default;
};

// The rectangles come first, then the whole cells of the grid (cell width 0: no grid; count -1: every cell).
struct SheetLayout {
    const char* file; // null for the tile-set entries of the sprite-sheet table, whose picture the tile set names
    std::span<const SheetFrame> rects;
    int gridWidth = 0, gridHeight = 0, gridCount = -1;
};

// One entry of the sprite-sheet table: its layout and the blend and filtering flags of its picture.
struct SpriteSheetRow {
    SheetLayout layout;
    uint8_t blend, filter;
};

namespace sheet_frames {
inline constexpr SheetFrame kSquare16[] = {{0, 0, 16, 16}};
inline constexpr SheetFrame kSquare32[] = {{0, 0, 32, 32}};
inline constexpr SheetFrame kSquare64[] = {{0, 0, 64, 64}};
inline constexpr SheetFrame kLaser[] = {{0, 0, 50, 31},    {50, 0, 116, 43},  {0, 31, 50, 62},
                                        {50, 43, 116, 86}, {0, 98, 128, 128}, {0, 64, 39, 93}};
inline constexpr SheetFrame kWaterDrop[] = {{0, 0, 10, 12}, {10, 0, 30, 20}};
inline constexpr SheetFrame kMissile[] = {{0, 0, 32, 8}};
inline constexpr SheetFrame kGoldenFishHud[] = {{0, 0, 35, 43},  {35, 0, 67, 43},  {67, 0, 100, 43}, {100, 0, 127, 43},
                                                {0, 48, 32, 90}, {32, 48, 63, 90}, {63, 48, 128, 96}};
inline constexpr SheetFrame kTurret[] = {{0, 0, 64, 64}, {64, 0, 128, 32}};
} // namespace sheet_frames

// The 37 entries of the sprite-sheet table, in number order.
inline constexpr SpriteSheetRow kSpriteSheetRows[] = {
    {{"glimmerfin1.png", {}, 128, 64}, 1, 1},
    {{"glimmerfin2.png", {}, 128, 64}, 1, 1},
    {{"glimmerfin3.png", {}, 128, 64}, 1, 1},
    {{nullptr, {}, 64, 64}, 1, 0}, // tile-set water
    {{nullptr, {}, 64, 64}, 1, 0}, // tile-set sand
    {{nullptr, {}, 64, 64}, 1, 0}, // tile-set sky
    {{nullptr, {}, 64, 64}, 1, 0}, // tile-set rock
    {{"laser.png", sheet_frames::kLaser}, 0, 1},
    {{"particles.png", {}, 19, 19, 6}, 0, 1},
    {{nullptr, sheet_frames::kWaterDrop, 10, 12, 1}, 1, 1}, // tile-set water drop
    {{"laserfish.png", {}, 64, 64}, 1, 1},
    {{"missile1.png", sheet_frames::kMissile}, 1, 1},
    {{"healthhead.png", sheet_frames::kSquare64}, 1, 1},
    {{"golddolphin.png", {}, 32, 32}, 1, 1},
    {{"goldenfishhud.png", sheet_frames::kGoldenFishHud}, 1, 1},
    {{"turret.png", sheet_frames::kTurret}, 1, 1},
    {{"mines.png", {}, 64, 64}, 1, 1},
    {{"autogun.png", sheet_frames::kSquare64}, 1, 1},
    {{"bird.png", {}, 128, 64}, 1, 1},
    {{"bomb.png", sheet_frames::kSquare32}, 1, 1},
    {{"eel.png", {}, 128, 32}, 1, 1},
    {{nullptr, {}, 64, 64, 36}, 1, 0}, // tile-set coral
    {{"turtle.png", {}, 64, 64}, 1, 1},
    {{"evileye.png", sheet_frames::kSquare16}, 1, 1},
    {{"shark.png", {}, 128, 64}, 1, 1},
    {{"drone1.png", sheet_frames::kSquare64}, 1, 1},
    {{nullptr, {}, 64, 64}, 1, 1}, // tile-set ornaments
    {{"arrow.png", sheet_frames::kSquare64}, 1, 1},
    {{"arrowcursor.png", sheet_frames::kSquare32}, 1, 1},
    {{"crosshaircursor.png", sheet_frames::kSquare32}, 1, 1},
    {{"hand.png", sheet_frames::kSquare32}, 1, 1},
    {{"torpedo1.png", sheet_frames::kSquare32}, 1, 1},
    {{"bullet.png", sheet_frames::kSquare16}, 1, 1},
    {{"powerupicons.png", {}, 64, 64, 4}, 1, 1},
    {{"powerupoverlays.png", {}, 32, 32, 4}, 1, 1},
    {{"ball.png", {}, 32, 32, 1}, 1, 1},
    {{"ballblue.png", {}, 32, 32, 1}, 1, 1},
};

// The sheets that screens and menus cut for themselves. Button sheets hold pairs of looks, hover look first.
namespace sheet_frames {
inline constexpr SheetFrame kTitleButtons1[] = {
    {0, 0, 232, 64}, {0, 64, 232, 128}, {0, 128, 250, 192}, {0, 192, 250, 256}};
inline constexpr SheetFrame kTitleButtons2[] = {
    {0, 0, 175, 64}, {0, 64, 175, 128}, {0, 128, 109, 192}, {0, 192, 109, 256}};
inline constexpr SheetFrame kSelectGameButtons1[] = {
    {0, 0, 145, 64}, {0, 64, 145, 128}, {0, 128, 132, 192}, {0, 192, 132, 256}};
inline constexpr SheetFrame kSelectGameButtons2[] = {
    {0, 0, 120, 64}, {0, 64, 120, 128}, {0, 128, 171, 192}, {0, 192, 171, 256}};
// A pair for each menu-button kind, in MenuButtonKind order.
inline constexpr SheetFrame kMenuButtons[] = {
    {0, 0, 108, 38},    {0, 38, 108, 76},    {0, 76, 66, 118},    {0, 118, 66, 160},
    {0, 160, 76, 202},  {0, 202, 76, 244},   {108, 0, 246, 38},   {108, 38, 246, 76},
    {66, 76, 217, 118}, {66, 118, 217, 160}, {76, 160, 212, 202}, {76, 202, 212, 244},
};
inline constexpr SheetFrame kLevelSelectButtons[] = {{0, 0, 104, 38},    {0, 38, 104, 76},  {0, 76, 118, 114},
                                                     {0, 114, 118, 152}, {118, 0, 190, 38}, {118, 38, 190, 76}};
// A menu title in each half: the pause menu's and the options screen's; the level-complete and level-failed menus'.
inline constexpr SheetFrame kMenuTitleHalves[] = {{0, 0, 256, 128}, {0, 128, 256, 256}};
// Radio button looks 0 .. 3, slider track pieces 4 .. 6 (left cap, middle, right cap), knob looks 7 and 8, check
// box looks 9 .. 12; each set of looks hover first, then resting (the radio buttons and boxes: unselected looks,
// then selected ones).
inline constexpr SheetFrame kOptionWidgets[] = {
    {0, 0, 28, 28},    {28, 0, 56, 28},   {56, 0, 84, 28},    {84, 0, 112, 28}, {0, 28, 7, 35},
    {7, 28, 14, 35},   {14, 28, 21, 35},  {21, 28, 53, 80},   {53, 28, 85, 80}, {0, 80, 28, 108},
    {28, 80, 56, 108}, {56, 80, 84, 108}, {84, 80, 112, 108},
};
inline constexpr SheetFrame kSceneButtons[] = {{0, 0, 71, 38}, {0, 38, 71, 76}, {0, 76, 71, 114}, {0, 114, 71, 152}};
} // namespace sheet_frames

inline constexpr SheetLayout kTitleButtons1Sheet = {"titlebutton1.png", sheet_frames::kTitleButtons1};
inline constexpr SheetLayout kTitleButtons2Sheet = {"titlebutton2.png", sheet_frames::kTitleButtons2};
inline constexpr SheetLayout kSelectGameHeadingSheet = {"selectgameheading.png", {}, 256, 128};
inline constexpr SheetLayout kSelectGameButtons1Sheet = {"selectgamebuttons1.png", sheet_frames::kSelectGameButtons1};
inline constexpr SheetLayout kSelectGameButtons2Sheet = {"selectgamebuttons2.png", sheet_frames::kSelectGameButtons2};
inline constexpr SheetLayout kMenuButtonsSheet = {"menubuttons.png", sheet_frames::kMenuButtons};
inline constexpr SheetLayout kPauseAndOptionsTitlesSheet = {"menutitles2.png", sheet_frames::kMenuTitleHalves};
inline constexpr SheetLayout kCompleteAndFailedTitlesSheet = {"menutitles1.png", sheet_frames::kMenuTitleHalves};
inline constexpr SheetLayout kOptionWidgetsSheet = {"radiobuttons.png", sheet_frames::kOptionWidgets};
inline constexpr SheetLayout kSceneButtonsSheet = {"scenebuttons.png", sheet_frames::kSceneButtons};
inline constexpr SheetLayout kSelectLevelHeadingSheet = {"selectlevelheading.png", {}, 256, 128};
inline constexpr SheetLayout kMapButtonSheet = {"mapbutton.png", {}, 39, 39};
inline constexpr SheetLayout kLevelButtonsSheet = {"levelbuttons.png", {}, 64, 64};
inline constexpr SheetLayout kMedalsSheet = {"medals.png", {}, 32, 32};
inline constexpr SheetLayout kLevelSelectButtonsSheet = {"menubuttons2.png", sheet_frames::kLevelSelectButtons};
inline constexpr SheetLayout kWindowFrameSheet = {"windowframe.png", {}, 16, 16, 8};

// Every sheet above that screens and menus cut, for the generator's and the test's walks.
inline constexpr const SheetLayout* kScreenSheets[] = {
    &kTitleButtons1Sheet,      &kTitleButtons2Sheet, &kSelectGameHeadingSheet,     &kSelectGameButtons1Sheet,
    &kSelectGameButtons2Sheet, &kMenuButtonsSheet,   &kPauseAndOptionsTitlesSheet, &kCompleteAndFailedTitlesSheet,
    &kOptionWidgetsSheet,      &kSceneButtonsSheet,  &kSelectLevelHeadingSheet,    &kMapButtonSheet,
    &kLevelButtonsSheet,       &kMedalsSheet,        &kLevelSelectButtonsSheet,    &kWindowFrameSheet,
};
