// TrueType text over FreeType: the font is read through the resource layer as a FreeType stream, every code
// point of the shared character set is rendered into glyph pages once per height, and drawing blits from them.
#include "KTrueText.h"

#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "KLog.h"
#include "KResource.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_OUTLINE_H
#include FT_SYSTEM_H

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
constexpr uint32_t kReplacement = 0xFFFD;
constexpr uint32_t kByteOrderMark = 0xFEFF;
constexpr int kDpi = 96;
// Glyphs are laid out and rendered with the same (light) hinting, so that each bitmap fills its box exactly.
constexpr FT_Int32 kGlyphLoadFlags = FT_LOAD_TARGET_LIGHT;

FT_Library library = nullptr;
int liveFaces = 0;
bool releaseWanted = false;
int defaultEncoding = K_ENCODING_8BIT;

// U+0020..U+00FF and U+FFFD, ascending: every face renders exactly these.
std::vector<uint32_t>& characterSet() {
    static std::vector<uint32_t> set;
    return set;
}

void* allocateMemory(FT_Memory, long size) {
    return std::malloc(size_t(size));
}

void freeMemory(FT_Memory, void* block) {
    std::free(block);
}

void* reallocateMemory(FT_Memory, long, long newSize, void* block) {
    return std::realloc(block, size_t(newSize));
}

FT_MemoryRec_ engineMemory = {nullptr, allocateMemory, freeMemory, reallocateMemory};

void doneLibrary() {
    if (library) FT_Done_Library(library);
    library = nullptr;
    releaseWanted = false;
}

int powerOfTwoSide(int size) {
    int side = 4;
    while (side < size) side *= 2;
    return side;
}

// No glyph is wider or taller than the largest page.
constexpr int kMaxGlyphSide = 512;

// Loads a glyph into the face's slot and renders it with the hinting it is laid out with. An outline larger
// than a page is refused before it is rendered: a damaged face can give outlines of tens of thousands of
// pixels, and rendering one for every character would hold the program for minutes.
bool loadRenderedGlyph(FT_Face face, FT_UInt index) {
    if (FT_Load_Glyph(face, index, kGlyphLoadFlags) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_BITMAP) return true;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        if (box.xMax - box.xMin > kMaxGlyphSide * 64 || box.yMax - box.yMin > kMaxGlyphSide * 64) return false;
    }
    return FT_Render_Glyph(slot, FT_LOAD_TARGET_MODE(kGlyphLoadFlags)) == 0;
}
} // namespace

KTrueText::KTrueText(const char* path) {
    liveFaces++;
    if (!library && FT_New_Library(&engineMemory, &library) == 0) FT_Add_Default_Modules(library);
    std::vector<uint32_t>& set = characterSet();
    if (set.empty()) {
        for (uint32_t c = 0x20; c <= 0xFF; c++) set.push_back(c);
        set.push_back(kReplacement);
        std::sort(set.begin(), set.end());
        defaultEncoding = K_ENCODING_8BIT;
    }
    records = std::make_unique<GlyphRecord[]>(set.size() + 1);
    records[0] = GlyphRecord{};
    if (path) openFont(path);
}

KTrueText::~KTrueText() {
    deletePages();
    closeFont();
    if (--liveFaces == 0 && releaseWanted) doneLibrary();
}

void KTrueText::releaseLibrary() {
    if (liveFaces == 0)
        doneLibrary();
    else
        releaseWanted = true;
}

unsigned long KTrueText::readStream(FT_StreamRec_* stream, unsigned long offset, unsigned char* buffer,
                                    unsigned long count) {
    KTrueText* self = static_cast<KTrueText*>(stream->descriptor.pointer);
    KResourceFile* file = self->resource ? self->resource->getFile() : nullptr;
    if (!file || file->seek(long(offset), SEEK_SET) != K_RES_OK) return count ? 0 : 1;
    if (count == 0) return 0;
    return file->read(buffer, count) == K_RES_OK ? count : 0;
}

void KTrueText::closeStream(FT_StreamRec_* stream) {
    KTrueText* self = static_cast<KTrueText*>(stream->descriptor.pointer);
    delete self->resource;
    self->resource = nullptr;
}

void KTrueText::openFont(const char* path) {
    closeFont();
    if (!library) return;
    resource = new KResource();
    KResourceFile* file = resource->open(path) == K_RES_OK ? resource->getFile() : nullptr;
    long size = 0;
    if (!file || file->seek(0, SEEK_END) != K_RES_OK || file->tell(size) != K_RES_OK ||
        file->seek(0, SEEK_SET) != K_RES_OK || size <= 0) {
        delete resource;
        resource = nullptr;
        return;
    }
    stream = new FT_StreamRec_();
    stream->base = nullptr;
    stream->size = (unsigned long)size;
    stream->pos = 0;
    stream->descriptor.pointer = this;
    stream->read = readStream;
    stream->close = closeStream;
    FT_Open_Args args = {};
    args.flags = FT_OPEN_STREAM;
    args.stream = stream;
    if (FT_Open_Face(library, &args, 0, &face) != 0) {
        face = nullptr;
        closeFont(); // FreeType has closed the stream already; this frees the record
        return;
    }
    fontPath = path;
}

void KTrueText::closeFont() {
    if (face) FT_Done_Face(face); // closes the stream, which deletes the resource
    face = nullptr;
    delete stream;
    stream = nullptr;
    delete resource;
    resource = nullptr;
}

void KTrueText::deletePages() {
    for (KGraphic*& page : pages) {
        delete page;
        page = nullptr;
    }
    pageCount = 0;
}

int KTrueText::getDefaultEncoding() {
    return defaultEncoding;
}

int KTrueText::getHeight() {
    return face ? int(face->size->metrics.height >> 6) + extraAscent : 0;
}

int KTrueText::getRawHeight() {
    return getHeight();
}

bool KTrueText::requestSize(long nominal) {
    FT_Size_RequestRec request = {};
    request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.width = nominal;
    request.height = nominal;
    request.horiResolution = kDpi;
    request.vertResolution = kDpi;
    return FT_Request_Size(face, &request) == 0;
}

void KTrueText::setHeight(int points) {
    if (!face) return;
    int before = getHeight();
    if (!requestSize(std::max(long(points) * 64, 64L))) return;
    heightSet = true;
    if (getHeight() != before) {
        pagesDirty = true;
        buildGlyphPages();
    }
}

bool KTrueText::prepareFace() {
    if (!face) return false;
    if (pagesDirty) buildGlyphPages();
    return true;
}

void KTrueText::buildGlyphPages() {
    if (!face) return;
    pagesDirty = false;
    deletePages();
    glyphCount = 0;
    replacementGlyph = 0; // an index from an earlier build may point past this build's records
    blocks.clear();
    records[0] = GlyphRecord{};
    if (!heightSet) requestSize(12 * 64);

    const int ascender = int(face->size->metrics.ascender >> 6);
    extraAscent = 0;
    const int capacity = getHeight() < 20 ? 256 : 512;

    // Layout pass: place every code point of the set on the pages.
    int penX = 2, penY = 2, rowHeight = 0, page = 0, widestRow = 0, count = 0;
    for (uint32_t codePoint : characterSet()) {
        FT_UInt index = FT_Get_Char_Index(face, codePoint);
        if (!loadRenderedGlyph(face, index)) continue;
        const FT_GlyphSlot slot = face->glyph;
        const int width = int(slot->bitmap.width), rows = int(slot->bitmap.rows);
        if (penX + width + 2 > capacity) {
            widestRow = std::max(widestRow, penX);
            penX = 2;
            penY += rowHeight + 2;
        }
        // The page is full when the row, with this glyph in it, would pass its bottom.
        const int rowHeightWithGlyph = rowHeight < rows ? rows + 5 : rowHeight;
        if (penY + rowHeightWithGlyph > capacity) {
            if (page == kMaxPages - 1) {
                logMessage("KTrueText: %s: maximum graphics per font reached, some characters will be missing, "
                           "WARNING.",
                           fontPath.c_str());
                break;
            }
            page++;
            penX = 2;
            penY = 2;
            rowHeight = 0;
        }
        GlyphRecord& record = records[count++];
        record.codePoint = int32_t(codePoint);
        record.x1 = float(penX);
        record.y1 = float(penY);
        record.x2 = float(penX + width);
        record.y2 = float(penY + rows);
        record.advance = float(slot->advance.x >> 6);
        record.page = page;
        record.bearingX = float(slot->bitmap_left);
        record.offsetY = float(ascender - slot->bitmap_top);
        if (rowHeight < rows) rowHeight = rows + 5;
        penX += width + 2;
        if (slot->bitmap_top - ascender > extraAscent) extraAscent = slot->bitmap_top - ascender;
    }
    records[count] = GlyphRecord{};
    for (int i = 0; i < count; i++) records[i].offsetY += float(extraAscent);

    // One side for every page: the capacity when there are several, else what the one page uses (its last
    // row included, so no glyph lies outside it).
    const int side = page > 0 ? capacity : powerOfTwoSide(std::max({widestRow, penX, rowHeight + penY}));

    // Rendering pass: copy each bitmap into the box the layout gave it (kept within the page all the same).
    std::vector<uint32_t> buffer(count ? size_t(side) * size_t(side) : 0, 0);
    for (int i = 0; i < count; i++) {
        const GlyphRecord& record = records[i];
        FT_UInt index = FT_Get_Char_Index(face, FT_ULong(record.codePoint));
        if (loadRenderedGlyph(face, index)) {
            const FT_Bitmap& bitmap = face->glyph->bitmap;
            const int boxWidth = int(record.x2 - record.x1), boxRows = int(record.y2 - record.y1);
            const int x1 = int(record.x1), y1 = int(record.y1);
            const int width = std::min({int(bitmap.width), boxWidth, side - x1});
            const int rows = std::min({int(bitmap.rows), boxRows, side - y1});
            const int stride = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
            for (int y = 0; y < rows; y++) {
                const unsigned char* row =
                    bitmap.buffer + size_t(bitmap.pitch < 0 ? int(bitmap.rows) - 1 - y : y) * size_t(stride);
                uint32_t* out = buffer.data() + size_t(y1 + y) * size_t(side) + size_t(x1);
                for (int x = 0; x < width; x++) {
                    uint32_t alpha;
                    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                        alpha = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                    else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                        alpha = row[x];
                    else
                        continue;
                    out[x] = alpha << 24 | 0x00FFFFFF; // white; the face colour comes from the blit colour
                }
            }
        }
        if (i + 1 == count || records[i + 1].page != record.page) {
            KGraphic* picture = createGraphic();
            // The page keeps its own copy; nothing calls reloadPicture on it, which would read the freed buffer.
            if (picture) {
                picture->makePictureFromPixels(buffer.data(), side, side, true, true);
                picture->setLinearFiltering(true);
                applyColorAndBlend(picture);
            }
            pages[pageCount++] = picture;
            if (i + 1 < count) std::fill(buffer.begin(), buffer.end(), 0);
        }
    }

    glyphCount = count;
    for (int i = 0; i < count; i++) {
        blocks.set(uint32_t(records[i].codePoint), i);
        if (uint32_t(records[i].codePoint) == kReplacement) replacementGlyph = i;
    }
}

int KTrueText::findGlyph(uint32_t codePoint) {
    if (codePoint == kByteOrderMark) return -1;
    int index = blocks.find(codePoint);
    if (index >= 0) return index;
    return glyphCount > 0 ? replacementGlyph : -1;
}

bool KTrueText::findTextGlyph(uint32_t codePoint, TextGlyph& glyph) {
    int index = findGlyph(codePoint);
    if (index < 0) return false;
    const GlyphRecord& record = records[index];
    glyph.page = pages[record.page];
    glyph.x1 = record.x1;
    glyph.y1 = record.y1;
    glyph.x2 = record.x2;
    glyph.y2 = record.y2;
    glyph.advance = record.advance;
    glyph.bearingX = record.bearingX;
    glyph.offsetY = record.offsetY;
    return true;
}
