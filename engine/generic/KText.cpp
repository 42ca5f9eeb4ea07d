// Bitmap text: block tables over the caller's character table, and the page picture made by the renderer factory.
#include "KText.h"

#include "KGraphic.h"
#include "KGraphicFactory.h"

#include <algorithm>

namespace {
int defaultEncoding = K_ENCODING_8BIT;
} // namespace

KText::KText(const KTextCharRecord* records, const char* pictureFile) {
    widthCountsLastExtra = false;
    setTable(records);
    loadPage(0, pictureFile);
}

KText::~KText() {
    for (int i = 0; i < kMaxPages; i++)
        if (pageOwned[i]) delete pages[i];
}

void KText::setTable(const KTextCharRecord* records) {
    blocks.clear();
    table = records;
    lineHeight = 0;
    if (!table) return;
    int count = 0;
    for (;; count++) {
        lineHeight = std::max(lineHeight, int(table[count].height)); // the terminator counts too
        if (table[count].codePoint == 0) break;
    }
    for (int i = count - 1; i >= 0; i--) // last to first, so the first record of a code point wins
        blocks.set(uint32_t(table[i].codePoint), i);
}

bool KText::loadPage(int page, const char* fileName) {
    if (page < 0 || page >= kMaxPages) return false;
    if (pageOwned[page]) delete pages[page];
    pages[page] = createGraphic();
    pageOwned[page] = pages[page] != nullptr;
    if (!pages[page]) return false;
    pages[page]->setLinearFiltering(true);
    bool loaded = fileName && pages[page]->loadPicture(fileName, true, true);
    applyColorAndBlend(pages[page]);
    return loaded;
}

int KText::getDefaultEncoding() {
    return defaultEncoding;
}

int KText::getHeight() {
    return table ? lineHeight : 0;
}

int KText::findGlyph(uint32_t codePoint) {
    if (!table) return -1;
    return blocks.find(codePoint);
}

bool KText::findTextGlyph(uint32_t codePoint, TextGlyph& glyph) {
    int index = findGlyph(codePoint);
    if (index < 0) return false;
    const KTextCharRecord& record = table[index];
    glyph.page = pages[0];
    glyph.x1 = record.x1;
    glyph.y1 = record.y1;
    glyph.x2 = record.x2;
    glyph.y2 = record.y2;
    glyph.advance = record.advance;
    glyph.bearingX = 0;
    glyph.offsetY = glyphOffsets ? float(record.yOffset) : 0;
    return true;
}
