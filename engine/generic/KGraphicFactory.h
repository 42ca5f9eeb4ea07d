// The renderer factory: RendererKind selects the back end that createGraphic makes for every picture. Tests hand
// out pictures of their own through a maker that wins over RendererKind (the tests' ScopedGraphicRecording), so
// code that stores RendererKind = 0 at start-up still gets them. Declared here, beside the KGraphic interface, so
// that generic code (the text faces' glyph pages) makes pictures without knowing the back ends; the platform
// code that holds the back ends defines it (KGraphicFactory.cpp).
#pragma once

class KGraphic;

// The selected back end: -1 at start (nothing selected); the game's start-up stores K_RENDERER_DIRECT3D8.
extern int RendererKind;

enum RendererKindValue : int {
    K_RENDERER_DIRECT3D8 = 0, // KGraphicD3D
    K_RENDERER_OPENGL = 1,    // KGraphicGL
    K_RENDERER_DIRECT3D9 = 3, // KGraphicD3D9
};

// A new picture of the selected back end, or null for a kind that selects none or when allocation fails.
// The caller owns it and deletes it through KGraphic's virtual destructor.
KGraphic* createGraphic();

// While a maker is set (null: none, the start), createGraphic returns what it makes whatever RendererKind holds.
using GraphicMaker = KGraphic* (*)();
void setGraphicMaker(GraphicMaker maker);
GraphicMaker getGraphicMaker();
