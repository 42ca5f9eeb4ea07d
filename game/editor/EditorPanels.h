// The widget sets of the editor's two largest panels: the level-properties panel with its four dialogs, and
// the entity panel's dialog. Built on the editor's enter and freed on its leave.
#pragma once

#include "EditorWidgets.h"
#include "GameWindow.h"

#include <array>

struct LevelPropertiesWidgets {
    // The main panel.
    EditorLabel widthLabel{20, 20, "Level Pixel Width:"};
    EditorTextField widthField{150, 20, 100, -1, 6, true};
    EditorLabel heightLabel{20, 40, "Level Pixel Height:"};
    EditorTextField heightField{150, 40, 100, -1, 6, true};
    EditorButton setDimensions{20, 65, 160, 15, "Set Level Dimensions"};
    EditorToggleButton grid{20, 100, 100, 15, "Toggle Grid", true};
    EditorLabel clipLabel{20, 130, "Clip Level:"};
    EditorTextField clipField{100, 130, 100, -1, 6, true};
    EditorButton setClip{20, 155, 100, 16, "Set Clip Level"};
    EditorButton endLevel{20, 180, 100, 16, "End Level"};
    EditorToggleButton autoTile{20, 205, 100, 16, "Auto (T)ile", true};
    EditorToggleButton autoCollision{20, 230, 100, 16, "Auto (C)ollision", true};
    EditorButton changeTileSet{20, 260, 160, 15, "Change Tile Set"};
    EditorToggleButton gameMode{20, 510, 160, 15, "Game Mode", true};
    EditorToggleButton bounds{20, kGameHeight - 60, 100, 16, "Level Bounds", true};
    EditorToggleButton save{20, kGameHeight - 30, 60, 16, "Save", true};
    EditorToggleButton load{90, kGameHeight - 30, 60, 16, "Load", true};

    // The game-mode dialog.
    static constexpr int dx = (kGameWidth - 400) / 2, dy = (kGameHeight - 350) / 2;
    EditorToggleButton actionMode{dx + 20, dy + 20, 100, 20, "Action Mode", false};
    EditorToggleButton stuntMode{dx + 150, dy + 20, 100, 20, "Stunt Mode", false};
    EditorToggleButton raceMode{dx + 280, dy + 20, 100, 20, "Race Mode", false};
    std::array<EditorLabel, 3> timeLabels{
        {{dx + 20, dy + 50, "Bronze Time:"}, {dx + 20, dy + 110, "Silver Time:"}, {dx + 20, dy + 170, "Gold Time:"}}};
    std::array<EditorTextField, 3> timeFields{{{dx + 20, dy + 65, 100, 20, 9, true},
                                               {dx + 20, dy + 125, 100, 20, 9, true},
                                               {dx + 20, dy + 185, 100, 20, 9, true}}};
    std::array<EditorLabel, 3> scoreLabels{{{dx + 20, dy + 50, "Bronze Score:"},
                                            {dx + 20, dy + 110, "Silver Score:"},
                                            {dx + 20, dy + 170, "Gold Score:"}}};
    std::array<EditorTextField, 3> scoreFields{{{dx + 20, dy + 65, 100, 20, 9, true},
                                                {dx + 20, dy + 125, 100, 20, 9, true},
                                                {dx + 20, dy + 185, 100, 20, 9, true}}};
    EditorLabel timeLimitLabel{dx + 20, dy + 230, "Time Limit:"};
    EditorTextField timeLimitField{dx + 20, dy + 245, 100, 20, 6, true};
    EditorButton modeOk{dx + 280, dy + 320, 100, 16, "OK"};
    EditorButton modeCancel{dx + 160, dy + 320, 100, 16, "Cancel"};

    // The save and load dialogs share one box.
    static constexpr int sx = (kGameWidth - 400) / 2, sy = (kGameHeight - 100) / 2;
    EditorTextField saveName{sx + 20, sy + 20, 360, 18, 40, false};
    EditorButton saveButton{sx + 280, sy + 70, 100, 16, "Save"};
    EditorButton saveCancel{sx + 160, sy + 70, 100, 16, "Cancel"};
    EditorTextField loadName{sx + 20, sy + 20, 360, 18, 40, false};
    EditorButton loadButton{sx + 280, sy + 70, 100, 16, "Load"};
    EditorButton loadCancel{sx + 160, sy + 70, 100, 16, "Cancel"};
    EditorButton loadDefault{sx + 40, sy + 70, 100, 16, "Load Default"};

    // The bounds dialog.
    static constexpr int bx = (kGameWidth - 300) / 2, by = (kGameHeight - 200) / 2;
    EditorLabel leftLabel{bx + 20, by + 20, "Left:"};
    EditorLabel rightLabel{bx + 150, by + 20, "Right:"};
    EditorLabel topLabel{bx + 20, by + 100, "Top:"};
    EditorLabel bottomLabel{bx + 150, by + 100, "Bottom:"};
    EditorTextField leftField{bx + 20, by + 40, 100, -1, 6, true};
    EditorTextField rightField{bx + 150, by + 40, 100, -1, 6, true};
    EditorTextField topField{bx + 20, by + 120, 100, -1, 6, true};
    EditorTextField bottomField{bx + 150, by + 120, 100, -1, 6, true};
    EditorButton setBounds{bx + 180, by + 170, 100, 16, "Set Bounds"};
    EditorButton boundsCancel{bx + 60, by + 170, 100, 16, "Cancel"};

    LevelPropertiesWidgets() { grid.selected = autoTile.selected = autoCollision.selected = 1; }
};

struct EntityDialogWidgets {
    static constexpr int dx = (kGameWidth - 400) / 2, dy = (kGameHeight - 500) / 2;
    static constexpr int width = 400, height = 500;
    // The title, then one label per value field, in field order (Pos X .. Var 8).
    std::array<EditorLabel, 14> labels{{{dx + 20, dy + 20, "Entity Type: No Name"},
                                        {dx + 20, dy + 55, "Pos X:"},
                                        {dx + 230, dy + 55, "Pos Y:"},
                                        {dx + 20, dy + 105, "Vel X:"},
                                        {dx + 230, dy + 105, "Vel Y:"},
                                        {dx + 20, dy + 155, "Rotation:"},
                                        {dx + 20, dy + 205, "Var 1:"},
                                        {dx + 230, dy + 205, "Var 2:"},
                                        {dx + 20, dy + 255, "Var 3:"},
                                        {dx + 230, dy + 255, "Var 4:"},
                                        {dx + 20, dy + 305, "Var 5:"},
                                        {dx + 230, dy + 305, "Var 6:"},
                                        {dx + 20, dy + 355, "Var 7:"},
                                        {dx + 230, dy + 355, "Var 8:"}}};
    // The fields of placement fields 1 .. 13 (index 0 = Pos X).
    std::array<EditorTextField, 13> fields{{{dx + 20, dy + 70, 150, 20, 10, true},
                                            {dx + 230, dy + 70, 150, 20, 10, true},
                                            {dx + 20, dy + 120, 150, 20, 10, true},
                                            {dx + 230, dy + 120, 150, 20, 10, true},
                                            {dx + 20, dy + 170, 150, 20, 10, true},
                                            {dx + 20, dy + 220, 150, 20, 10, true},
                                            {dx + 230, dy + 220, 150, 20, 10, true},
                                            {dx + 20, dy + 270, 150, 20, 10, true},
                                            {dx + 230, dy + 270, 150, 20, 10, true},
                                            {dx + 20, dy + 320, 150, 20, 10, true},
                                            {dx + 230, dy + 320, 150, 20, 10, true},
                                            {dx + 20, dy + 370, 150, 20, 10, true},
                                            {dx + 230, dy + 370, 150, 20, 10, true}}};
    EditorButton deleteButton{dx + 20, dy + 460, 100, 20, "DELETE"};
    EditorButton cancelButton{dx + 140, dy + 460, 100, 20, "Cancel"};
    EditorButton acceptButton{dx + 260, dy + 460, 100, 20, "Accept"};
};
