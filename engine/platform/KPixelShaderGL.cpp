// KPixelShaderGL: compiling, using and giving back fragment programs through the host's OpenGL calls.
#include "KPixelShaderGL.h"

#include "HostGL.h"
#include "KLog.h"

#include <string>

KPixelShaderGL::KPixelShaderGL(const char* source) : source_(source) {
    list().link(this);
}

KPixelShaderGL::~KPixelShaderGL() {
    release();
    list().unlink(this);
}

KList<KPixelShaderGL>& KPixelShaderGL::list() {
    static KList<KPixelShaderGL>& shaders = *new KList<KPixelShaderGL>(); // never destroyed (see KList.h)
    return shaders;
}

bool KPixelShaderGL::create() {
    release();
    std::string error;
    program_ = host::ogl::createFragmentProgram(source_, error);
    if (!program_) logMessage("OpenGL: pixel shader not made: %s", error.c_str());
    return program_ != 0;
}

void KPixelShaderGL::release() {
    host::ogl::deleteProgram(program_);
    program_ = 0;
}

void KPixelShaderGL::use() const {
    if (program_) host::ogl::useProgram(program_);
}

void KPixelShaderGL::useNone() {
    host::ogl::useProgram(0);
}

void releasePixelShadersGL() {
    KPixelShaderGL::useNone();
    KPixelShaderGL::list().forEach([](KPixelShaderGL* shader) { shader->release(); });
}
