// The OpenGL 1.x calls the OpenGL picture back end (KGraphicGL) and its window make, as plain functions with the
// GL enumerant values, so that engine code above engine/host never includes a GL header. Each call acts on the
// context current on this thread (see HostWGL.h for making one).
#pragma once

#include <cstdint>
#include <string>

namespace host::ogl {

// Enumerants (the OpenGL values; HostGL.cpp checks each against the GL headers).
enum : unsigned {
    ZERO = 0,
    ONE = 1,
    POINTS = 0x0000,
    LINES = 0x0001,
    TRIANGLES = 0x0004,
    TRIANGLE_STRIP = 0x0005,
    SRC_COLOR = 0x0300,
    ONE_MINUS_SRC_COLOR = 0x0301,
    SRC_ALPHA = 0x0302,
    ONE_MINUS_SRC_ALPHA = 0x0303,
    DST_ALPHA = 0x0304,
    ONE_MINUS_DST_ALPHA = 0x0305,
    DST_COLOR = 0x0306,
    ONE_MINUS_DST_COLOR = 0x0307,
    SRC_ALPHA_SATURATE = 0x0308,
    BLEND = 0x0BE2,
    SCISSOR_TEST = 0x0C11,
    UNPACK_ALIGNMENT = 0x0CF5,
    PACK_ALIGNMENT = 0x0D05,
    MAX_TEXTURE_SIZE = 0x0D33,
    TEXTURE_2D = 0x0DE1,
    TEXTURE_WIDTH = 0x1000,
    TEXTURE_HEIGHT = 0x1001,
    TEXTURE_INTERNAL_FORMAT = 0x1003,
    UNSIGNED_BYTE = 0x1401,
    FLOAT = 0x1406,
    MODELVIEW = 0x1700,
    PROJECTION = 0x1701,
    TEXTURE = 0x1702,
    RGB = 0x1907,
    RGBA = 0x1908,
    REPLACE = 0x1E01,
    MODULATE = 0x2100,
    TEXTURE_ENV_MODE = 0x2200,
    TEXTURE_ENV = 0x2300,
    NEAREST = 0x2600,
    LINEAR = 0x2601,
    LINEAR_MIPMAP_NEAREST = 0x2701,
    LINEAR_MIPMAP_LINEAR = 0x2703,
    TEXTURE_MAG_FILTER = 0x2800,
    TEXTURE_MIN_FILTER = 0x2801,
    TEXTURE_WRAP_S = 0x2802,
    TEXTURE_WRAP_T = 0x2803,
    REPEAT = 0x2901,
    VERTEX_ARRAY = 0x8074,
    COLOR_ARRAY = 0x8076,
    TEXTURE_COORD_ARRAY = 0x8078,
    RGB8 = 0x8051,
    RGBA8 = 0x8058,
    CLAMP_TO_EDGE = 0x812F,
    TEXTURE_MAX_LEVEL = 0x813D,
    MIRRORED_REPEAT = 0x8370,
    TEXTURE0 = 0x84C0,
    TEXTURE1 = 0x84C1,
    TEXTURE_RECTANGLE = 0x84F5, // the rectangle target: any size, coordinates in texels, no mipmaps
    COMBINE = 0x8570,
    COMBINE_RGB = 0x8571,
    COMBINE_ALPHA = 0x8572,
    PREVIOUS = 0x8578,
    SOURCE0_RGB = 0x8580,
    SOURCE0_ALPHA = 0x8588,
    SOURCE1_ALPHA = 0x8589,
    OPERAND0_RGB = 0x8590,
    OPERAND0_ALPHA = 0x8598,
    OPERAND1_ALPHA = 0x8599,
    DEPTH_BUFFER_BIT = 0x0100,
    COLOR_BUFFER_BIT = 0x4000,
};

// Textures.
void genTextures(int count, unsigned* names);
void deleteTextures(int count, const unsigned* names);
bool isTexture(unsigned name);
void bindTexture(unsigned target, unsigned name);
void texImage2D(unsigned target, int level, int internalFormat, int width, int height, unsigned format, unsigned type,
                const void* pixels);
void texSubImage2D(unsigned target, int level, int x, int y, int width, int height, unsigned format, unsigned type,
                   const void* pixels);
void texParameteri(unsigned target, unsigned name, int value);
int getTexParameteri(unsigned target, unsigned name);
int getTexLevelParameteri(unsigned target, int level, unsigned name);
void getTexImage(unsigned target, int level, unsigned format, unsigned type, void* pixels);
void pixelStorei(unsigned name, int value);

// State.
void enable(unsigned capability);
void disable(unsigned capability);
bool isEnabled(unsigned capability);
int getInteger(unsigned name);
void blendFunc(unsigned source, unsigned dest);
void color4f(float r, float g, float b, float a);
void texEnvi(unsigned target, unsigned name, int value);
void activeTexture(unsigned unit);       // multitexture
void clientActiveTexture(unsigned unit); // multitexture
// True when the current context names the extension (for example "GL_ARB_texture_rectangle").
bool hasExtension(const char* name);

// Vertex arrays (client memory; read when the draw is made).
void enableClientState(unsigned array);
void disableClientState(unsigned array);
void vertexPointer(int size, unsigned type, int stride, const void* pointer);
void texCoordPointer(int size, unsigned type, int stride, const void* pointer);
void colorPointer(int size, unsigned type, int stride, const void* pointer);
void drawArrays(unsigned mode, int first, int count);

// Matrices.
void matrixMode(unsigned mode);
void pushMatrix();
void popMatrix();
void loadIdentity();
void loadMatrixf(const float* columnMajor);
void multMatrixf(const float* columnMajor);
void translatef(float x, float y, float z);
void rotatef(float degrees, float x, float y, float z);
void scalef(float x, float y, float z);
void ortho(double left, double right, double bottom, double top, double nearZ, double farZ);

// The framebuffer.
void viewport(int x, int y, int width, int height);
void scissor(int x, int y, int width, int height);
void clearColor(float r, float g, float b, float a);
void clear(unsigned mask);
void flush();
void finish();
// Rows bottom first, as OpenGL keeps them.
void readPixels(int x, int y, int width, int height, unsigned format, unsigned type, void* pixels);
unsigned getError();

// Programmable fragments: a linked program of one GLSL fragment shader, or 0 with the compiler's or linker's
// log in error (also when the context has no shaders).
unsigned createFragmentProgram(const char* source, std::string& error);
void deleteProgram(unsigned program);
void useProgram(unsigned program); // 0: fixed-function drawing

} // namespace host::ogl
