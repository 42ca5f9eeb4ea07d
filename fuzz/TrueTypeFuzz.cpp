// Fuzz target: a TrueType face as the game's fonts open one (through the resource layer, read piece by piece)
// and size it at the heights the game uses, which renders its glyph pages; then text is measured, drawn and
// laid out with it. The pages are recording pictures: no device is needed.
#include "FuzzSupport.h"
#include "TextExercise.h"

#include "KGraphicRecorder.h"
#include "KTrueText.h"

namespace {

const char* const kFacePath = "fuzz/input.ttf";
// Below and above the height at which the pages grow from 256 to 512 pixels.
constexpr int kPoints[] = {14, 24};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static ScopedGraphicRecording recording;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    serveFuzzInput(kFacePath, data, size);
    KTrueText face(kFacePath);
    for (int points : kPoints) {
        face.setHeight(points);
        exerciseTextFace(face);
        FUZZ_CHECK(face.getPageCount() >= 0 && face.getPageCount() <= 8);
    }
    return 0;
}
