// The small TrueType face of the tests: every table laid out by hand, big-endian.
#include "TrueTypeFixtures.h"

#include <algorithm>
#include <map>
#include <string>

namespace {

using Bytes = std::vector<unsigned char>;

struct BigEndian {
    Bytes bytes;
    BigEndian& u16(unsigned value) {
        bytes.push_back(uint8_t(value >> 8));
        bytes.push_back(uint8_t(value));
        return *this;
    }
    BigEndian& u32(uint32_t value) { return u16(value >> 16).u16(value & 0xFFFF); }
    BigEndian& append(const Bytes& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
};

// A simple glyph of one closed contour; every point on the curve unless listed as off it.
Bytes contourGlyph(const std::vector<std::pair<int, int>>& points, const std::vector<bool>& offCurve) {
    int xMin = 10000, yMin = 10000, xMax = -10000, yMax = -10000;
    for (auto [x, y] : points) {
        xMin = std::min(xMin, x), yMin = std::min(yMin, y), xMax = std::max(xMax, x), yMax = std::max(yMax, y);
    }
    BigEndian glyph;
    glyph.u16(1).u16(unsigned(xMin)).u16(unsigned(yMin)).u16(unsigned(xMax)).u16(unsigned(yMax));
    glyph.u16(unsigned(points.size() - 1)).u16(0); // end point of the contour, no instructions
    for (size_t i = 0; i < points.size(); ++i) glyph.bytes.push_back(offCurve[i] ? 0x00 : 0x01);
    int last = 0;
    for (auto [x, y] : points) glyph.u16(unsigned(x - last)), last = x;
    last = 0;
    for (auto [x, y] : points) glyph.u16(unsigned(y - last)), last = y;
    return glyph.bytes;
}

} // namespace

Bytes smallTrueTypeFace(int squareSide) {
    std::vector<Bytes> glyphs = {
        {},
        contourGlyph({{50, 0}, {50, squareSide}, {50 + squareSide, squareSide}, {50 + squareSide, 0}},
                     {false, false, false, false}),
        contourGlyph({{0, 0}, {300, 900}, {600, 0}, {300, -100}}, {false, true, false, true}),
    };
    BigEndian composite;
    composite.u16(0xFFFF).u16(0).u16(0xFF9C).u16(1200).u16(900);
    composite.u16(0x0001 | 0x0002 | 0x0020).u16(1).u16(0).u16(0);   // words, x/y values, more to come
    composite.u16(0x0001 | 0x0002 | 0x0008).u16(2).u16(600).u16(0); // words, x/y values, a scale
    composite.u16(0x2000);                                          // 0.5 in 2.14
    glyphs.push_back(composite.bytes);

    BigEndian glyf, loca;
    for (Bytes& glyph : glyphs) {
        if (glyph.size() % 2) glyph.push_back(0);
        loca.u16(unsigned(glyf.bytes.size() / 2));
        glyf.append(glyph);
    }
    loca.u16(unsigned(glyf.bytes.size() / 2));
    const unsigned count = unsigned(glyphs.size());

    BigEndian head;
    head.u32(0x00010000).u32(0x00010000).u32(0).u32(0x5F0F3CF5).u16(0x000B).u16(1000);
    head.u32(0).u32(0).u32(0).u32(0); // created, modified
    head.u16(0xFF9C).u16(0xFF9C).u16(1200).u16(900).u16(0).u16(8).u16(2).u16(0).u16(0);
    BigEndian hhea;
    hhea.u32(0x00010000).u16(800).u16(0xFF38).u16(0).u16(1200).u16(0).u16(0).u16(1200).u16(1).u16(0).u16(0);
    hhea.u16(0).u16(0).u16(0).u16(0).u16(0).u16(count);
    BigEndian maxp;
    maxp.u32(0x00010000).u16(count).u16(4).u16(1).u16(8).u16(2).u16(2).u16(0).u16(0).u16(0).u16(0).u16(0);
    maxp.u16(0).u16(2).u16(1);
    BigEndian hmtx;
    for (unsigned i = 0; i < count; ++i) hmtx.u16(i == 3 ? 1250 : 650).u16(i == 0 ? 0 : 50);
    BigEndian cmap;
    cmap.u16(0).u16(1).u16(3).u16(1).u32(12);
    cmap.u16(4).u16(32).u16(0).u16(4).u16(4).u16(1).u16(0); // format, length, language, two segments
    cmap.u16('C').u16(0xFFFF).u16(0).u16('A').u16(0xFFFF);  // end codes, pad, start codes
    cmap.u16(unsigned(1 - 'A')).u16(1).u16(0).u16(0);       // deltas, range offsets

    const std::map<std::string, Bytes> tables = {{"cmap", cmap.bytes}, {"glyf", glyf.bytes}, {"head", head.bytes},
                                                 {"hhea", hhea.bytes}, {"hmtx", hmtx.bytes}, {"loca", loca.bytes},
                                                 {"maxp", maxp.bytes}};
    BigEndian face;
    face.u32(0x00010000).u16(unsigned(tables.size())).u16(64).u16(2).u16(unsigned(tables.size() * 16 - 64));
    uint32_t offset = uint32_t(12 + 16 * tables.size());
    for (const auto& [tag, bytes] : tables) {
        face.bytes.insert(face.bytes.end(), tag.begin(), tag.end());
        face.u32(0).u32(offset).u32(uint32_t(bytes.size()));
        offset += uint32_t((bytes.size() + 3) / 4 * 4);
    }
    for (const auto& [tag, bytes] : tables) {
        face.append(bytes);
        while (face.bytes.size() % 4) face.bytes.push_back(0);
    }
    return face.bytes;
}
