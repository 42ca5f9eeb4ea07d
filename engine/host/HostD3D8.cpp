// The Direct3D 8 stand-in's device logic, the same in both modes: adapter answers, the cooperative-level
// state machine, states and their defaults, textures with their CPU copies, surfaces and the recording of
// calls. The OpenGL work is handed to D3D8Backend (HostD3D8GL.cpp) when the device has one.
#include "HostD3D8Backend.h"
#include "HostWindow.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstring>

using namespace host::d3d8;

namespace {

const D3DMATRIX kIdentity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

bool isEngineFormat(D3DFORMAT format) {
    return format >= D3DFMT_R8G8B8 && format <= D3DFMT_A4R4G4B4;
}

bool isDepthFormat(D3DFORMAT format) {
    return format == D3DFMT_D16 || format == D3DFMT_D24X8 || format == D3DFMT_D24S8 || format == D3DFMT_D32;
}

D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

// The most primitives one draw takes, as hardware of this class reports; larger counts would overflow the
// vertex arithmetic.
constexpr uint32_t kMaxPrimitiveCount = 0xFFFFF;

// Vertices drawn by primitiveCount primitives of a type; 0 for an unknown type or too many primitives.
uint32_t vertexCount(D3DPRIMITIVETYPE type, uint32_t primitives) {
    if (primitives > kMaxPrimitiveCount) return 0;
    switch (type) {
    case D3DPT_POINTLIST:
        return primitives;
    case D3DPT_LINELIST:
        return primitives * 2;
    case D3DPT_LINESTRIP:
        return primitives + 1;
    case D3DPT_TRIANGLELIST:
        return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return primitives + 2;
    }
    return 0;
}

// Stride of a vertex format DrawPrimitiveUP takes (position, optional diffuse, 0 to 2 coordinate pairs);
// 0 for any other format.
uint32_t fvfStride(uint32_t fvf) {
    uint32_t texBits = fvf & 0xF00;
    if ((fvf & ~(D3DFVF_XYZ | D3DFVF_DIFFUSE | 0xF00u)) != 0 || (fvf & D3DFVF_XYZ) == 0 || texBits > D3DFVF_TEX2)
        return 0;
    return 12 + ((fvf & D3DFVF_DIFFUSE) ? 4 : 0) + (texBits >> 8) * 8;
}

void fillRect(uint8_t* pixels, uint32_t pitch, uint32_t bytes, const D3DRECT& area, uint32_t value) {
    for (int32_t y = area.y1; y < area.y2; ++y) {
        uint8_t* row = pixels + size_t(y) * pitch + size_t(area.x1) * bytes;
        for (int32_t x = area.x1; x < area.x2; ++x, row += bytes) std::memcpy(row, &value, bytes);
    }
}

} // namespace

namespace host::d3d8 {

uint32_t formatBytes(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        return 4;
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
        return 2;
    default:
        return 0;
    }
}

bool hasAlpha(D3DFORMAT format) {
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4;
}

uint32_t packColor(D3DFORMAT format, D3DCOLOR color) {
    uint32_t a = color >> 24, r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return color;
    case D3DFMT_X8R8G8B8:
        return color | 0xFF000000u;
    case D3DFMT_R8G8B8:
        return color & 0xFFFFFFu;
    case D3DFMT_R5G6B5:
        return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case D3DFMT_X1R5G5B5:
        return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case D3DFMT_A1R5G5B5:
        return ((a >> 7) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case D3DFMT_A4R4G4B4:
        return ((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4);
    default:
        return 0;
    }
}

} // namespace host::d3d8

D3D8PresentArea letterboxArea(int sourceWidth, int sourceHeight, int destWidth, int destHeight) {
    D3D8PresentArea area;
    if (sourceWidth <= 0 || sourceHeight <= 0 || destWidth <= 0 || destHeight <= 0) return area;
    double scale = std::min(double(destWidth) / sourceWidth, double(destHeight) / sourceHeight);
    area.width = std::min(destWidth, int(std::lround(sourceWidth * scale)));
    area.height = std::min(destHeight, int(std::lround(sourceHeight * scale)));
    area.x = (destWidth - area.width) / 2;
    area.y = (destHeight - area.height) / 2;
    return area;
}

uint32_t D3D8Unknown::Release() {
    uint32_t left = --references;
    if (left == 0) delete this;
    return left;
}

// ----- The Direct3D object -----------------------------------------------------------------------------------

IDirect3D8* Direct3DCreate8(unsigned sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    if (!probeOpenGL().usable) return nullptr;
    return new IDirect3D8(D3D8Mode::OpenGL);
}

IDirect3D8* Direct3DCreate8Recording(const D3D8RecordingSetup& setup) {
    IDirect3D8* d3d = new IDirect3D8(D3D8Mode::Recording);
    d3d->setup_ = setup;
    return d3d;
}

HRESULT IDirect3D8::GetAdapterIdentifier(uint32_t adapter, uint32_t, D3DADAPTER_IDENTIFIER8* identifier) {
    if (adapter != 0 || !identifier) return D3DERR_INVALIDCALL;
    std::memset(identifier, 0, sizeof *identifier);
    std::string description = "Recording device", driver = "no OpenGL";
    if (mode_ == D3D8Mode::OpenGL) {
        description = probeOpenGL().renderer;
        driver = probeOpenGL().version + " (" + probeOpenGL().vendor + ")";
    }
    std::snprintf(identifier->Description, sizeof identifier->Description, "%s", description.c_str());
    std::snprintf(identifier->Driver, sizeof identifier->Driver, "%s", driver.c_str());
    return D3D_OK;
}

HRESULT IDirect3D8::GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) {
    if (adapter != 0 || !mode) return D3DERR_INVALIDCALL;
    if (mode_ == D3D8Mode::Recording) {
        *mode = setup_.desktop;
        return D3D_OK;
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return D3DERR_NOTAVAILABLE;
    mode->Width = uint32_t(desktop.w);
    mode->Height = uint32_t(desktop.h);
    mode->RefreshRate = desktop.refresh_rate > 0 ? uint32_t(desktop.refresh_rate) : 60;
    int bits = SDL_BITSPERPIXEL(desktop.format);
    mode->Format = bits == 16 ? D3DFMT_R5G6B5 : bits == 15 ? D3DFMT_X1R5G5B5 : D3DFMT_X8R8G8B8;
    return D3D_OK;
}

bool IDirect3D8::formatAnswer(D3DFORMAT format, bool renderTarget) const {
    if (!isEngineFormat(format) || format == D3DFMT_R8G8B8) return false;
    if (mode_ == D3D8Mode::OpenGL) return !renderTarget || probeOpenGL().renderTargetFormat[format];
    const auto& answer = renderTarget ? setup_.renderTargetFormatSupported : setup_.textureFormatSupported;
    return answer ? answer(format) : true;
}

HRESULT IDirect3D8::CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT, uint32_t usage,
                                      D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
    if (adapter != 0 || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    bool supported = false;
    if (usage & D3DUSAGE_DEPTHSTENCIL)
        supported = isDepthFormat(checkFormat);
    else if (resourceType == D3DRTYPE_SURFACE)
        supported = checkFormat == D3DFMT_X8R8G8B8 || checkFormat == D3DFMT_A8R8G8B8 || checkFormat == D3DFMT_R5G6B5 ||
                    checkFormat == D3DFMT_X1R5G5B5;
    else if (resourceType == D3DRTYPE_TEXTURE)
        supported = formatAnswer(checkFormat, (usage & D3DUSAGE_RENDERTARGET) != 0);
    return supported ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT IDirect3D8::GetDeviceCaps(uint32_t adapter, D3DDEVTYPE type, D3DCAPS8* caps) {
    if (adapter != 0 || type != D3DDEVTYPE_HAL || !caps) return D3DERR_INVALIDCALL;
    std::memset(caps, 0, sizeof *caps);
    caps->DeviceType = D3DDEVTYPE_HAL;
    bool squareOnly = mode_ == D3D8Mode::Recording && setup_.squareTexturesOnly;
    caps->TextureCaps = D3DPTEXTURECAPS_POW2 | (squareOnly ? D3DPTEXTURECAPS_SQUAREONLY : 0);
    uint32_t size =
        mode_ == D3D8Mode::OpenGL ? std::min<uint32_t>(probeOpenGL().maxTextureSize, 8192) : setup_.maxTextureSize;
    caps->MaxTextureWidth = caps->MaxTextureHeight = size;
    caps->VertexProcessingCaps = D3DVTXPCAPS_DIRECTIONALLIGHTS;
    caps->MaxSimultaneousTextures = 2;
    return D3D_OK;
}

HRESULT IDirect3D8::CreateDevice(uint32_t adapter, D3DDEVTYPE type, SDL_Window* focusWindow, uint32_t behaviorFlags,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != 0 || type != D3DDEVTYPE_HAL || !parameters) return D3DERR_INVALIDCALL;
    if (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0) return D3DERR_INVALIDCALL;
    SDL_Window* window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
    if (mode_ == D3D8Mode::OpenGL && !window) return D3DERR_INVALIDCALL;
    IDirect3DDevice8* created = new IDirect3DDevice8(this, mode_);
    created->parameters_ = *parameters;
    created->parameters_.hDeviceWindow = window;
    created->creation_ = {adapter, type, focusWindow, behaviorFlags};
    if (mode_ == D3D8Mode::OpenGL) {
        std::string error;
        created->gl_ = D3D8Backend::create(*created, window, error);
        if (!created->gl_) {
            created->Release();
            return D3DERR_NOTAVAILABLE;
        }
    }
    HRESULT result = created->applyParameters(created->parameters_);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *device = created;
    return D3D_OK;
}

// ----- The device --------------------------------------------------------------------------------------------

IDirect3DDevice8::IDirect3DDevice8(IDirect3D8* d3d, D3D8Mode mode) : d3d_(d3d), mode_(mode) {
    d3d_->AddRef();
    world_ = view_ = projection_ = combined_ = kIdentity;
    backBuffer_ = new IDirect3DSurface8(this, IDirect3DSurface8::Kind::BackBuffer, nullptr, 0);
    calls_.reserve(mode == D3D8Mode::Recording ? 1024 : 0);
}

IDirect3DDevice8::~IDirect3DDevice8() {
    for (D3D8StageState& stage : stages_) {
        if (stage.texture) stage.texture->Release();
        stage.texture = nullptr;
    }
    if (renderTarget_ && renderTarget_ != backBuffer_) renderTarget_->Release();
    if (depthStencil_) depthStencil_->Release();
    renderTarget_ = depthStencil_ = nullptr;
    if (gl_) gl_->flush();
    for (IDirect3DTexture8* texture : textures_) {
        if (gl_) gl_->destroyTexture(*texture);
        texture->device_ = nullptr;
    }
    for (IDirect3DSurface8* surface : depthSurfaces_) {
        if (gl_) gl_->destroyDepthSurface(*surface);
        surface->device_ = nullptr;
    }
    for (IDirect3DVertexBuffer8* buffer : vertexBuffers_) buffer->device_ = nullptr;
    // A back buffer still held elsewhere goes with its last reference (and can no longer be locked).
    backBuffer_->device_ = nullptr;
    backBuffer_->Release();
    gl_.reset();
    d3d_->Release();
}

bool IDirect3DDevice8::foreground() {
    if (foregroundQuery_) return foregroundQuery_();
    if (!gl_) return true;
    uint32_t flags = SDL_GetWindowFlags(parameters_.hDeviceWindow);
    return (flags & SDL_WINDOW_INPUT_FOCUS) != 0 && (flags & SDL_WINDOW_MINIMIZED) == 0;
}

void IDirect3DDevice8::setForegroundQuery(std::function<bool()> query) {
    foregroundQuery_ = std::move(query);
}

HRESULT IDirect3DDevice8::TestCooperativeLevel() {
    if (cooperation_ == Cooperation::Ok && !parameters_.Windowed && !foreground()) cooperation_ = Cooperation::Lost;
    if (cooperation_ == Cooperation::Ok) return D3D_OK;
    if (cooperation_ == Cooperation::Lost) {
        if (simulatedLostTests_ > 0) {
            --simulatedLostTests_;
            return D3DERR_DEVICELOST;
        }
        if (!parameters_.Windowed && !foreground()) return D3DERR_DEVICELOST;
        cooperation_ = Cooperation::NotReset;
    }
    return D3DERR_DEVICENOTRESET;
}

void IDirect3DDevice8::simulateDeviceLost() {
    cooperation_ = Cooperation::Lost;
    simulatedLostTests_ = 1;
}

void IDirect3DDevice8::failNextResets(int count, HRESULT result) {
    failingResets_ = count;
    failingResetResult_ = result;
}

void IDirect3DDevice8::failNextTextureCreations(int count) {
    failingCreations_ = count;
}

void IDirect3DDevice8::setVideoMemoryBudget(uint64_t bytes) {
    budget_ = bytes;
}

void IDirect3DDevice8::setBatching(bool on) {
    if (gl_) {
        gl_->flush();
        gl_->batching = on;
    }
}

void IDirect3DDevice8::allowBackBufferInWindow(bool allowed) {
    if (gl_) gl_->allowBackBufferInWindow(allowed);
}

bool IDirect3DDevice8::backBufferInWindow() const {
    return gl_ && gl_->isBackBufferInWindow();
}

void IDirect3DDevice8::finish() {
    if (gl_) gl_->finish();
}

void IDirect3DDevice8::clearRecording() {
    calls_.clear();
    draws_.clear();
}

void IDirect3DDevice8::record(D3D8Call call, uint32_t a, uint32_t b, uint32_t c) {
    if (mode_ == D3D8Mode::Recording) calls_.push_back({call, a, b, c});
}

HRESULT IDirect3DDevice8::Reset(D3DPRESENT_PARAMETERS* parameters) {
    if (!parameters || parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0) {
        record(D3D8Call::Reset, uint32_t(D3DERR_INVALIDCALL));
        return D3DERR_INVALIDCALL;
    }
    // A full-screen device that went to the background is lost even if nobody has asked since.
    TestCooperativeLevel();
    HRESULT result = D3D_OK;
    // Objects the device itself holds do not count; anything else in the default pool blocks the reset.
    uint32_t backBufferHolders = backBuffer_->referenceCount() - 1;
    if (cooperation_ == Cooperation::Lost)
        result = D3DERR_DEVICELOST;
    else if (failingResets_ > 0) {
        --failingResets_;
        result = failingResetResult_;
    } else if (defaultPoolObjects_ > 0 || backBufferHolders > 0)
        result = D3DERR_INVALIDCALL;
    if (FAILED(result)) {
        if (cooperation_ == Cooperation::Ok) cooperation_ = Cooperation::NotReset;
        record(D3D8Call::Reset, uint32_t(result));
        return result;
    }
    if (gl_) gl_->flush();
    D3DPRESENT_PARAMETERS previous = parameters_;
    parameters_ = *parameters;
    if (!parameters_.hDeviceWindow) parameters_.hDeviceWindow = previous.hDeviceWindow;
    result = applyParameters(parameters_);
    if (SUCCEEDED(result))
        cooperation_ = Cooperation::Ok;
    else {
        // Refused parameters change nothing; as after any failed reset, only another reset brings the device back.
        parameters_ = previous;
        cooperation_ = Cooperation::NotReset;
    }
    record(D3D8Call::Reset, uint32_t(result));
    return result;
}

HRESULT IDirect3DDevice8::applyParameters(const D3DPRESENT_PARAMETERS& parameters) {
    if (parameters_.BackBufferFormat == D3DFMT_UNKNOWN) {
        D3DDISPLAYMODE desktop = {0, 0, 0, D3DFMT_X8R8G8B8};
        d3d_->GetAdapterDisplayMode(0, &desktop);
        parameters_.BackBufferFormat = desktop.Format;
    }
    D3DFORMAT format = parameters_.BackBufferFormat;
    if (format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8 && format != D3DFMT_R5G6B5 && format != D3DFMT_X1R5G5B5)
        return D3DERR_INVALIDCALL;
    if (renderTarget_ && renderTarget_ != backBuffer_) renderTarget_->Release();
    if (depthStencil_) depthStencil_->Release();
    renderTarget_ = backBuffer_;
    depthStencil_ = nullptr;
    D3DSURFACE_DESC& desc = backBuffer_->desc_;
    desc = {format, D3DRTYPE_SURFACE,    D3DUSAGE_RENDERTARGET,      D3DPOOL_DEFAULT,
            0,      D3DMULTISAMPLE_NONE, parameters.BackBufferWidth, parameters.BackBufferHeight};
    desc.Size = desc.Width * desc.Height * formatBytes(format);
    if (gl_) {
        gl_->setBackBuffer(desc.Width, desc.Height, format);
        gl_->applyWindowMode(parameters.Windowed, parameters.FullScreen_PresentationInterval, parameters.SwapEffect);
        gl_->setRenderTarget(backBuffer_, nullptr);
    } else {
        backBuffer_->pixels_.assign(desc.Size, 0);
    }
    inScene_ = false;
    resetStates();
    return D3D_OK;
}

void IDirect3DDevice8::resetStates() {
    std::fill(std::begin(renderStates_), std::end(renderStates_), 0u);
    renderStates_[D3DRS_ZENABLE] = parameters_.EnableAutoDepthStencil ? 1 : 0;
    renderStates_[D3DRS_ZWRITEENABLE] = 1;
    renderStates_[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    renderStates_[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRS_DITHERENABLE] = 0;
    renderStates_[D3DRS_ALPHABLENDENABLE] = 0;
    renderStates_[D3DRS_SPECULARENABLE] = 0;
    renderStates_[D3DRS_LIGHTING] = 1;
    renderStates_[D3DRS_AMBIENT] = 0;
    renderStates_[D3DRS_COLORVERTEX] = 1;
    for (uint32_t i = 0; i < 2; ++i) {
        D3D8StageState& s = stages_[i];
        if (s.texture) s.texture->Release();
        s.texture = nullptr;
        s.colorOp = i == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s.colorArg1 = D3DTA_TEXTURE;
        s.colorArg2 = D3DTA_CURRENT;
        s.alphaOp = i == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s.alphaArg1 = D3DTA_TEXTURE;
        s.alphaArg2 = D3DTA_CURRENT;
        s.texCoordIndex = i;
        s.addressU = s.addressV = D3DTADDRESS_WRAP;
        s.magFilter = s.minFilter = D3DTEXF_POINT;
        s.mipFilter = D3DTEXF_NONE;
    }
    world_ = view_ = projection_ = combined_ = kIdentity;
    combinedDirty_ = false;
    viewport_ = {0, 0, backBuffer_->desc_.Width, backBuffer_->desc_.Height, 0.0f, 1.0f};
    fvf_ = 0;
    for (D3DLIGHT8& light : lights_) light = {};
    for (bool& enabled : lightEnabled_) enabled = false;
    material_ = {};
    if (gl_) gl_->stateChanged();
}

HRESULT IDirect3DDevice8::GetDeviceCaps(D3DCAPS8* caps) {
    return d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, caps);
}

HRESULT IDirect3DDevice8::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    if (!parameters) return D3DERR_INVALIDCALL;
    *parameters = creation_;
    return D3D_OK;
}

uint32_t IDirect3DDevice8::GetAvailableTextureMem() {
    uint64_t total =
        budget_ ? budget_ : (mode_ == D3D8Mode::Recording ? uint64_t(d3d_->setup_.textureMemory) : 256ull << 20);
    return uint32_t(total > textureBytes_ ? total - textureBytes_ : 0);
}

D3D8PresentArea IDirect3DDevice8::presentArea() const {
    int width = int(backBuffer_->desc_.Width), height = int(backBuffer_->desc_.Height);
    if (!gl_) return {0, 0, width, height};
    int windowWidth = 0, windowHeight = 0;
    host::getDrawableSize(parameters_.hDeviceWindow, windowWidth, windowHeight);
    return letterboxArea(width, height, windowWidth, windowHeight);
}

// ----- Frame -------------------------------------------------------------------------------------------------

HRESULT IDirect3DDevice8::BeginScene() {
    record(D3D8Call::BeginScene);
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice8::EndScene() {
    record(D3D8Call::EndScene);
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HRESULT IDirect3DDevice8::Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                                uint32_t) {
    record(D3D8Call::Clear, flags, color);
    if (count != 0 || rects != nullptr || (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0)
        return D3DERR_INVALIDCALL;
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_ && !parameters_.EnableAutoDepthStencil)
        return D3DERR_INVALIDCALL;
    if (gl_) {
        gl_->clear(flags, color, z);
        return D3D_OK;
    }
    if (!(flags & D3DCLEAR_TARGET)) return D3D_OK;
    // Recording mode: the target's CPU pixels take the colour, so a read of the back buffer sees it.
    D3DSURFACE_DESC& desc = renderTarget_->desc_;
    std::vector<uint8_t>& pixels = renderTarget_->kind_ == IDirect3DSurface8::Kind::BackBuffer
                                       ? renderTarget_->pixels_
                                       : renderTarget_->texture_->levels_[renderTarget_->level_].pixels;
    D3DRECT area = {int32_t(viewport_.X), int32_t(viewport_.Y),
                    int32_t(std::min(desc.Width, viewport_.X + viewport_.Width)),
                    int32_t(std::min(desc.Height, viewport_.Y + viewport_.Height))};
    uint32_t bytes = formatBytes(desc.Format);
    if (!pixels.empty()) fillRect(pixels.data(), desc.Width * bytes, bytes, area, packColor(desc.Format, color));
    return D3D_OK;
}

HRESULT IDirect3DDevice8::Present(const D3DRECT* sourceRect, const D3DRECT* destRect, SDL_Window* overrideWindow,
                                  const void* dirtyRegion) {
    record(D3D8Call::Present);
    if (sourceRect || destRect || overrideWindow || dirtyRegion) return D3DERR_INVALIDCALL;
    if (FAILED(TestCooperativeLevel())) return D3DERR_DEVICELOST;
    ++presents_;
    if (gl_) gl_->present();
    return D3D_OK;
}

HRESULT IDirect3DDevice8::GetBackBuffer(uint32_t index, D3DBACKBUFFER_TYPE type, IDirect3DSurface8** surface) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (index != 0 || type != D3DBACKBUFFER_TYPE_MONO) return D3DERR_INVALIDCALL;
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return D3D_OK;
}

// ----- States ------------------------------------------------------------------------------------------------

HRESULT IDirect3DDevice8::SetViewport(const D3DVIEWPORT8* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    record(D3D8Call::SetViewport, viewport->X, viewport->Y, viewport->Width);
    const D3DSURFACE_DESC& target = renderTarget_->desc_;
    if (viewport->Width == 0 || viewport->Height == 0 || uint64_t(viewport->X) + viewport->Width > target.Width ||
        uint64_t(viewport->Y) + viewport->Height > target.Height || !(viewport->MinZ <= viewport->MaxZ))
        return D3DERR_INVALIDCALL;
    viewport_ = *viewport;
    if (gl_) gl_->stateChanged();
    return D3D_OK;
}

HRESULT IDirect3DDevice8::GetViewport(D3DVIEWPORT8* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = viewport_;
    return D3D_OK;
}

HRESULT IDirect3DDevice8::SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) {
    record(D3D8Call::SetTransform, uint32_t(type));
    if (!matrix) return D3DERR_INVALIDCALL;
    switch (type) {
    case D3DTS_WORLD:
        world_ = *matrix;
        break;
    case D3DTS_VIEW:
        view_ = *matrix;
        break;
    case D3DTS_PROJECTION:
        projection_ = *matrix;
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    combinedDirty_ = true;
    return D3D_OK;
}

void IDirect3DDevice8::updateCombinedTransform() {
    if (!combinedDirty_) return;
    combined_ = multiply(multiply(world_, view_), projection_);
    combinedDirty_ = false;
}

HRESULT IDirect3DDevice8::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    record(D3D8Call::SetRenderState, uint32_t(state), value);
    switch (state) {
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        if (value < D3DBLEND_ZERO || value > D3DBLEND_SRCALPHASAT) return D3DERR_INVALIDCALL;
        break;
    case D3DRS_CULLMODE:
        if (value < D3DCULL_NONE || value > D3DCULL_CCW) return D3DERR_INVALIDCALL;
        break;
    case D3DRS_ZENABLE:
    case D3DRS_ZWRITEENABLE:
    case D3DRS_DITHERENABLE:
    case D3DRS_ALPHABLENDENABLE:
    case D3DRS_SPECULARENABLE:
    case D3DRS_LIGHTING:
    case D3DRS_COLORVERTEX:
        value = value ? 1 : 0;
        break;
    case D3DRS_AMBIENT:
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    if (renderStates_[state] == value) return D3D_OK;
    renderStates_[state] = value;
    if (gl_) gl_->stateChanged();
    return D3D_OK;
}

HRESULT IDirect3DDevice8::GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) {
    if (!value || int(state) < 0 || int(state) >= 256) return D3DERR_INVALIDCALL;
    *value = renderStates_[state];
    return D3D_OK;
}

HRESULT IDirect3DDevice8::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
    record(D3D8Call::SetTextureStageState, stage, uint32_t(type), value);
    if (stage > 1) return D3DERR_INVALIDCALL;
    D3D8StageState& s = stages_[stage];
    uint32_t* field = nullptr;
    bool valid = false;
    switch (type) {
    case D3DTSS_COLOROP:
        field = &s.colorOp;
        break;
    case D3DTSS_ALPHAOP:
        field = &s.alphaOp;
        break;
    case D3DTSS_COLORARG1:
        field = &s.colorArg1;
        break;
    case D3DTSS_COLORARG2:
        field = &s.colorArg2;
        break;
    case D3DTSS_ALPHAARG1:
        field = &s.alphaArg1;
        break;
    case D3DTSS_ALPHAARG2:
        field = &s.alphaArg2;
        break;
    case D3DTSS_TEXCOORDINDEX:
        field = &s.texCoordIndex;
        break;
    case D3DTSS_ADDRESSU:
        field = &s.addressU;
        break;
    case D3DTSS_ADDRESSV:
        field = &s.addressV;
        break;
    case D3DTSS_MAGFILTER:
        field = &s.magFilter;
        break;
    case D3DTSS_MINFILTER:
        field = &s.minFilter;
        break;
    case D3DTSS_MIPFILTER:
        field = &s.mipFilter;
        break;
    }
    switch (type) {
    case D3DTSS_COLOROP:
    case D3DTSS_ALPHAOP:
        valid = value >= D3DTOP_DISABLE && value <= D3DTOP_MODULATE;
        break;
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
        valid = value == D3DTA_DIFFUSE || value == D3DTA_CURRENT || value == D3DTA_TEXTURE;
        break;
    case D3DTSS_TEXCOORDINDEX:
        valid = value <= 1;
        break;
    case D3DTSS_ADDRESSU:
    case D3DTSS_ADDRESSV:
        valid = value >= D3DTADDRESS_WRAP && value <= D3DTADDRESS_CLAMP;
        break;
    case D3DTSS_MAGFILTER:
    case D3DTSS_MINFILTER:
        valid = value == D3DTEXF_POINT || value == D3DTEXF_LINEAR;
        break;
    case D3DTSS_MIPFILTER:
        valid = value <= D3DTEXF_LINEAR;
        break;
    }
    if (!field || !valid) return D3DERR_INVALIDCALL;
    if (*field == value) return D3D_OK;
    *field = value;
    if (gl_) gl_->stateChanged();
    return D3D_OK;
}

HRESULT IDirect3DDevice8::GetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t* value) {
    if (stage > 1 || !value) return D3DERR_INVALIDCALL;
    const D3D8StageState& s = stages_[stage];
    switch (type) {
    case D3DTSS_COLOROP:
        *value = s.colorOp;
        break;
    case D3DTSS_ALPHAOP:
        *value = s.alphaOp;
        break;
    case D3DTSS_COLORARG1:
        *value = s.colorArg1;
        break;
    case D3DTSS_COLORARG2:
        *value = s.colorArg2;
        break;
    case D3DTSS_ALPHAARG1:
        *value = s.alphaArg1;
        break;
    case D3DTSS_ALPHAARG2:
        *value = s.alphaArg2;
        break;
    case D3DTSS_TEXCOORDINDEX:
        *value = s.texCoordIndex;
        break;
    case D3DTSS_ADDRESSU:
        *value = s.addressU;
        break;
    case D3DTSS_ADDRESSV:
        *value = s.addressV;
        break;
    case D3DTSS_MAGFILTER:
        *value = s.magFilter;
        break;
    case D3DTSS_MINFILTER:
        *value = s.minFilter;
        break;
    case D3DTSS_MIPFILTER:
        *value = s.mipFilter;
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT IDirect3DDevice8::SetTexture(uint32_t stage, IDirect3DTexture8* texture) {
    record(D3D8Call::SetTexture, stage, texture ? 1 : 0);
    if (stage > 1) return D3DERR_INVALIDCALL;
    if (stages_[stage].texture == texture) return D3D_OK;
    if (texture) texture->AddRef();
    IDirect3DTexture8* old = stages_[stage].texture;
    stages_[stage].texture = texture;
    if (gl_) gl_->stateChanged();
    // Released last: a texture whose last reference this is may still be drawn by gathered draws, which
    // its destruction issues first.
    if (old) old->Release();
    return D3D_OK;
}

HRESULT IDirect3DDevice8::SetVertexShader(uint32_t fvf) {
    record(D3D8Call::SetVertexShader, fvf);
    if (fvfStride(fvf) == 0) return D3DERR_INVALIDCALL;
    fvf_ = fvf;
    return D3D_OK;
}

HRESULT IDirect3DDevice8::SetPixelShader(uint32_t handle) {
    record(D3D8Call::SetPixelShader, handle);
    return handle == 0 ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT IDirect3DDevice8::CreatePixelShader(const uint32_t*, uint32_t* handle) {
    if (handle) *handle = 0;
    return D3DERR_NOTAVAILABLE;
}

HRESULT IDirect3DDevice8::DeletePixelShader(uint32_t handle) {
    return handle == 0 ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT IDirect3DDevice8::SetLight(uint32_t index, const D3DLIGHT8* light) {
    if (index >= 8 || !light) return D3DERR_INVALIDCALL;
    lights_[index] = *light;
    return D3D_OK;
}

HRESULT IDirect3DDevice8::LightEnable(uint32_t index, bool enable) {
    if (index >= 8) return D3DERR_INVALIDCALL;
    lightEnabled_[index] = enable;
    return D3D_OK;
}

HRESULT IDirect3DDevice8::SetMaterial(const D3DMATERIAL8* material) {
    if (!material) return D3DERR_INVALIDCALL;
    material_ = *material;
    return D3D_OK;
}

// ----- Resources ---------------------------------------------------------------------------------------------

HRESULT IDirect3DDevice8::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                        D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    HRESULT result = D3D_OK;
    D3DCAPS8 caps;
    GetDeviceCaps(&caps);
    bool renderTarget = (usage & D3DUSAGE_RENDERTARGET) != 0;
    if (width == 0 || height == 0 || width > caps.MaxTextureWidth || height > caps.MaxTextureHeight ||
        (usage & ~D3DUSAGE_RENDERTARGET) != 0 || pool > D3DPOOL_SYSTEMMEM ||
        (renderTarget && (pool != D3DPOOL_DEFAULT || levels > 1)) || (!renderTarget && pool == D3DPOOL_DEFAULT) ||
        !d3d_->formatAnswer(format, renderTarget && pool == D3DPOOL_DEFAULT) ||
        ((caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) && width != height))
        result = D3DERR_INVALIDCALL;
    uint32_t fullChain = 1;
    for (uint32_t side = std::max(width, height); side > 1; side >>= 1) ++fullChain;
    if (levels == 0 || levels > fullChain) levels = fullChain;
    if (SUCCEEDED(result) && failingCreations_ > 0) {
        --failingCreations_;
        result = D3DERR_OUTOFVIDEOMEMORY;
    }
    uint64_t bytes = 0;
    for (uint32_t i = 0, w = width, h = height; i < levels; ++i, w = std::max(1u, w / 2), h = std::max(1u, h / 2))
        bytes += uint64_t(w) * h * formatBytes(format);
    if (SUCCEEDED(result) && pool != D3DPOOL_SYSTEMMEM && budget_ && textureBytes_ + bytes > budget_)
        result = D3DERR_OUTOFVIDEOMEMORY;
    record(D3D8Call::CreateTexture, width, height, uint32_t(result));
    if (FAILED(result)) return result;
    IDirect3DTexture8* made = new IDirect3DTexture8(this, width, height, levels, usage, format, pool);
    if (gl_ && pool != D3DPOOL_SYSTEMMEM) gl_->createTexture(*made);
    *texture = made;
    return D3D_OK;
}

HRESULT IDirect3DDevice8::CreateDepthStencilSurface(uint32_t width, uint32_t height, D3DFORMAT format,
                                                    D3DMULTISAMPLE_TYPE multiSample, IDirect3DSurface8** surface) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (width == 0 || height == 0 || !isDepthFormat(format) || multiSample != D3DMULTISAMPLE_NONE)
        return D3DERR_INVALIDCALL;
    IDirect3DSurface8* made = new IDirect3DSurface8(this, IDirect3DSurface8::Kind::DepthStencil, nullptr, 0);
    made->desc_ = {format, D3DRTYPE_SURFACE, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, 0, multiSample, width, height};
    depthSurfaces_.push_back(made);
    ++defaultPoolObjects_;
    if (gl_) gl_->createDepthSurface(*made);
    *surface = made;
    return D3D_OK;
}

HRESULT IDirect3DDevice8::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                                             IDirect3DVertexBuffer8** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0 || (usage & ~(D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC)) != 0 || pool > D3DPOOL_SYSTEMMEM)
        return D3DERR_INVALIDCALL;
    (void)fvf;
    *buffer = new IDirect3DVertexBuffer8(this, length, pool);
    return D3D_OK;
}

HRESULT IDirect3DDevice8::SetRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth) {
    record(D3D8Call::SetRenderTarget, target == backBuffer_ ? 1 : 0);
    if (!target) return D3DERR_INVALIDCALL;
    bool textureTarget = target->kind_ == IDirect3DSurface8::Kind::TextureLevel && target->level_ == 0 &&
                         (target->texture_->usage_ & D3DUSAGE_RENDERTARGET);
    if (target != backBuffer_ && !textureTarget) return D3DERR_INVALIDCALL;
    if (depth && (depth->kind_ != IDirect3DSurface8::Kind::DepthStencil || depth->desc_.Width < target->desc_.Width ||
                  depth->desc_.Height < target->desc_.Height))
        return D3DERR_INVALIDCALL;
    if (gl_) gl_->setRenderTarget(target, depth);
    if (target != backBuffer_) target->AddRef();
    if (depth) depth->AddRef();
    if (renderTarget_ && renderTarget_ != backBuffer_) renderTarget_->Release();
    if (depthStencil_) depthStencil_->Release();
    renderTarget_ = target;
    depthStencil_ = depth;
    // As in Direct3D, a new render target gets a viewport over all of it.
    viewport_ = {0, 0, target->desc_.Width, target->desc_.Height, 0.0f, 1.0f};
    if (gl_) gl_->stateChanged();
    return D3D_OK;
}

HRESULT IDirect3DDevice8::GetRenderTarget(IDirect3DSurface8** target) {
    if (!target) return D3DERR_INVALIDCALL;
    *target = renderTarget_;
    renderTarget_->AddRef();
    return D3D_OK;
}

HRESULT IDirect3DDevice8::GetDepthStencilSurface(IDirect3DSurface8** depth) {
    if (!depth) return D3DERR_INVALIDCALL;
    *depth = depthStencil_;
    if (!depthStencil_) return D3DERR_NOTFOUND;
    depthStencil_->AddRef();
    return D3D_OK;
}

HRESULT IDirect3DDevice8::CopyRects(IDirect3DSurface8* source, const D3DRECT* sourceRects, uint32_t count,
                                    IDirect3DSurface8* destination, const void* destPoints) {
    if (!source || !destination || sourceRects || count != 0 || destPoints) return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC &from = source->desc_, &to = destination->desc_;
    if (destination->kind_ != IDirect3DSurface8::Kind::TextureLevel || from.Format != to.Format ||
        from.Width != to.Width || from.Height != to.Height || destination->texture_->pool_ == D3DPOOL_DEFAULT ||
        source->kind_ == IDirect3DSurface8::Kind::DepthStencil)
        return D3DERR_INVALIDCALL;
    std::vector<uint8_t>& target = destination->texture_->levels_[destination->level_].pixels;
    int pitch = int(to.Width * formatBytes(to.Format));
    const std::vector<uint8_t>* cpu = nullptr;
    if (source->kind_ == IDirect3DSurface8::Kind::TextureLevel &&
        !source->texture_->levels_[source->level_].pixels.empty())
        cpu = &source->texture_->levels_[source->level_].pixels;
    else if (!gl_)
        cpu = &source->pixels_;
    if (cpu)
        target = *cpu;
    else
        gl_->readSurface(source, {0, 0, int32_t(from.Width), int32_t(from.Height)}, from.Format, target.data(), pitch);
    if (gl_ && destination->texture_->pool_ == D3DPOOL_MANAGED)
        gl_->uploadLevel(*destination->texture_, destination->level_);
    return D3D_OK;
}

// ----- Drawing -----------------------------------------------------------------------------------------------

HRESULT IDirect3DDevice8::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                          uint32_t stride) {
    uint32_t count = vertexCount(type, primitiveCount);
    if (!vertices || primitiveCount == 0 || count == 0 || fvf_ == 0 || stride != fvfStride(fvf_)) {
        record(D3D8Call::DrawPrimitiveUP, uint32_t(-1));
        return D3DERR_INVALIDCALL;
    }
    ++drawCalls_;
    if (mode_ == D3D8Mode::Recording) {
        record(D3D8Call::DrawPrimitiveUP, uint32_t(draws_.size()));
        D3D8RecordedDraw draw;
        draw.type = type;
        draw.primitiveCount = primitiveCount;
        draw.fvf = fvf_;
        draw.stride = stride;
        const uint8_t* bytes = static_cast<const uint8_t*>(vertices);
        draw.vertices.assign(bytes, bytes + size_t(count) * stride);
        D3D8DrawState& s = draw.state;
        s.alphaBlend = renderStates_[D3DRS_ALPHABLENDENABLE] != 0;
        s.srcBlend = renderStates_[D3DRS_SRCBLEND];
        s.destBlend = renderStates_[D3DRS_DESTBLEND];
        s.cullMode = renderStates_[D3DRS_CULLMODE];
        s.zEnable = renderStates_[D3DRS_ZENABLE];
        s.zWriteEnable = renderStates_[D3DRS_ZWRITEENABLE];
        s.lighting = renderStates_[D3DRS_LIGHTING];
        s.stage[0] = stages_[0];
        s.stage[1] = stages_[1];
        s.world = world_;
        s.view = view_;
        s.projection = projection_;
        s.viewport = viewport_;
        s.renderTarget = renderTarget_;
        draws_.push_back(std::move(draw));
        return D3D_OK;
    }
    updateCombinedTransform();
    gl_->draw(type, primitiveCount, static_cast<const uint8_t*>(vertices), stride, fvf_, combined_);
    return D3D_OK;
}

// ----- Surfaces ----------------------------------------------------------------------------------------------

IDirect3DSurface8::IDirect3DSurface8(IDirect3DDevice8* device, Kind kind, IDirect3DTexture8* texture, uint32_t level)
    : device_(device), kind_(kind), texture_(texture), level_(level) {}

IDirect3DSurface8::~IDirect3DSurface8() {
    if (kind_ != Kind::DepthStencil || !device_) return;
    auto& list = device_->depthSurfaces_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    --device_->defaultPoolObjects_;
    if (device_->gl_) device_->gl_->destroyDepthSurface(*this);
}

uint32_t IDirect3DSurface8::AddRef() {
    return kind_ == Kind::TextureLevel ? texture_->AddRef() : D3D8Unknown::AddRef();
}

uint32_t IDirect3DSurface8::Release() {
    return kind_ == Kind::TextureLevel ? texture_->Release() : D3D8Unknown::Release();
}

uint32_t IDirect3DSurface8::referenceCount() const {
    return kind_ == Kind::TextureLevel ? texture_->referenceCount() : D3D8Unknown::referenceCount();
}

HRESULT IDirect3DSurface8::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
}

HRESULT IDirect3DSurface8::LockRect(D3DLOCKED_RECT* locked, const D3DRECT* rect, uint32_t flags) {
    if (!locked) return D3DERR_INVALIDCALL;
    if (kind_ == Kind::TextureLevel) return texture_->LockRect(level_, locked, rect, flags);
    if (kind_ != Kind::BackBuffer || locked_ || !device_) return D3DERR_INVALIDCALL;
    D3DRECT area = rect ? *rect : D3DRECT{0, 0, int32_t(desc_.Width), int32_t(desc_.Height)};
    if (area.x1 < 0 || area.y1 < 0 || area.x2 > int32_t(desc_.Width) || area.y2 > int32_t(desc_.Height) ||
        area.x1 >= area.x2 || area.y1 >= area.y2)
        return D3DERR_INVALIDCALL;
    uint32_t bytes = formatBytes(desc_.Format);
    int pitch = int(desc_.Width * bytes);
    if (device_->gl_) {
        pixels_.resize(desc_.Size);
        device_->gl_->readSurface(this, area, desc_.Format,
                                  pixels_.data() + size_t(area.y1) * pitch + size_t(area.x1) * bytes, pitch);
    }
    locked->Pitch = pitch;
    locked->pBits = pixels_.data() + size_t(area.y1) * pitch + size_t(area.x1) * bytes;
    locked_ = true;
    (void)flags;
    return D3D_OK;
}

HRESULT IDirect3DSurface8::UnlockRect() {
    if (kind_ == Kind::TextureLevel) return texture_->UnlockRect(level_);
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

// ----- Textures ----------------------------------------------------------------------------------------------

IDirect3DTexture8::IDirect3DTexture8(IDirect3DDevice8* device, uint32_t width, uint32_t height, uint32_t levels,
                                     uint32_t usage, D3DFORMAT format, D3DPOOL pool)
    : device_(device), format_(format), usage_(usage), pool_(pool) {
    uint32_t bytes = formatBytes(format);
    bool cpuCopy = pool != D3DPOOL_DEFAULT || device->mode_ == D3D8Mode::Recording;
    for (uint32_t i = 0; i < levels; ++i) {
        Level level{width, height, {}, nullptr};
        if (cpuCopy) level.pixels.assign(size_t(width) * height * bytes, 0);
        level.surface = new IDirect3DSurface8(device, IDirect3DSurface8::Kind::TextureLevel, this, i);
        level.surface->desc_ = {
            format, D3DRTYPE_SURFACE, usage, pool, width * height * bytes, D3DMULTISAMPLE_NONE, width, height};
        levels_.push_back(std::move(level));
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
    }
    device->textures_.push_back(this);
    if (pool == D3DPOOL_DEFAULT) ++device->defaultPoolObjects_;
    if (pool != D3DPOOL_SYSTEMMEM) device->textureBytes_ += bytes ? this->bytes() : 0;
}

IDirect3DTexture8::~IDirect3DTexture8() {
    if (device_) {
        if (device_->gl_) device_->gl_->destroyTexture(*this);
        auto& list = device_->textures_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (pool_ == D3DPOOL_DEFAULT) --device_->defaultPoolObjects_;
        if (pool_ != D3DPOOL_SYSTEMMEM) device_->textureBytes_ -= bytes();
    }
    for (Level& level : levels_) delete level.surface;
}

uint64_t IDirect3DTexture8::bytes() const {
    uint64_t total = 0;
    for (const Level& level : levels_) total += uint64_t(level.width) * level.height * formatBytes(format_);
    return total;
}

HRESULT IDirect3DTexture8::GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) {
    if (level >= levels_.size() || !desc) return D3DERR_INVALIDCALL;
    *desc = levels_[level].surface->desc_;
    return D3D_OK;
}

HRESULT IDirect3DTexture8::LockRect(uint32_t level, D3DLOCKED_RECT* locked, const D3DRECT* rect, uint32_t flags) {
    if (level >= levels_.size() || !locked) return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    if (l.locked || pool_ == D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
    D3DRECT area = rect ? *rect : D3DRECT{0, 0, int32_t(l.width), int32_t(l.height)};
    if (area.x1 < 0 || area.y1 < 0 || area.x2 > int32_t(l.width) || area.y2 > int32_t(l.height) || area.x1 >= area.x2 ||
        area.y1 >= area.y2)
        return D3DERR_INVALIDCALL;
    uint32_t bytes = formatBytes(format_);
    locked->Pitch = int(l.width * bytes);
    locked->pBits = l.pixels.data() + size_t(area.y1) * locked->Pitch + size_t(area.x1) * bytes;
    l.locked = true;
    l.readOnly = (flags & D3DLOCK_READONLY) != 0;
    return D3D_OK;
}

HRESULT IDirect3DTexture8::UnlockRect(uint32_t level) {
    if (level >= levels_.size() || !levels_[level].locked) return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    l.locked = false;
    if (!l.readOnly && pool_ == D3DPOOL_MANAGED && device_ && device_->gl_) device_->gl_->uploadLevel(*this, level);
    return D3D_OK;
}

HRESULT IDirect3DTexture8::GetSurfaceLevel(uint32_t level, IDirect3DSurface8** surface) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (level >= levels_.size()) return D3DERR_INVALIDCALL;
    AddRef();
    *surface = levels_[level].surface;
    return D3D_OK;
}

// ----- Vertex buffers ----------------------------------------------------------------------------------------

IDirect3DVertexBuffer8::IDirect3DVertexBuffer8(IDirect3DDevice8* device, uint32_t length, D3DPOOL pool)
    : device_(device), pool_(pool), data_(length, 0) {
    device->vertexBuffers_.push_back(this);
    if (pool == D3DPOOL_DEFAULT) ++device->defaultPoolObjects_;
}

IDirect3DVertexBuffer8::~IDirect3DVertexBuffer8() {
    if (!device_) return;
    auto& list = device_->vertexBuffers_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (pool_ == D3DPOOL_DEFAULT) --device_->defaultPoolObjects_;
}

HRESULT IDirect3DVertexBuffer8::Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t) {
    if (!data) return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (size == 0) size = uint32_t(data_.size()) - std::min<uint32_t>(offset, uint32_t(data_.size()));
    if (offset + uint64_t(size) > data_.size()) return D3DERR_INVALIDCALL;
    *data = data_.data() + offset;
    return D3D_OK;
}

HRESULT IDirect3DVertexBuffer8::Unlock() {
    return D3D_OK;
}
