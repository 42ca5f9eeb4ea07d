// The drawing state the OpenGL picture back end shares across all pictures: the window, what was last bound and
// set (so that only changes reach OpenGL), the four-vertex arrays every draw fills, and the stack of render
// targets being drawn into. Main thread only.
#pragma once

class KGraphicGL;
class KGraphicGLWindow;

struct KGraphicGLModule {
    static constexpr int kTargetStackDepth = 4;

    KGraphicGLWindow* window = nullptr;
    // The texture bound and enabled on unit 0 (0 = texturing off), its target and texture-coordinate divisors.
    unsigned boundTexture = 0;
    unsigned boundTarget = 0;
    float divisorWidth = 1, divisorHeight = 1;
    int srcBlend = -1, dstBlend = -1; // -1: unknown
    int blending = -1;                // -1: unknown, else 0 or 1
    bool colorArray = false;
    float positions[8] = {};
    float texCoords[8] = {};
    float maskTexCoords[8] = {};
    float colors[16] = {};
    KGraphicGL* targetStack[kTargetStackDepth] = {}; // the current target first
    int targetCount = 0;
};

KGraphicGLModule& graphicGL();

// Texturing off on unit 0 and its texture-coordinate array off: the next textured draw binds afresh.
void textureOffGL();

// Texturing off, both client arrays for texture coordinates and colours off, the vertex array pointed at the
// shared positions, every cached entry unknown.
void resetDrawingStateGLShared();
