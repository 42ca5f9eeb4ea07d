// The renderer factory. Until a device back end is built in, kind 0 makes the recording picture, so the
// program and its tests can make and draw pictures without a renderer.
#include "KGraphicFactory.h"

#include "KGraphicRecorder.h"

#include <new>

int RendererKind = -1;

namespace {
bool recording = false;
}

void setGraphicRecording(bool on) {
    recording = on;
}

bool isGraphicRecording() {
    return recording;
}

KGraphic* createGraphic() {
    if (recording) return new (std::nothrow) KGraphicRecorder();
    switch (RendererKind) {
    case K_RENDERER_DIRECT3D8:
        return new (std::nothrow) KGraphicRecorder();
    default:
        return nullptr;
    }
}
