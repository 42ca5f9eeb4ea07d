// The fixed-advance bitmap face of the text tests, and encoders for the wider text encodings.
#include "FixedAdvanceFont.h"

#include <cstring>

namespace {
// The header of a 256 x 128 PNG: enough for a recording picture to know its size.
std::string pngHeader() {
    const unsigned char bytes[24] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13,
                                     'I',  'H', 'D', 'R', 0,    0,    1,    0,    0, 0, 0, 128};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}
} // namespace

KTextCharRecord FixedAdvanceFont::cell(int32_t codePoint, int slot, int16_t advance) {
    KTextCharRecord record = {};
    record.codePoint = codePoint;
    record.x1 = int16_t(slot % 25 * 10);
    record.y1 = int16_t(slot / 25 * 16);
    record.x2 = int16_t(record.x1 + 9);
    record.y2 = int16_t(record.y1 + 15);
    record.advance = advance;
    record.height = 16;
    return record;
}

std::vector<KTextCharRecord> FixedAdvanceFont::standardTable() {
    std::vector<KTextCharRecord> records;
    int slot = 0;
    for (int32_t c = 0x20; c <= 0x7E; c++) records.push_back(cell(c, slot++));
    for (int32_t c : {0xE9, 0x20AC, 0x4E00, 0x1F600}) records.push_back(cell(c, slot++));
    for (KTextCharRecord& record : records)
        if (record.codePoint == 'g') record.yOffset = 3;
    records.push_back(KTextCharRecord{}); // terminator
    return records;
}

FixedAdvanceFont::FixedAdvanceFont(std::vector<KTextCharRecord> records) : table(std::move(records)) {
    std::string picture = temp.write("font.png", pngHeader());
    text = std::make_unique<KText>(table.data(), picture.c_str());
    pagePicture = KGraphicRecorder::instances().tail;
    KGraphicRecorder::clearCalls();
}

std::vector<FixedAdvanceFont::Blit> FixedAdvanceFont::blits() const {
    std::vector<Blit> result;
    for (const RecordedDraw& call : KGraphicRecorder::callsOn(pagePicture))
        if (call.operation == "blitAlphaRectFxF")
            result.push_back({call.args[0], call.args[1], call.args[2], call.args[3], call.args[4], call.args[5]});
    return result;
}

std::string utf16Text(const std::u16string& units, bool swapped) {
    std::string bytes;
    for (char16_t unit : units) {
        uint16_t value = swapped ? uint16_t(unit << 8 | unit >> 8) : uint16_t(unit);
        bytes.append(reinterpret_cast<const char*>(&value), 2);
    }
    bytes.append(2, '\0');
    return bytes;
}

std::string utf32Text(const std::u32string& units) {
    std::string bytes(reinterpret_cast<const char*>(units.data()), units.size() * 4);
    bytes.append(4, '\0');
    return bytes;
}
