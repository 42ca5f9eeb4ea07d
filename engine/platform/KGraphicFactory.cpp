// The renderer factory: kind 0 makes the Direct3D 8 back end, kind 1 the OpenGL one and kind 3 the Direct3D 9 one;
// a maker set by a test wins over the kind.
#include "KGraphicFactory.h"

#include "KGraphicD3D.h"
#include "KGraphicD3D9.h"
#include "KGraphicGL.h"

#include <new>

int RendererKind = -1;

namespace {
GraphicMaker maker = nullptr;
}

void setGraphicMaker(GraphicMaker newMaker) {
    maker = newMaker;
}

GraphicMaker getGraphicMaker() {
    return maker;
}

KGraphic* createGraphic() {
    if (maker) return maker();
    switch (RendererKind) {
    case K_RENDERER_DIRECT3D8:
        return new (std::nothrow) KGraphicD3D();
    case K_RENDERER_OPENGL:
        return new (std::nothrow) KGraphicGL();
    case K_RENDERER_DIRECT3D9:
        return new (std::nothrow) KGraphicD3D9();
    default:
        return nullptr;
    }
}
