// KBatchD3D9 vertex buffers: creation from the vertex kind's table, and release and re-creation around a device
// reset.
#include "KBatchD3D9.h"

#include "KGraphicD3D9Device.h"
#include "KGraphicD3D9State.h"
#include "KLog.h"

namespace {

struct VertexKindInfo {
    const char* name;
    uint32_t fvf;
    uint32_t stride;
    uint32_t usage;
};

constexpr VertexKindInfo kVertexKinds[3] = {
    {"DYNTL", D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, 28, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC},
    {"DYNL", D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1, 24, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC},
    {"STAT3D", D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, 32, D3DUSAGE_WRITEONLY},
};

} // namespace

KBatchD3D9::KBatchD3D9(int vertexCount, int kind) : vertexCount(vertexCount), kind(kind) {
    list().link(this);
}

KBatchD3D9::~KBatchD3D9() {
    releaseBuffer();
    list().unlink(this);
}

KList<KBatchD3D9>& KBatchD3D9::list() {
    static KList<KBatchD3D9> batches;
    return batches;
}

void KBatchD3D9::releaseBuffer() {
    if (!buffer) return;
    if (locked) buffer->Unlock();
    locked = false;
    buffer->Release();
    buffer = nullptr;
}

bool d3d9::createVertexBuffer(KBatchD3D9* batch) {
    if (!batch) return false;
    if (batch->vertexCount == 0) return true;
    batch->releaseBuffer();
    if (batch->kind < 0 || batch->kind > 2 || batch->vertexCount < 0) return false;
    const VertexKindInfo& info = kVertexKinds[batch->kind];
    IDirect3DDevice9* device = graphicD3D9().device;
    HRESULT result = D3DERR_INVALIDCALL;
    if (device)
        result = device->CreateVertexBuffer(uint32_t(batch->vertexCount) * info.stride, info.usage, info.fvf,
                                            D3DPOOL_DEFAULT, &batch->buffer, nullptr);
    if (FAILED(result) || !batch->buffer) {
        batch->buffer = nullptr;
        logMessage("D3D9: CreateVertexBuffer returned 0x%X for %d %s vertices, error", unsigned(result),
                   batch->vertexCount, info.name);
        return false;
    }
    batch->lost = false;
    return true;
}

void d3d9::releaseVertexBuffers() {
    KBatchD3D9::list().forEach([](KBatchD3D9* batch) {
        batch->lost = true;
        batch->releaseBuffer();
    });
}

void d3d9::restoreVertexBuffers() {
    KBatchD3D9::list().forEach([](KBatchD3D9* batch) { d3d9::createVertexBuffer(batch); });
}
