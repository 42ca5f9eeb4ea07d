// KPixelShaderGL: an OpenGL fragment program made from its GLSL source, kept in its class list so that every
// program is given back before the window's context goes (resetDrawingStateGL with no window). A program made
// current replaces fixed-function texturing for every later draw until none is made current. The game makes none.
#pragma once

#include "KList.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

class KPixelShaderGL : public KObjectListable, public KObjectBase {
public:
    explicit KPixelShaderGL(const char* source); // the source is not owned and must outlive the shader
    ~KPixelShaderGL() override;

    static KList<KPixelShaderGL>& list();

    // Gives back any old program and makes it again from the source; false (logged) on failure.
    bool create();
    void release();
    // Makes the program current (nothing without one); useNone returns to fixed-function drawing.
    void use() const;
    static void useNone();

    unsigned getProgram() const { return program_; }

private:
    const char* source_;
    unsigned program_ = 0; // 0 = none
};

// Gives back every shader's program while the window's context is still current.
void releasePixelShadersGL();
