// The OpenGL 1.x calls of HostGL.h, each handed straight to the current context; multitexture entry points come
// from the table HostGLFunctions.h loads when a context is made.
#include "HostGL.h"

#include "HostGLFunctions.h"

#include <SDL.h>
#include <cstring>

namespace host::ogl {

static_assert(POINTS == GL_POINTS && LINES == GL_LINES && TRIANGLES == GL_TRIANGLES &&
              TRIANGLE_STRIP == GL_TRIANGLE_STRIP);
static_assert(SRC_COLOR == GL_SRC_COLOR && ONE_MINUS_SRC_COLOR == GL_ONE_MINUS_SRC_COLOR && SRC_ALPHA == GL_SRC_ALPHA &&
              ONE_MINUS_SRC_ALPHA == GL_ONE_MINUS_SRC_ALPHA && DST_ALPHA == GL_DST_ALPHA &&
              ONE_MINUS_DST_ALPHA == GL_ONE_MINUS_DST_ALPHA && DST_COLOR == GL_DST_COLOR &&
              ONE_MINUS_DST_COLOR == GL_ONE_MINUS_DST_COLOR && SRC_ALPHA_SATURATE == GL_SRC_ALPHA_SATURATE);
static_assert(BLEND == GL_BLEND && SCISSOR_TEST == GL_SCISSOR_TEST && UNPACK_ALIGNMENT == GL_UNPACK_ALIGNMENT &&
              PACK_ALIGNMENT == GL_PACK_ALIGNMENT && MAX_TEXTURE_SIZE == GL_MAX_TEXTURE_SIZE);
static_assert(TEXTURE_2D == GL_TEXTURE_2D && TEXTURE_WIDTH == GL_TEXTURE_WIDTH && TEXTURE_HEIGHT == GL_TEXTURE_HEIGHT &&
              TEXTURE_INTERNAL_FORMAT == GL_TEXTURE_INTERNAL_FORMAT);
static_assert(UNSIGNED_BYTE == GL_UNSIGNED_BYTE && FLOAT == GL_FLOAT && MODELVIEW == GL_MODELVIEW &&
              PROJECTION == GL_PROJECTION && TEXTURE == GL_TEXTURE && RGB == GL_RGB && RGBA == GL_RGBA);
static_assert(REPLACE == GL_REPLACE && MODULATE == GL_MODULATE && TEXTURE_ENV_MODE == GL_TEXTURE_ENV_MODE &&
              TEXTURE_ENV == GL_TEXTURE_ENV);
static_assert(NEAREST == GL_NEAREST && LINEAR == GL_LINEAR && LINEAR_MIPMAP_NEAREST == GL_LINEAR_MIPMAP_NEAREST &&
              LINEAR_MIPMAP_LINEAR == GL_LINEAR_MIPMAP_LINEAR);
static_assert(TEXTURE_MAG_FILTER == GL_TEXTURE_MAG_FILTER && TEXTURE_MIN_FILTER == GL_TEXTURE_MIN_FILTER &&
              TEXTURE_WRAP_S == GL_TEXTURE_WRAP_S && TEXTURE_WRAP_T == GL_TEXTURE_WRAP_T && REPEAT == GL_REPEAT);
static_assert(VERTEX_ARRAY == GL_VERTEX_ARRAY && COLOR_ARRAY == GL_COLOR_ARRAY &&
              TEXTURE_COORD_ARRAY == GL_TEXTURE_COORD_ARRAY);
static_assert(RGB8 == GL_RGB8 && RGBA8 == GL_RGBA8 && CLAMP_TO_EDGE == GL_CLAMP_TO_EDGE &&
              TEXTURE_MAX_LEVEL == GL_TEXTURE_MAX_LEVEL && MIRRORED_REPEAT == GL_MIRRORED_REPEAT);
static_assert(TEXTURE0 == GL_TEXTURE0 && TEXTURE1 == GL_TEXTURE1 && TEXTURE_RECTANGLE == GL_TEXTURE_RECTANGLE_ARB);
static_assert(COMBINE == GL_COMBINE && COMBINE_RGB == GL_COMBINE_RGB && COMBINE_ALPHA == GL_COMBINE_ALPHA &&
              PREVIOUS == GL_PREVIOUS && SOURCE0_RGB == GL_SOURCE0_RGB && SOURCE0_ALPHA == GL_SOURCE0_ALPHA &&
              SOURCE1_ALPHA == GL_SOURCE1_ALPHA && OPERAND0_RGB == GL_OPERAND0_RGB &&
              OPERAND0_ALPHA == GL_OPERAND0_ALPHA && OPERAND1_ALPHA == GL_OPERAND1_ALPHA);
static_assert(DEPTH_BUFFER_BIT == GL_DEPTH_BUFFER_BIT && COLOR_BUFFER_BIT == GL_COLOR_BUFFER_BIT);

void genTextures(int count, unsigned* names) {
    glGenTextures(count, names);
}
void deleteTextures(int count, const unsigned* names) {
    glDeleteTextures(count, names);
}
bool isTexture(unsigned name) {
    return glIsTexture(name) == GL_TRUE;
}
void bindTexture(unsigned target, unsigned name) {
    glBindTexture(target, name);
}
void texImage2D(unsigned target, int level, int internalFormat, int width, int height, unsigned format, unsigned type,
                const void* pixels) {
    glTexImage2D(target, level, internalFormat, width, height, 0, format, type, pixels);
}
void texSubImage2D(unsigned target, int level, int x, int y, int width, int height, unsigned format, unsigned type,
                   const void* pixels) {
    glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
}
void texParameteri(unsigned target, unsigned name, int value) {
    glTexParameteri(target, name, value);
}
int getTexParameteri(unsigned target, unsigned name) {
    GLint value = 0;
    glGetTexParameteriv(target, name, &value);
    return value;
}
int getTexLevelParameteri(unsigned target, int level, unsigned name) {
    GLint value = 0;
    glGetTexLevelParameteriv(target, level, name, &value);
    return value;
}
void getTexImage(unsigned target, int level, unsigned format, unsigned type, void* pixels) {
    glGetTexImage(target, level, format, type, pixels);
}
void pixelStorei(unsigned name, int value) {
    glPixelStorei(name, value);
}

void enable(unsigned capability) {
    glEnable(capability);
}
void disable(unsigned capability) {
    glDisable(capability);
}
bool isEnabled(unsigned capability) {
    return glIsEnabled(capability) == GL_TRUE;
}
int getInteger(unsigned name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}
void blendFunc(unsigned source, unsigned dest) {
    glBlendFunc(source, dest);
}
void color4f(float r, float g, float b, float a) {
    glColor4f(r, g, b, a);
}
void texEnvi(unsigned target, unsigned name, int value) {
    glTexEnvi(target, name, value);
}
void activeTexture(unsigned unit) {
    if (gl.activeTexture) gl.activeTexture(unit);
}
void clientActiveTexture(unsigned unit) {
    if (gl.clientActiveTexture) gl.clientActiveTexture(unit);
}
bool hasExtension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all || !name || !*name) return false;
    size_t length = std::strlen(name);
    for (const char* at = std::strstr(all, name); at; at = std::strstr(at + 1, name))
        if ((at == all || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    return false;
}

void enableClientState(unsigned array) {
    glEnableClientState(array);
}
void disableClientState(unsigned array) {
    glDisableClientState(array);
}
void vertexPointer(int size, unsigned type, int stride, const void* pointer) {
    glVertexPointer(size, type, stride, pointer);
}
void texCoordPointer(int size, unsigned type, int stride, const void* pointer) {
    glTexCoordPointer(size, type, stride, pointer);
}
void colorPointer(int size, unsigned type, int stride, const void* pointer) {
    glColorPointer(size, type, stride, pointer);
}
void drawArrays(unsigned mode, int first, int count) {
    glDrawArrays(mode, first, count);
}

void matrixMode(unsigned mode) {
    glMatrixMode(mode);
}
void pushMatrix() {
    glPushMatrix();
}
void popMatrix() {
    glPopMatrix();
}
void loadIdentity() {
    glLoadIdentity();
}
void loadMatrixf(const float* columnMajor) {
    glLoadMatrixf(columnMajor);
}
void multMatrixf(const float* columnMajor) {
    glMultMatrixf(columnMajor);
}
void translatef(float x, float y, float z) {
    glTranslatef(x, y, z);
}
void rotatef(float degrees, float x, float y, float z) {
    glRotatef(degrees, x, y, z);
}
void scalef(float x, float y, float z) {
    glScalef(x, y, z);
}
void ortho(double left, double right, double bottom, double top, double nearZ, double farZ) {
    glOrtho(left, right, bottom, top, nearZ, farZ);
}

void viewport(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
}
void scissor(int x, int y, int width, int height) {
    glScissor(x, y, width, height);
}
void clearColor(float r, float g, float b, float a) {
    glClearColor(r, g, b, a);
}
void clear(unsigned mask) {
    glClear(mask);
}
void flush() {
    glFlush();
}
void finish() {
    glFinish();
}
void readPixels(int x, int y, int width, int height, unsigned format, unsigned type, void* pixels) {
    glReadPixels(x, y, width, height, format, type, pixels);
}
unsigned getError() {
    return glGetError();
}

namespace {

// The shader entry points, looked up in the current context at first use.
struct ShaderFunctions {
    PFNGLCREATESHADERPROC createShader = nullptr;
    PFNGLSHADERSOURCEPROC shaderSource = nullptr;
    PFNGLCOMPILESHADERPROC compileShader = nullptr;
    PFNGLGETSHADERIVPROC getShaderiv = nullptr;
    PFNGLGETSHADERINFOLOGPROC getShaderInfoLog = nullptr;
    PFNGLDELETESHADERPROC deleteShader = nullptr;
    PFNGLCREATEPROGRAMPROC createProgram = nullptr;
    PFNGLATTACHSHADERPROC attachShader = nullptr;
    PFNGLLINKPROGRAMPROC linkProgram = nullptr;
    PFNGLGETPROGRAMIVPROC getProgramiv = nullptr;
    PFNGLGETPROGRAMINFOLOGPROC getProgramInfoLog = nullptr;
    PFNGLDELETEPROGRAMPROC deleteProgram = nullptr;
    PFNGLUSEPROGRAMPROC useProgram = nullptr;
    bool looked = false, ok = false;
};

template <typename F> bool lookUp(F& function, const char* name) {
    function = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    return function != nullptr;
}

ShaderFunctions& shaders() {
    static ShaderFunctions f;
    if (!f.looked && SDL_GL_GetCurrentContext()) {
        f.looked = true;
        f.ok = lookUp(f.createShader, "glCreateShader") && lookUp(f.shaderSource, "glShaderSource") &&
               lookUp(f.compileShader, "glCompileShader") && lookUp(f.getShaderiv, "glGetShaderiv") &&
               lookUp(f.getShaderInfoLog, "glGetShaderInfoLog") && lookUp(f.deleteShader, "glDeleteShader") &&
               lookUp(f.createProgram, "glCreateProgram") && lookUp(f.attachShader, "glAttachShader") &&
               lookUp(f.linkProgram, "glLinkProgram") && lookUp(f.getProgramiv, "glGetProgramiv") &&
               lookUp(f.getProgramInfoLog, "glGetProgramInfoLog") && lookUp(f.deleteProgram, "glDeleteProgram") &&
               lookUp(f.useProgram, "glUseProgram");
    }
    return f;
}

} // namespace

unsigned createFragmentProgram(const char* source, std::string& error) {
    ShaderFunctions& f = shaders();
    if (!f.ok || !source) {
        error = source ? "no shaders in this context" : "no source";
        return 0;
    }
    GLuint shader = f.createShader(GL_FRAGMENT_SHADER);
    f.shaderSource(shader, 1, &source, nullptr);
    f.compileShader(shader);
    GLint status = 0;
    f.getShaderiv(shader, GL_COMPILE_STATUS, &status);
    char text[1024] = {};
    if (!status) {
        f.getShaderInfoLog(shader, sizeof text - 1, nullptr, text);
        error = text;
        f.deleteShader(shader);
        return 0;
    }
    GLuint program = f.createProgram();
    f.attachShader(program, shader);
    f.linkProgram(program);
    f.deleteShader(shader); // stays alive while attached
    f.getProgramiv(program, GL_LINK_STATUS, &status);
    if (!status) {
        f.getProgramInfoLog(program, sizeof text - 1, nullptr, text);
        error = text;
        f.deleteProgram(program);
        return 0;
    }
    return program;
}

void deleteProgram(unsigned program) {
    if (program && shaders().ok) shaders().deleteProgram(program);
}

void useProgram(unsigned program) {
    if (shaders().ok) shaders().useProgram(program);
}

} // namespace host::ogl
