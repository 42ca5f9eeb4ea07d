// A bitmap face for text tests: every glyph is a 10 x 16 cell of a 256 x 128 picture with advance 10, drawn
// through recording pictures, so positions can be checked by hand. It covers U+0020..U+007E, U+00E9, U+20AC,
// U+4E00 and U+1F600; 'g' has a y offset of 3.
#pragma once

#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "KText.h"
#include "TempFolder.h"

#include <memory>
#include <string>
#include <vector>

class FixedAdvanceFont {
public:
    explicit FixedAdvanceFont(std::vector<KTextCharRecord> records = standardTable());

    static std::vector<KTextCharRecord> standardTable();
    // The cell of a code point in the standard table: x1, y1 of its rectangle.
    static KTextCharRecord cell(int32_t codePoint, int slot, int16_t advance = 10);

    KText& face() { return *text; }
    KGraphicRecorder* page() const { return pagePicture; }
    // The glyph blits recorded on the page since the last clear: source x1 and destination x, y of each.
    struct Blit {
        float sx1, sy1, sx2, sy2, dx, dy;
    };
    std::vector<Blit> blits() const;
    void clear() const { KGraphicRecorder::clearCalls(); }

private:
    ScopedGraphicRecording recording;
    TempFolder temp;
    std::vector<KTextCharRecord> table;
    std::unique_ptr<KText> text;
    KGraphicRecorder* pagePicture = nullptr;
};

// Texts in the wider encodings, built from code units; each ends with its zero unit.
std::string utf16Text(const std::u16string& units, bool swapped);
std::string utf32Text(const std::u32string& units);
