// The fonts: the two TrueType faces copied from DejaVu, and the four bitmap fonts rendered from DejaVu with
// FreeType. Each bitmap font's picture and character table come from one layout, so they always match;
// the tables are written as C++ source that the game compiles in.
#include "AssetFamilies.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

struct Record {
    int codePoint;
    int x1, y1, x2, y2, advance, height;
};

// A glyph as rendered: coverage rows, where its ink starts from the pen and from the cell top.
struct Glyph {
    int codePoint;
    int width = 0, rows = 0, left = 0, top = 0, advance = 0;
    std::vector<uint8_t> coverage;
};

struct FontStyle {
    std::string face; // DejaVu file name
    int pixelSize;
    int cellRows;    // rows of each glyph box
    int heightField; // the cell height stored in every record
    int baseline;    // baseline row inside the box
    bool outline;    // a one-pixel dark outline around white glyphs
    int firstY;      // top row of the first line of boxes
    Record first;    // the first record, kept as given (box, advance)
};

const char* const kFirstOrder = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!?\"',.:-% ";
const char* const kSecondOrder = "bdehklagmtnopqruvxzDEFHKOPQSUVXYZ0123456789\"'%-,.$ij:!fcswyABCGIJLMNRTW ";
// The digit 5 comes late in this table and the comma appears twice (the first record wins).
const char* const kThirdOrder = "ACDEFGHIJKMN!OPQRSTUVZacdefghijkmnopqrstuvz012346789:\",BLWXYblwxy5,.-%$+^ ";

Glyph render(FT_Face face, int codePoint, bool outline) {
    if (FT_Load_Char(face, codePoint, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
        throw std::runtime_error("cannot render a glyph");
    FT_GlyphSlot slot = face->glyph;
    Glyph g;
    g.codePoint = codePoint;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    int pad = outline ? 1 : 0;
    g.width = static_cast<int>(slot->bitmap.width) + 2 * pad;
    g.rows = static_cast<int>(slot->bitmap.rows) + 2 * pad;
    g.left = slot->bitmap_left - pad;
    g.top = slot->bitmap_top + pad;
    g.coverage.assign(static_cast<size_t>(g.width) * g.rows, 0);
    for (unsigned y = 0; y < slot->bitmap.rows; y++)
        for (unsigned x = 0; x < slot->bitmap.width; x++)
            g.coverage[(y + pad) * g.width + x + pad] = slot->bitmap.buffer[y * slot->bitmap.pitch + x];
    if (outline) g.advance += 2;
    return g;
}

struct BitmapFont {
    std::vector<Record> records;
    int width = 256, height = 0;
    std::vector<uint8_t> ink, edge; // coverage of the glyphs and of their outline, per pixel
};

BitmapFont layoutFont(const std::string& fontFolder, const FontStyle& style, const std::string& order) {
    FT_Library library;
    if (FT_Init_FreeType(&library)) throw std::runtime_error("cannot start FreeType");
    FT_Face face;
    std::string path = fontFolder + "/" + style.face;
    if (FT_New_Face(library, path.c_str(), 0, &face)) {
        FT_Done_FreeType(library);
        throw std::runtime_error("cannot open " + path);
    }
    FT_Set_Pixel_Sizes(face, 0, style.pixelSize);
    std::vector<Glyph> glyphs;
    for (unsigned char c : order) glyphs.push_back(render(face, c, style.outline));
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    BitmapFont font;
    // Place the boxes in rows with one transparent pixel between them (linear filtering never bleeds).
    int x = 0, y = style.firstY;
    struct Placed {
        int x, y, boxWidth;
    };
    std::vector<Placed> placed;
    for (size_t i = 0; i < glyphs.size(); i++) {
        const Glyph& g = glyphs[i];
        int boxWidth = std::max({g.advance, g.left + g.width, 1});
        bool given = i == 0 && style.first.codePoint != 0;
        if (given) boxWidth = style.first.x2 - style.first.x1 + 1;
        if (x + boxWidth > font.width) {
            x = 0;
            y += style.cellRows + 1;
        }
        placed.push_back({x, y, boxWidth});
        int advance = given ? style.first.advance : g.advance;
        font.records.push_back(
            {g.codePoint, x, y, x + boxWidth - 1, y + style.cellRows - 1, advance, style.heightField});
        x += boxWidth + 1;
    }
    font.height = y + style.cellRows + 1;
    while (font.height % 4) font.height++;
    font.ink.assign(static_cast<size_t>(font.width) * font.height, 0);
    font.edge = font.ink;
    for (size_t i = 0; i < glyphs.size(); i++) {
        const Glyph& g = glyphs[i];
        const Placed& p = placed[i];
        int dx = std::max(0, g.left), oy = style.baseline - g.top;
        if (i == 0 && style.outline) // the given first box is wider than the glyph: centre it
            dx = std::max(0, (p.boxWidth - g.width) / 2);
        for (int gy = 0; gy < g.rows; gy++)
            for (int gx = 0; gx < g.width; gx++) {
                int px = p.x + dx + gx, py = p.y + oy + gy;
                if (px >= p.x + p.boxWidth || py < p.y || py >= p.y + style.cellRows)
                    continue; // ink outside the box would be cut by the game too
                font.ink[py * font.width + px] = g.coverage[gy * g.width + gx];
            }
    }
    if (style.outline) {
        for (int py = 0; py < font.height; py++)
            for (int px = 0; px < font.width; px++) {
                int best = 0;
                for (int oy = -1; oy <= 1; oy++)
                    for (int ox = -1; ox <= 1; ox++) {
                        int qx = px + ox, qy = py + oy;
                        if (qx >= 0 && qy >= 0 && qx < font.width && qy < font.height)
                            best = std::max<int>(best, font.ink[qy * font.width + qx]);
                    }
                font.edge[py * font.width + px] = static_cast<uint8_t>(best);
            }
        // Keep every outline inside its own box.
        std::vector<uint8_t> inBox(font.ink.size(), 0);
        for (const Record& r : font.records)
            for (int py = r.y1; py <= r.y2; py++)
                for (int px = r.x1; px <= r.x2; px++) inBox[py * font.width + px] = 1;
        for (size_t k = 0; k < inBox.size(); k++)
            if (!inBox[k]) font.edge[k] = 0;
    }
    return font;
}

void savePicture(AssetOutput& out, const BitmapFont& font, const std::string& name, Rgb colour) {
    Canvas canvas(font.width, font.height);
    cairo_surface_flush(canvas.surface());
    unsigned char* data = cairo_image_surface_get_data(canvas.surface());
    int stride = cairo_image_surface_get_stride(canvas.surface());
    for (int y = 0; y < font.height; y++)
        for (int x = 0; x < font.width; x++) {
            double ink = font.ink[y * font.width + x] / 255.0, edge = font.edge[y * font.width + x] / 255.0;
            // White (or dark) ink over a dark outline, premultiplied.
            double alpha = ink + edge * (1 - ink);
            double r = colour.r * ink + 0.05 * edge * (1 - ink), g = colour.g * ink + 0.07 * edge * (1 - ink),
                   b = colour.b * ink + 0.12 * edge * (1 - ink);
            unsigned char* px = data + y * stride + x * 4;
            px[0] = static_cast<unsigned char>(std::lround(b * 255));
            px[1] = static_cast<unsigned char>(std::lround(g * 255));
            px[2] = static_cast<unsigned char>(std::lround(r * 255));
            px[3] = static_cast<unsigned char>(std::lround(alpha * 255));
        }
    cairo_surface_mark_dirty(canvas.surface());
    std::vector<FrameRect> boxes;
    for (const Record& r : font.records) boxes.push_back({r.x1, r.y1, r.x2 + 1, r.y2 + 1});
    out.savePng(canvas, name, boxes);
}

std::string tableSource(const std::string& name, const std::vector<Record>& records) {
    std::ostringstream s;
    s << "const KTextCharRecord " << name << "[" << records.size() + 1 << "] = {\n";
    for (const Record& r : records)
        s << "    {" << r.codePoint << ", " << r.x1 << ", " << r.y1 << ", " << r.x2 << ", " << r.y2 << ", " << r.advance
          << ", " << r.height << ", 0, 0, 0},\n";
    s << "    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},\n};\n";
    return s.str();
}

// Writes the file only when its text changes, so an unchanged table never forces a rebuild of the game.
void writeIfChanged(const std::string& path, const std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream old;
    old << in.rdbuf();
    if (in && old.str() == text) return;
    writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()));
}

void copyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + from);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    writeFileAtomically(to, bytes);
}

} // namespace

void writeFonts(AssetOutput& out, const std::string& fontFolder, const std::string& tablesFolder) {
    copyFile(fontFolder + "/DejaVuSans.ttf", out.path("f/v.ttf"));
    copyFile(fontFolder + "/DejaVuSans-Bold.ttf", out.path("f/vbold.ttf"));

    const FontStyle small = {"DejaVuSans.ttf", 11, 17, 16, 12, false, 0, {97, 0, 0, 10, 16, 6, 16}};
    const FontStyle medium = {"DejaVuSans.ttf", 14, 18, 18, 14, false, 0, {}};
    const FontStyle bold = {"DejaVuSans-Bold.ttf", 17, 18, 18, 14, true, 2, {65, 0, 2, 18, 19, 19, 18}};

    BitmapFont first = layoutFont(fontFolder, small, kFirstOrder);
    BitmapFont second = layoutFont(fontFolder, medium, kSecondOrder);
    BitmapFont third = layoutFont(fontFolder, bold, kThirdOrder);
    savePicture(out, first, "font2.png", hex(0x101418));
    savePicture(out, first, "font1.png", {1, 1, 1});
    savePicture(out, second, "sans18white.png", {1, 1, 1});
    savePicture(out, third, "arialbold22.png", {1, 1, 1});

    std::string header =
        "// The character tables of the four bitmap fonts, generated by the asset generator together with the\n"
        "// font pictures. Fonts 0 and 1 (\"font2.png\", \"font1.png\") share the first table, font 2\n"
        "// (\"sans18white.png\") has the second and font 3 (\"arialbold22.png\") the third. Each table ends with a\n"
        "// record whose code point is 0.\n"
        "#pragma once\n\n#include \"KText.h\"\n\n";
    header += "extern const KTextCharRecord bitmapFontTableFirst[" + std::to_string(first.records.size() + 1) + "];\n";
    header +=
        "extern const KTextCharRecord bitmapFontTableSecond[" + std::to_string(second.records.size() + 1) + "];\n";
    header += "extern const KTextCharRecord bitmapFontTableThird[" + std::to_string(third.records.size() + 1) + "];\n";
    std::string source = "// Generated by the asset generator with the bitmap-font pictures; do not edit.\n"
                         "#include \"BitmapFontTables.h\"\n\n";
    source += tableSource("bitmapFontTableFirst", first.records) + "\n";
    source += tableSource("bitmapFontTableSecond", second.records) + "\n";
    source += tableSource("bitmapFontTableThird", third.records);
    makeFolders(tablesFolder);
    writeIfChanged(tablesFolder + "/BitmapFontTables.h", header);
    writeIfChanged(tablesFolder + "/BitmapFontTables.cpp", source);
}
