// The families of data files the asset generator writes; each lives in its own source file.
#pragma once

#include "Art.h"

#include <string>

void writeDolphinArt(AssetOutput& out);   // the player's sheets, Gold Radudod, HUD portrait, evil eye
void writeEnemyArt(AssetOutput& out);     // fish, turtle, shark, eel, bird, drone, turret, auto gun, mines
void writeItemArt(AssetOutput& out);      // shots, particles, pickups, HUD icons, cursors, hoop balls
void writeTileArt(AssetOutput& out);      // the pictures of the five tile sets
void writeInterfaceArt(AssetOutput& out); // the window frame and the full-screen backdrops
void writeFrontEndArt(AssetOutput& out);  // logos, menu buttons and titles, option widgets, comic buttons
void writeComicArt(AssetOutput& out);     // the comic panels
void writeLevelMenuArt(AssetOutput& out); // level select, in-level menus and help pages
// The bitmap fonts with their character tables (C++ source into tablesFolder) and the TrueType copies.
void writeFonts(AssetOutput& out, const std::string& fontFolder, const std::string& tablesFolder);
void writeSounds(AssetOutput& out); // the sound effects
void writeMusic(AssetOutput& out);  // the music tracks
// The player's dolphin in its glide pose, for the backdrops.
void drawDolphin(cairo_t* cr, Point centre, double angleDegrees, double scale);
// A Gold Radudod, the small gold dolphin the player collects, in its glow: size 1 fills a 32-pixel cell;
// turn 1 faces right, -1 left, and values between show it turning about its upright axis.
void drawGoldRadudod(cairo_t* cr, Point centre, double size, double turn = 1);
// One review picture with every sheet, its frame grid and its hotspots.
void writeContactSheet(const AssetOutput& out, const std::string& path);
