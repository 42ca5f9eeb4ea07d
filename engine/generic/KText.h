// Bitmap text: glyphs cut from one page picture by a character table that the caller supplies and keeps alive.
#pragma once

#include "KGlyphBlocks.h"
#include "KTextFace.h"

// One record of a character table, read in place; a table ends with a record whose code point is 0.
// x2 and y2 are inclusive; the font's line height is the largest height in the table.
struct KTextCharRecord {
    int32_t codePoint;
    int16_t x1, y1, x2, y2;
    int16_t advance;
    int16_t height;
    int32_t page;    // carried, not applied: every glyph is drawn from page 0
    int32_t xOffset; // carried, not applied
    int32_t yOffset; // added to y while glyph offsets are on
};
static_assert(sizeof(KTextCharRecord) == 28, "character table records are 28 bytes");

class KText : public KTextFace {
public:
    // The table must outlive the face. The page picture is loaded at once (true colour, alpha, linear filtering).
    KText(const KTextCharRecord* table, const char* pictureFile);
    ~KText() override;

    int getDefaultEncoding() override;
    int getHeight() override;
    void setGlyphOffsets(bool on) { glyphOffsets = on; }

    // The record index of a code point, or -1 (there is no replacement glyph).
    int findGlyph(uint32_t codePoint);

protected:
    bool prepareFace() override { return table != nullptr; }
    bool findTextGlyph(uint32_t codePoint, TextGlyph& glyph) override;

private:
    void setTable(const KTextCharRecord* records);
    bool loadPage(int page, const char* fileName);

    const KTextCharRecord* table = nullptr;
    KGlyphBlocks blocks;
    bool pageOwned[kMaxPages] = {};
    int lineHeight = 0;
    bool glyphOffsets = false;
};
