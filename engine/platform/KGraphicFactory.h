// The renderer factory: RendererKind selects the back end that createGraphic makes for every picture.
//
// Tests get the recording test double (KGraphicRecorder.h) from the factory by turning recording on:
//     ScopedGraphicRecording recording; // while it lives, createGraphic() makes KGraphicRecorder objects
// Recording wins over RendererKind, so code that stores RendererKind = 0 at start-up still gets recorders.
#pragma once

class KGraphic;

// The selected back end: -1 at start (nothing selected); the game's start-up stores K_RENDERER_DIRECT3D8.
extern int RendererKind;

enum RendererKindValue : int {
    K_RENDERER_DIRECT3D8 = 0, // KGraphicD3D
    K_RENDERER_OPENGL = 1,    // KGraphicGL
    K_RENDERER_DIRECT3D9 = 3, // KGraphicD3D9
};

// A new picture of the selected back end, or null for a kind that selects none or when allocation fails.
// The caller owns it and deletes it through KGraphic's virtual destructor.
KGraphic* createGraphic();

// While recording is on, createGraphic makes KGraphicRecorder objects whatever RendererKind holds.
void setGraphicRecording(bool on);
bool isGraphicRecording();

// Turns recording on for its lifetime and restores the previous setting after.
class ScopedGraphicRecording {
public:
    ScopedGraphicRecording() : previous(isGraphicRecording()) { setGraphicRecording(true); }
    ~ScopedGraphicRecording() { setGraphicRecording(previous); }
    ScopedGraphicRecording(const ScopedGraphicRecording&) = delete;
    ScopedGraphicRecording& operator=(const ScopedGraphicRecording&) = delete;

private:
    bool previous;
};
