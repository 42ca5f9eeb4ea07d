// The text work both font targets put a face through once it is made: the calls the game's screens make to
// measure text, draw it in a line and lay it out in a box, over every 8-bit character and some wider ones.
#pragma once

class KTextFace;

// Measures, draws and lays out the test texts with the face; the recorded drawing calls are dropped after.
void exerciseTextFace(KTextFace& face);
