// The shared text work of the font targets.
#include "TextExercise.h"

#include "KGraphicRecorder.h"
#include "KTextFace.h"

#include <string>

namespace {

// Every character from U+0001 to U+00FF once, as 8-bit text.
std::string everyByte() {
    std::string text;
    for (int c = 1; c < 256; ++c) text += char(c);
    return text;
}

} // namespace

void exerciseTextFace(KTextFace& face) {
    static const std::string bytes = everyByte();
    const char* const wide = "Gl\xC3\xAFmmerfin \xE2\x82\xAC \xE4\xB8\x80 \xF0\x9F\x98\x80 end";
    face.getHeight();
    face.getStringWidth(bytes.c_str());
    face.getStringWidth(wide, 1.5f, 2.0f, K_ENCODING_UTF8);
    face.drawString(bytes.c_str(), 10, 20);
    face.drawStringF(wide, 5.5f, 7.25f, 0.0f, 0.5f, K_ENCODING_UTF8);
    face.drawNumberRight(-2147483647, 700, 30);
    int left = 0, right = 0;
    face.getCharExtent(bytes.c_str(), 0, 0, 0, 0, 100, &left, &right);
    face.getCharIndexAt(bytes.c_str(), 0, 0, 0, 0, 300, /*clamp=*/true);

    TextBoxRequest box;
    box.text = bytes.c_str();
    box.left = 20;
    box.top = 40;
    box.right = 300;
    box.bottom = 500;
    for (int alignment = K_ALIGN_LEFT; alignment <= K_ALIGN_JUSTIFIED_KEEP_BLANKS; ++alignment) {
        box.alignment = alignment;
        face.drawStringInBox(box);
    }
    face.getStringInBoxHeight(box);
    KGraphicRecorder::clearCalls();
}
