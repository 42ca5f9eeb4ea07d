// KBatchD3D vertex buffers: creation from the vertex kind's table, and release and re-creation around a device
// reset.
#include "KBatchD3D.h"

#include "KGraphicD3DDevice.h"
#include "KGraphicD3DState.h"
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

KBatchD3D::KBatchD3D(int vertexCount, int kind) : vertexCount(vertexCount), kind(kind) {
    list().link(this);
}

KBatchD3D::~KBatchD3D() {
    releaseBuffer();
    list().unlink(this);
}

KList<KBatchD3D>& KBatchD3D::list() {
    static KList<KBatchD3D> batches;
    return batches;
}

void KBatchD3D::releaseBuffer() {
    if (!buffer) return;
    if (locked) buffer->Unlock();
    locked = false;
    buffer->Release();
    buffer = nullptr;
}

bool createVertexBuffer(KBatchD3D* batch) {
    if (!batch) return false;
    if (batch->vertexCount == 0) return true;
    batch->releaseBuffer();
    if (batch->kind < 0 || batch->kind > 2 || batch->vertexCount < 0) return false;
    const VertexKindInfo& info = kVertexKinds[batch->kind];
    IDirect3DDevice8* device = graphicD3D().device;
    HRESULT result = D3DERR_INVALIDCALL;
    if (device)
        result = device->CreateVertexBuffer(uint32_t(batch->vertexCount) * info.stride, info.usage, info.fvf,
                                            D3DPOOL_DEFAULT, &batch->buffer);
    if (FAILED(result) || !batch->buffer) {
        batch->buffer = nullptr;
        logMessage("D3D8: CreateVertexBuffer returned 0x%X for %d %s vertices, error", unsigned(result),
                   batch->vertexCount, info.name);
        return false;
    }
    batch->lost = false;
    return true;
}

void releaseVertexBuffers() {
    KBatchD3D::list().forEach([](KBatchD3D* batch) {
        batch->lost = true;
        batch->releaseBuffer();
    });
}

void restoreVertexBuffers() {
    KBatchD3D::list().forEach([](KBatchD3D* batch) { createVertexBuffer(batch); });
}
