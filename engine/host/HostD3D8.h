// Stand-in for the Direct3D 8 interface the engine's window and picture code are written against: the
// device, textures, surfaces and immediate drawing, over OpenGL (Mesa's compatibility profile), or with no GL
// at all in the recording mode, where calls are kept for tests to inspect.
//
// What it provides, in the engine's terms:
// - a back buffer that is an off-screen framebuffer of back-buffer size; Present draws it scaled and
//   letterboxed into the SDL window; full screen is a desktop-sized borderless window (no mode switch);
//   while its contents need not outlive a present (any swap effect but COPY) and the window matches it, the
//   back buffer is the window's own framebuffer and Present only swaps;
// - every surface (back buffer, render-target textures) in one row order, row 0 = top, as Direct3D has it;
//   pixel centres at integer coordinates (the half-pixel rule is applied on the way to OpenGL);
// - textures keep a CPU copy of every level in the Direct3D memory layout, so locks read back exactly what
//   was written;
// - consecutive draws that share texture and states are gathered into one OpenGL draw, issued when a state
//   changes, the render target changes, a surface is read, the frame is presented or the scene is cleared;
//   the pixels are the same as with every call drawn at once;
// - TestCooperativeLevel follows Direct3D's states: lost while a full-screen device's window is not in front,
//   not-reset once it is, OK after a successful Reset; loss, failing resets and exhausted video memory can
//   be simulated for tests.
// Result codes, format numbers and state values keep their Direct3D 8 values where the engine logs or
// compares them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct SDL_Window;

// ----- Result codes ------------------------------------------------------------------------------------------

using HRESULT = int32_t;
constexpr HRESULT D3D_OK = 0;
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = HRESULT(0x8876017Cu);
constexpr HRESULT D3DERR_DEVICELOST = HRESULT(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = HRESULT(0x88760869u);
constexpr HRESULT D3DERR_NOTFOUND = HRESULT(0x88760866u);
constexpr HRESULT D3DERR_NOTAVAILABLE = HRESULT(0x8876086Au);
constexpr HRESULT D3DERR_INVALIDCALL = HRESULT(0x8876086Cu);
inline bool FAILED(HRESULT result) {
    return result < 0;
}
inline bool SUCCEEDED(HRESULT result) {
    return result >= 0;
}

constexpr unsigned D3D_SDK_VERSION = 220;

using D3DCOLOR = uint32_t; // 0xAARRGGBB

// ----- Enumerations (Direct3D 8 values) ----------------------------------------------------------------------

enum D3DFORMAT : int {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_R8G8B8 = 20,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_R5G6B5 = 23,
    D3DFMT_X1R5G5B5 = 24,
    D3DFMT_A1R5G5B5 = 25,
    D3DFMT_A4R4G4B4 = 26,
    D3DFMT_D32 = 71,
    D3DFMT_D15S1 = 73,
    D3DFMT_D24S8 = 75,
    D3DFMT_D24X8 = 77,
    D3DFMT_D24X4S4 = 79,
    D3DFMT_D16 = 80,
};

enum D3DPOOL : int { D3DPOOL_DEFAULT = 0, D3DPOOL_MANAGED = 1, D3DPOOL_SYSTEMMEM = 2 };
enum D3DRESOURCETYPE : int { D3DRTYPE_SURFACE = 1, D3DRTYPE_TEXTURE = 3, D3DRTYPE_VERTEXBUFFER = 6 };
enum D3DDEVTYPE : int { D3DDEVTYPE_HAL = 1 };
enum D3DMULTISAMPLE_TYPE : int { D3DMULTISAMPLE_NONE = 0 };
enum D3DSWAPEFFECT : int { D3DSWAPEFFECT_DISCARD = 1, D3DSWAPEFFECT_FLIP = 2, D3DSWAPEFFECT_COPY = 3 };
enum D3DBACKBUFFER_TYPE : int { D3DBACKBUFFER_TYPE_MONO = 0 };

constexpr uint32_t D3DUSAGE_RENDERTARGET = 0x1;
constexpr uint32_t D3DUSAGE_DEPTHSTENCIL = 0x2;
constexpr uint32_t D3DUSAGE_WRITEONLY = 0x8;
constexpr uint32_t D3DUSAGE_DYNAMIC = 0x200;

constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;

constexpr uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0;
constexpr uint32_t D3DPRESENT_INTERVAL_ONE = 1;
constexpr uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;
constexpr uint32_t D3DPRESENT_RATE_DEFAULT = 0;
constexpr uint32_t D3DPRESENTFLAG_LOCKABLE_BACKBUFFER = 0x1;

constexpr uint32_t D3DCLEAR_TARGET = 0x1;
constexpr uint32_t D3DCLEAR_ZBUFFER = 0x2;
constexpr uint32_t D3DCLEAR_STENCIL = 0x4;

constexpr uint32_t D3DLOCK_READONLY = 0x10;
constexpr uint32_t D3DLOCK_NOSYSLOCK = 0x800;
constexpr uint32_t D3DLOCK_NO_DIRTY_UPDATE = 0x8000;

constexpr uint32_t D3DPTEXTURECAPS_POW2 = 0x2;
constexpr uint32_t D3DPTEXTURECAPS_SQUAREONLY = 0x20;
constexpr uint32_t D3DVTXPCAPS_DIRECTIONALLIGHTS = 0x8; // a non-zero vertex-processing capability

enum D3DTRANSFORMSTATETYPE : int { D3DTS_VIEW = 2, D3DTS_PROJECTION = 3, D3DTS_WORLD = 256 };

enum D3DRENDERSTATETYPE : int {
    D3DRS_ZENABLE = 7,
    D3DRS_ZWRITEENABLE = 14,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_DITHERENABLE = 26,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_SPECULARENABLE = 29,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
    D3DRS_COLORVERTEX = 141,
};

enum D3DCULL : int { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };

enum D3DBLEND : int {
    D3DBLEND_ZERO = 1,
    D3DBLEND_ONE = 2,
    D3DBLEND_SRCCOLOR = 3,
    D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5,
    D3DBLEND_INVSRCALPHA = 6,
    D3DBLEND_DESTALPHA = 7,
    D3DBLEND_INVDESTALPHA = 8,
    D3DBLEND_DESTCOLOR = 9,
    D3DBLEND_INVDESTCOLOR = 10,
    D3DBLEND_SRCALPHASAT = 11,
};

enum D3DTEXTURESTAGESTATETYPE : int {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
    D3DTSS_TEXCOORDINDEX = 11,
    D3DTSS_ADDRESSU = 13,
    D3DTSS_ADDRESSV = 14,
    D3DTSS_MAGFILTER = 16,
    D3DTSS_MINFILTER = 17,
    D3DTSS_MIPFILTER = 18,
};

// Texture stage operations and arguments: the subset the engine uses (others are refused).
enum D3DTEXTUREOP : int { D3DTOP_DISABLE = 1, D3DTOP_SELECTARG1 = 2, D3DTOP_SELECTARG2 = 3, D3DTOP_MODULATE = 4 };
constexpr uint32_t D3DTA_DIFFUSE = 0;
constexpr uint32_t D3DTA_CURRENT = 1;
constexpr uint32_t D3DTA_TEXTURE = 2;

enum D3DTEXTUREFILTERTYPE : int { D3DTEXF_NONE = 0, D3DTEXF_POINT = 1, D3DTEXF_LINEAR = 2 };
enum D3DTEXTUREADDRESS : int { D3DTADDRESS_WRAP = 1, D3DTADDRESS_MIRROR = 2, D3DTADDRESS_CLAMP = 3 };

enum D3DPRIMITIVETYPE : int {
    D3DPT_POINTLIST = 1,
    D3DPT_LINELIST = 2,
    D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4,
    D3DPT_TRIANGLESTRIP = 5,
    D3DPT_TRIANGLEFAN = 6,
};

// Flexible vertex format bits. DrawPrimitiveUP takes D3DFVF_XYZ with optional D3DFVF_DIFFUSE and 0 to 2
// texture coordinate pairs (0x142: 24-byte vertices; 0x242: 32-byte vertices).
constexpr uint32_t D3DFVF_XYZ = 0x002;
constexpr uint32_t D3DFVF_XYZRHW = 0x004;
constexpr uint32_t D3DFVF_NORMAL = 0x010;
constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t D3DFVF_TEX2 = 0x200;

enum D3DLIGHTTYPE : int { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };

// ----- Records -----------------------------------------------------------------------------------------------

// Row-major, applied to row vectors: position = v x World x View x Projection.
struct D3DMATRIX {
    float m[4][4];
};

struct D3DVIEWPORT8 {
    uint32_t X, Y, Width, Height; // top-left origin, surface pixels
    float MinZ, MaxZ;
};

struct D3DRECT {
    int32_t x1, y1, x2, y2; // x2, y2 exclusive
};

struct D3DLOCKED_RECT {
    int Pitch; // bytes per row
    void* pBits;
};

struct D3DSURFACE_DESC {
    D3DFORMAT Format;
    D3DRESOURCETYPE Type;
    uint32_t Usage;
    D3DPOOL Pool;
    uint32_t Size; // bytes
    D3DMULTISAMPLE_TYPE MultiSampleType;
    uint32_t Width, Height;
};

struct D3DDISPLAYMODE {
    uint32_t Width, Height;
    uint32_t RefreshRate;
    D3DFORMAT Format;
};

struct D3DADAPTER_IDENTIFIER8 {
    char Driver[512];
    char Description[512];
    uint32_t VendorId, DeviceId, SubSysId, Revision;
};

struct D3DCAPS8 {
    D3DDEVTYPE DeviceType;
    uint32_t AdapterOrdinal;
    uint32_t TextureCaps;
    uint32_t MaxTextureWidth, MaxTextureHeight;
    uint32_t VertexProcessingCaps;
    uint32_t MaxSimultaneousTextures;
};

struct D3DPRESENT_PARAMETERS {
    uint32_t BackBufferWidth = 0, BackBufferHeight = 0;
    D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
    uint32_t BackBufferCount = 1;
    D3DMULTISAMPLE_TYPE MultiSampleType = D3DMULTISAMPLE_NONE;
    D3DSWAPEFFECT SwapEffect = D3DSWAPEFFECT_DISCARD;
    SDL_Window* hDeviceWindow = nullptr;
    bool Windowed = true;
    bool EnableAutoDepthStencil = false;
    D3DFORMAT AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    uint32_t Flags = 0;
    uint32_t FullScreen_RefreshRateInHz = D3DPRESENT_RATE_DEFAULT;
    uint32_t FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
};

struct D3DDEVICE_CREATION_PARAMETERS {
    uint32_t AdapterOrdinal;
    D3DDEVTYPE DeviceType;
    SDL_Window* hFocusWindow;
    uint32_t BehaviorFlags;
};

struct D3DCOLORVALUE {
    float r, g, b, a;
};
struct D3DVECTOR {
    float x, y, z;
};
struct D3DLIGHT8 {
    D3DLIGHTTYPE Type;
    D3DCOLORVALUE Diffuse, Specular, Ambient;
    D3DVECTOR Position, Direction;
    float Range, Falloff, Attenuation0, Attenuation1, Attenuation2, Theta, Phi;
};
struct D3DMATERIAL8 {
    D3DCOLORVALUE Diffuse, Ambient, Specular, Emissive;
    float Power;
};

// ----- Objects -----------------------------------------------------------------------------------------------

class IDirect3D8;
class IDirect3DDevice8;
class IDirect3DTexture8;
class IDirect3DSurface8;
class IDirect3DVertexBuffer8;
struct D3D8Backend; // the OpenGL side of a device (HostD3D8GL.cpp); absent in the recording mode

// How a Direct3D object is made: over OpenGL into SDL windows, or recording with no GL at all.
enum class D3D8Mode { OpenGL, Recording };

// What the recording mode reports as the adapter (the OpenGL mode asks SDL and the GL driver).
struct D3D8RecordingSetup {
    D3DDISPLAYMODE desktop = {1024, 768, 60, D3DFMT_X8R8G8B8};
    uint32_t maxTextureSize = 2048;
    bool squareTexturesOnly = false;
    uint32_t textureMemory = 256u << 20;
    // Support answers of CheckDeviceFormat, indexed by format number (textures / render-target textures).
    std::function<bool(D3DFORMAT)> textureFormatSupported;      // null: all seven but R8G8B8
    std::function<bool(D3DFORMAT)> renderTargetFormatSupported; // null: all seven but R8G8B8
};

// The Direct3D object: adapter questions and device creation. Null when OpenGL cannot be used.
IDirect3D8* Direct3DCreate8(unsigned sdkVersion);
IDirect3D8* Direct3DCreate8Recording(const D3D8RecordingSetup& setup = {});

// Area of a destWidth x destHeight window that a sourceWidth x sourceHeight picture fills when scaled to
// fit with its aspect kept and centred (black bars around it).
struct D3D8PresentArea {
    int x = 0, y = 0, width = 0, height = 0;
};
D3D8PresentArea letterboxArea(int sourceWidth, int sourceHeight, int destWidth, int destHeight);

// Reference counting as the engine expects it: made with one reference, deleted when the last goes. A
// texture level's surface shares its texture's count.
class D3D8Unknown {
public:
    virtual uint32_t AddRef() { return ++references; }
    virtual uint32_t Release(); // deletes the object at 0; returns the count left
    virtual uint32_t referenceCount() const { return references; }

protected:
    D3D8Unknown() = default;
    virtual ~D3D8Unknown() = default;
    D3D8Unknown(const D3D8Unknown&) = delete;
    D3D8Unknown& operator=(const D3D8Unknown&) = delete;

private:
    uint32_t references = 1;
};

class IDirect3D8 : public D3D8Unknown {
public:
    D3D8Mode mode() const { return mode_; }

    HRESULT GetAdapterIdentifier(uint32_t adapter, uint32_t flags, D3DADAPTER_IDENTIFIER8* identifier);
    HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode);
    // Texture and render-target format answers (R8G8B8 is never supported); surfaces: the four back-buffer
    // formats X8R8G8B8, R5G6B5, X1R5G5B5 and A8R8G8B8.
    HRESULT CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, uint32_t usage,
                              D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat);
    HRESULT GetDeviceCaps(uint32_t adapter, D3DDEVTYPE type, D3DCAPS8* caps);
    // OpenGL mode: creates the GL context on the window (made with SDL_WINDOW_OPENGL) and owns it; applies
    // windowed or full screen. Recording mode: the window may be null.
    HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE type, SDL_Window* focusWindow, uint32_t behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device);

private:
    friend IDirect3D8* Direct3DCreate8(unsigned);
    friend IDirect3D8* Direct3DCreate8Recording(const D3D8RecordingSetup&);
    friend class IDirect3DDevice8;
    explicit IDirect3D8(D3D8Mode mode) : mode_(mode) {}
    bool formatAnswer(D3DFORMAT format, bool renderTarget) const;

    D3D8Mode mode_;
    D3D8RecordingSetup setup_;
};

// The states one drawing call was made with, as the recording mode keeps them.
struct D3D8StageState {
    IDirect3DTexture8* texture = nullptr; // as bound (the device holds a reference while it is)
    uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2, texCoordIndex;
    uint32_t addressU, addressV, magFilter, minFilter, mipFilter;
};
struct D3D8DrawState {
    bool alphaBlend;
    uint32_t srcBlend, destBlend, cullMode, zEnable, zWriteEnable, lighting;
    D3D8StageState stage[2];
    D3DMATRIX world, view, projection;
    D3DVIEWPORT8 viewport;
    IDirect3DSurface8* renderTarget; // as set (not a reference)
};
// One drawing call as the recording mode keeps it.
struct D3D8RecordedDraw {
    D3DPRIMITIVETYPE type;
    uint32_t primitiveCount;
    uint32_t fvf;
    uint32_t stride;
    std::vector<uint8_t> vertices; // copied as handed in
    D3D8DrawState state;
};

// Every device call the recording mode keeps, in order (arguments a, b, c as listed).
enum class D3D8Call {
    SetRenderState,       // state, value
    SetTextureStageState, // stage, type, value
    SetTexture,           // stage, 1 when a texture (0 for none)
    SetTransform,         // transform type
    SetViewport,          // x, y, width (height in the viewport record of the draws)
    SetVertexShader,      // fvf
    SetPixelShader,       // handle
    SetRenderTarget,      // 1 when the back buffer, 0 for a texture surface
    Clear,                // flags, colour
    BeginScene,
    EndScene,
    Present,
    Reset,           // result
    DrawPrimitiveUP, // index into recordedDraws()
    CreateTexture,   // width, height, result
};
struct D3D8RecordedCall {
    D3D8Call call;
    uint32_t a = 0, b = 0, c = 0;
};

class IDirect3DDevice8 : public D3D8Unknown {
public:
    // ----- Device state -----
    HRESULT TestCooperativeLevel();
    // Re-applies size, format, windowed flag and presentation interval: full screen makes the window a
    // desktop-sized borderless one, windowed returns it to a normal window (whose size and place the window
    // layer sets). Fails with D3DERR_DEVICELOST while the device is lost and not yet resettable, and with
    // D3DERR_INVALIDCALL while default-pool objects (render targets, depth surfaces, vertex buffers) or a
    // reference to the back buffer are still held. Returns every state to its default.
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters);
    HRESULT GetDeviceCaps(D3DCAPS8* caps);
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters);
    uint32_t GetAvailableTextureMem();

    // ----- Frame -----
    HRESULT BeginScene();
    HRESULT EndScene();
    // Clears the current viewport of the render target (colour and/or depth). rects must be null.
    HRESULT Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z, uint32_t stencil);
    // Shows the back buffer in the window (all arguments null). With D3DSWAPEFFECT_COPY the back buffer keeps
    // its contents; with the others they are kept too unless the window's swap drops them (software renderers
    // keep them).
    HRESULT Present(const D3DRECT* sourceRect, const D3DRECT* destRect, SDL_Window* overrideWindow,
                    const void* dirtyRegion);
    HRESULT GetBackBuffer(uint32_t index, D3DBACKBUFFER_TYPE type, IDirect3DSurface8** surface); // AddRef'd

    // ----- States -----
    HRESULT SetViewport(const D3DVIEWPORT8* viewport);
    HRESULT GetViewport(D3DVIEWPORT8* viewport);
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix);
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value);
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value);
    HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value); // stages 0, 1
    HRESULT GetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t* value);
    HRESULT SetTexture(uint32_t stage, IDirect3DTexture8* texture); // holds a reference while bound
    HRESULT SetVertexShader(uint32_t fvf);
    HRESULT SetPixelShader(uint32_t handle);                               // only 0 (no shader) is accepted
    HRESULT CreatePixelShader(const uint32_t* function, uint32_t* handle); // no shaders: D3DERR_NOTAVAILABLE
    HRESULT DeletePixelShader(uint32_t handle);
    // Lighting and material are kept as state only (nothing here draws lit geometry).
    HRESULT SetLight(uint32_t index, const D3DLIGHT8* light);
    HRESULT LightEnable(uint32_t index, bool enable);
    HRESULT SetMaterial(const D3DMATERIAL8* material);

    // ----- Resources -----
    // Managed and system-memory textures keep a CPU copy of each level; render targets (D3DUSAGE_RENDERTARGET,
    // D3DPOOL_DEFAULT, one level) live in OpenGL. Levels 0 means the full chain.
    HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture8** texture);
    HRESULT CreateDepthStencilSurface(uint32_t width, uint32_t height, D3DFORMAT format,
                                      D3DMULTISAMPLE_TYPE multiSample, IDirect3DSurface8** surface);
    HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer);
    // Render into a render-target texture's level 0 or the back buffer; depth may be null.
    HRESULT SetRenderTarget(IDirect3DSurface8* renderTarget, IDirect3DSurface8* depthStencil);
    // The surfaces draws go to now (AddRef'd); the depth surface may be none (D3DERR_NOTFOUND).
    HRESULT GetRenderTarget(IDirect3DSurface8** renderTarget);
    HRESULT GetDepthStencilSurface(IDirect3DSurface8** depthStencil);
    // Copies the whole source surface into the destination (same size and format; rects must be null):
    // render-target or back-buffer contents into a system-memory or managed texture level.
    HRESULT CopyRects(IDirect3DSurface8* source, const D3DRECT* sourceRects, uint32_t count,
                      IDirect3DSurface8* destination, const void* destPoints);

    // ----- Drawing -----
    // Draws from caller memory (copied at once). The vertex format set by SetVertexShader must be
    // D3DFVF_XYZ | [D3DFVF_DIFFUSE] | [D3DFVF_TEX1 or D3DFVF_TEX2] with the matching stride.
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices, uint32_t stride);

    // ----- Beyond Direct3D: the window layer's view and tests -----
    D3D8Mode mode() const { return mode_; }
    SDL_Window* window() const { return parameters_.hDeviceWindow; }
    const D3DPRESENT_PARAMETERS& presentationParameters() const { return parameters_; }
    // Where the back buffer shows in the window, in window coordinates (the mouse mapping needs it).
    // Recording mode: the whole back buffer at (0, 0).
    D3D8PresentArea presentArea() const;
    // "The device window is the foreground window". The default asks SDL for input focus on a window that is
    // not minimised; the window layer installs its own notion so that both agree, tests a flag.
    void setForegroundQuery(std::function<bool()> query);

    // Test hooks.
    void simulateDeviceLost(); // lost now; DEVICENOTRESET on the test after next, until Reset
    void failNextResets(int count, HRESULT result = D3DERR_DEVICELOST);
    void failNextTextureCreations(int count); // D3DERR_OUTOFVIDEOMEMORY
    // Total bytes of textures that may exist at once; creation beyond it fails with D3DERR_OUTOFVIDEOMEMORY.
    // 0 = no limit (the default).
    void setVideoMemoryBudget(uint64_t bytes);
    uint64_t textureBytesInUse() const { return textureBytes_; }
    // Gathering of draws into one OpenGL call (on by default); off draws each call at once.
    void setBatching(bool on);
    // Whether the back buffer may be the window's own framebuffer (on by default): while the swap effect is not
    // COPY and the window's drawable matches the back buffer in size and pixel layout, Present is then the
    // window's swap alone, with no copy of the frame before it. Off, it always lives apart and is copied.
    void allowBackBufferInWindow(bool allowed);
    bool backBufferInWindow() const;

    // Counters: OpenGL draw calls and DrawPrimitiveUP calls since the last resetCounters().
    uint64_t glDrawCalls() const { return glDrawCalls_; }
    uint64_t drawPrimitiveCalls() const { return drawCalls_; }
    uint64_t presents() const { return presents_; }
    void resetCounters() { glDrawCalls_ = drawCalls_ = 0; }
    // Waits until OpenGL has finished every issued draw (issues the gathered ones first).
    void finish();

    // Recording mode: every call kept since the last clearRecording().
    const std::vector<D3D8RecordedCall>& recordedCalls() const { return calls_; }
    const std::vector<D3D8RecordedDraw>& recordedDraws() const { return draws_; }
    void clearRecording();

private:
    friend class IDirect3D8;
    friend class IDirect3DTexture8;
    friend class IDirect3DSurface8;
    friend class IDirect3DVertexBuffer8;
    friend struct D3D8Backend;
    IDirect3DDevice8(IDirect3D8* d3d, D3D8Mode mode);
    ~IDirect3DDevice8() override;

    bool foreground();
    void resetStates();
    void record(D3D8Call call, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0);
    void flush(); // issues gathered draws
    HRESULT applyParameters(const D3DPRESENT_PARAMETERS& parameters);
    void updateCombinedTransform();

    IDirect3D8* d3d_;
    D3D8Mode mode_;
    D3DPRESENT_PARAMETERS parameters_;
    D3DDEVICE_CREATION_PARAMETERS creation_ = {};
    std::unique_ptr<D3D8Backend> gl_;
    std::function<bool()> foregroundQuery_;

    enum class Cooperation { Ok, Lost, NotReset } cooperation_ = Cooperation::Ok;
    int simulatedLostTests_ = 0;
    int failingResets_ = 0;
    HRESULT failingResetResult_ = D3DERR_DEVICELOST;
    int failingCreations_ = 0;
    uint64_t budget_ = 0;
    uint64_t textureBytes_ = 0;
    int defaultPoolObjects_ = 0;
    bool inScene_ = false;

    uint32_t renderStates_[256] = {};
    D3D8StageState stages_[2] = {};
    D3DMATRIX world_, view_, projection_, combined_;
    bool combinedDirty_ = true;
    D3DVIEWPORT8 viewport_ = {};
    uint32_t fvf_ = 0;
    IDirect3DSurface8* backBuffer_ = nullptr;   // owned by the device
    IDirect3DSurface8* renderTarget_ = nullptr; // referenced
    IDirect3DSurface8* depthStencil_ = nullptr; // referenced, may be null
    // Live resources, told when the device goes first (they then keep only their CPU side).
    std::vector<IDirect3DTexture8*> textures_;
    std::vector<IDirect3DSurface8*> depthSurfaces_;
    std::vector<IDirect3DVertexBuffer8*> vertexBuffers_;
    D3DLIGHT8 lights_[8] = {};
    bool lightEnabled_[8] = {};
    D3DMATERIAL8 material_ = {};

    uint64_t glDrawCalls_ = 0, drawCalls_ = 0, presents_ = 0;
    std::vector<D3D8RecordedCall> calls_;
    std::vector<D3D8RecordedDraw> draws_;
};

class IDirect3DSurface8 : public D3D8Unknown {
public:
    uint32_t AddRef() override;
    uint32_t Release() override;
    uint32_t referenceCount() const override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc);
    // Back buffer: read-only locks return the rendered frame (row 0 = top), X8R8G8B8 words 0xAARRGGBB.
    // Texture levels: the level's CPU copy. rect null = the whole surface.
    HRESULT LockRect(D3DLOCKED_RECT* locked, const D3DRECT* rect, uint32_t flags);
    HRESULT UnlockRect();
    IDirect3DTexture8* container() const { return texture_; } // null for the back buffer and depth surfaces

private:
    friend class IDirect3DDevice8;
    friend class IDirect3DTexture8;
    friend struct D3D8Backend;
    enum class Kind { BackBuffer, TextureLevel, DepthStencil };
    IDirect3DSurface8(IDirect3DDevice8* device, Kind kind, IDirect3DTexture8* texture, uint32_t level);
    ~IDirect3DSurface8() override;

    IDirect3DDevice8* device_;
    Kind kind_;
    IDirect3DTexture8* texture_;
    uint32_t level_;
    D3DSURFACE_DESC desc_ = {};
    bool locked_ = false;
    std::vector<uint8_t> pixels_; // the back buffer: the recording mode's pixels, or the last read
    uint32_t glRenderbuffer_ = 0; // depth surfaces
};

class IDirect3DTexture8 : public D3D8Unknown {
public:
    uint32_t GetLevelCount() const { return uint32_t(levels_.size()); }
    HRESULT GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc);
    // pBits and Pitch in the Direct3D layout of the format (A8R8G8B8: 32-bit words 0xAARRGGBB; 16-bit
    // formats: 16-bit words); pitch = width x bytes per pixel. Unlocking a managed level uploads it.
    // Render targets cannot be locked (copy them out with CopyRects).
    HRESULT LockRect(uint32_t level, D3DLOCKED_RECT* locked, const D3DRECT* rect, uint32_t flags);
    HRESULT UnlockRect(uint32_t level);
    HRESULT GetSurfaceLevel(uint32_t level, IDirect3DSurface8** surface); // AddRef'd (holds the texture)

private:
    friend class IDirect3DDevice8;
    friend class IDirect3DSurface8;
    friend struct D3D8Backend;
    struct Level {
        uint32_t width, height;
        std::vector<uint8_t> pixels; // CPU copy (empty for render targets)
        IDirect3DSurface8* surface;  // owned
        bool locked = false, readOnly = false;
    };
    IDirect3DTexture8(IDirect3DDevice8* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                      D3DFORMAT format, D3DPOOL pool);
    ~IDirect3DTexture8() override;
    uint64_t bytes() const;

    IDirect3DDevice8* device_;
    D3DFORMAT format_;
    uint32_t usage_;
    D3DPOOL pool_;
    std::vector<Level> levels_;
    uint32_t glTexture_ = 0;                                                 // managed textures and render targets
    uint32_t glFramebuffer_ = 0;                                             // render targets
    uint32_t glMinFilter_ = 0, glMagFilter_ = 0, glWrapS_ = 0, glWrapT_ = 0; // parameters last set
    bool pendingDraws_ = false;                                              // sampled by gathered draws not yet issued
};

class IDirect3DVertexBuffer8 : public D3D8Unknown {
public:
    HRESULT Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags);
    HRESULT Unlock();

private:
    friend class IDirect3DDevice8;
    IDirect3DVertexBuffer8(IDirect3DDevice8* device, uint32_t length, D3DPOOL pool);
    ~IDirect3DVertexBuffer8() override;

    IDirect3DDevice8* device_;
    D3DPOOL pool_;
    std::vector<uint8_t> data_;
};
