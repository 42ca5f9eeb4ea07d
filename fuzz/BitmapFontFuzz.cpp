// Fuzz target: a bitmap font, its character table and its page picture, as the game's bitmap fonts are made.
// The input is the table's record count (4 bytes, little-endian), that many 28-byte records, then the picture
// (a PNG, the format of the game's font pictures); the target ends the table with its zero record, as every
// table the game holds ends. Text is then measured, drawn and laid out with the face. The page is a recording
// picture, which takes its size from the picture's header.
#include "FuzzSupport.h"
#include "TextExercise.h"

#include "KGraphicRecorder.h"
#include "KText.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const char* const kPicturePath = "fuzz/font.png";
// Far more than any font of the game holds (the largest has a few hundred).
constexpr uint32_t kMaxRecords = 4096;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static ScopedGraphicRecording recording;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    uint32_t count = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
    count = std::min({count, kMaxRecords, uint32_t((size - 4) / sizeof(KTextCharRecord))});
    std::vector<KTextCharRecord> table(count + 1);
    if (count > 0) std::memcpy(table.data(), data + 4, count * sizeof(KTextCharRecord));
    table[count] = KTextCharRecord{};
    const size_t pictureStart = 4 + count * sizeof(KTextCharRecord);
    serveFuzzInput(kPicturePath, data + pictureStart, size - pictureStart);

    KText face(table.data(), kPicturePath);
    exerciseTextFace(face);
    face.setGlyphOffsets(true);
    exerciseTextFace(face);
    return 0;
}
