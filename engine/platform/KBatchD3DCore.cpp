// KBatchD3DCore vertex buffers: creation from the vertex kind's table, and release and re-creation around a device
// reset, made for both versions; the window hooks of each.
#include "KBatchD3DCore.h"

#include "KBatchD3D.h"
#include "KBatchD3D9.h"
#include "KGraphicD3D9Device.h"
#include "KGraphicD3DDevice.h"
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

template <class Api>
KBatchD3DCore<Api>::KBatchD3DCore(int vertexCount, int kind) : vertexCount(vertexCount), kind(kind) {
    list().link(this);
}

template <class Api> KBatchD3DCore<Api>::~KBatchD3DCore() {
    releaseBuffer();
    list().unlink(this);
}

template <class Api> KList<KBatchD3DCore<Api>>& KBatchD3DCore<Api>::list() {
    static KList<KBatchD3DCore>& batches = *new KList<KBatchD3DCore>(); // never destroyed (see KList.h)
    return batches;
}

template <class Api> void KBatchD3DCore<Api>::releaseBuffer() {
    if (!buffer) return;
    if (locked) buffer->Unlock();
    locked = false;
    buffer->Release();
    buffer = nullptr;
}

template <class Api> bool d3dcore::createVertexBuffer(KBatchD3DCore<Api>* batch) {
    if (!batch) return false;
    if (batch->vertexCount == 0) return true;
    batch->releaseBuffer();
    if (batch->kind < 0 || batch->kind > 2 || batch->vertexCount < 0) return false;
    const VertexKindInfo& info = kVertexKinds[batch->kind];
    typename Api::Device* device = Api::module().device;
    HRESULT result = D3DERR_INVALIDCALL;
    if (device)
        result = Api::createVertexBuffer(device, uint32_t(batch->vertexCount) * info.stride, info.usage, info.fvf,
                                         &batch->buffer);
    if (FAILED(result) || !batch->buffer) {
        batch->buffer = nullptr;
        logMessage("%s: CreateVertexBuffer returned 0x%X for %d %s vertices, error", Api::kLogPrefix, unsigned(result),
                   batch->vertexCount, info.name);
        return false;
    }
    batch->lost = false;
    return true;
}

template <class Api> void d3dcore::releaseVertexBuffers() {
    KBatchD3DCore<Api>::list().forEach([](KBatchD3DCore<Api>* batch) {
        batch->lost = true;
        batch->releaseBuffer();
    });
}

template <class Api> void d3dcore::restoreVertexBuffers() {
    KBatchD3DCore<Api>::list().forEach([](KBatchD3DCore<Api>* batch) { createVertexBuffer<Api>(batch); });
}

template class KBatchD3DCore<D3D8Api>;
template class KBatchD3DCore<D3D9Api>;

bool createVertexBuffer(KBatchD3D* batch) {
    return d3dcore::createVertexBuffer<D3D8Api>(batch);
}
void releaseVertexBuffers() {
    d3dcore::releaseVertexBuffers<D3D8Api>();
}
void restoreVertexBuffers() {
    d3dcore::restoreVertexBuffers<D3D8Api>();
}

bool d3d9::createVertexBuffer(KBatchD3D9* batch) {
    return d3dcore::createVertexBuffer<D3D9Api>(batch);
}
void d3d9::releaseVertexBuffers() {
    d3dcore::releaseVertexBuffers<D3D9Api>();
}
void d3d9::restoreVertexBuffers() {
    d3dcore::restoreVertexBuffers<D3D9Api>();
}
