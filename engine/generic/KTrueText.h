// TrueType text: FreeType renders every code point of the process-wide character set once per height into
// at most eight square page pictures, and strings are drawn by blitting rectangles out of those pages.
#pragma once

#include "KGlyphBlocks.h"
#include "KTextFace.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class KResource;
struct FT_FaceRec_;
struct FT_StreamRec_;

class KTrueText : public KTextFace {
public:
    explicit KTrueText(const char* fontPath); // a null or unreadable path leaves the face without a font
    ~KTrueText() override;

    int getDefaultEncoding() override;
    int getHeight() override;
    int getRawHeight();
    // A size in points at 96 dots per inch; rebuilds the pages when the line height changes.
    void setHeight(int points);

    // The record index of a code point: -1 for U+FEFF, the replacement glyph for code points without one.
    int findGlyph(uint32_t codePoint);
    int getPageCount() const { return pageCount; }
    int getGlyphCount() const { return glyphCount; }
    KGraphic* getPage(int page) const { return page >= 0 && page < pageCount ? pages[page] : nullptr; }

    // One glyph record; the list ends with a record whose code point is 0.
    struct GlyphRecord {
        int32_t codePoint;
        float x1, y1, x2, y2; // x2 = x1 + bitmap width, y2 = y1 + bitmap rows
        float advance;
        int32_t page;
        float bearingX;
        float offsetY; // from the line top: ascender - bitmap top + extra ascent
    };
    static_assert(sizeof(GlyphRecord) == 36, "glyph records are nine 32-bit values");
    const GlyphRecord* getGlyphRecords() const { return records.get(); }

protected:
    bool prepareFace() override;
    bool findTextGlyph(uint32_t codePoint, TextGlyph& glyph) override;

private:
    void openFont(const char* path);
    void closeFont();
    void buildGlyphPages();
    void deletePages();
    bool requestSize(long nominal);
    static unsigned long readStream(FT_StreamRec_* stream, unsigned long offset, unsigned char* buffer,
                                    unsigned long count);
    static void closeStream(FT_StreamRec_* stream);

    FT_StreamRec_* stream = nullptr;
    FT_FaceRec_* face = nullptr;
    KResource* resource = nullptr;
    bool heightSet = false;
    bool pagesDirty = true;
    int extraAscent = 0;
    int pageCount = 0;
    int glyphCount = 0;
    std::unique_ptr<GlyphRecord[]> records;
    int replacementGlyph = 0;
    KGlyphBlocks blocks;
    std::string fontPath;
};
