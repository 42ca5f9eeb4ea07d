// The font set's build: load, size, then colour (a later size change would rebuild the pages uncoloured).
#include "FontSet.h"

#include "KTrueText.h"
#include "TextFont.h"

namespace {

struct FontRow {
    const char* file;
    int points; // at 96 dots per inch
    double letterSpacing;
};

constexpr FontRow kFontRows[3] = {
    {"vbold.ttf", 24, -1},
    {"v.ttf", 20, 0},
    {"v.ttf", 14, 0},
};

} // namespace

FontSet::FontSet() {
    for (size_t n = 0; n < owned.size(); n++) {
        owned[n] = std::make_unique<TextFont>();
        owned[n]->load(kFontRows[n].file, kFontRows[n].letterSpacing);
        if (KTrueText* face = owned[n]->getTrueText()) face->setHeight(kFontRows[n].points);
        owned[n]->setColor(0, 0, 0, 1);
        fonts[n] = owned[n].get();
    }
    fonts[3] = fonts[0];
}

FontSet::~FontSet() = default;

FontSet& FontSet::instance() {
    // Never freed: screens keep the pointers until the program ends.
    static FontSet* set = new FontSet();
    return *set;
}

TextFont* FontSet::get(int n) const {
    return n >= 0 && n < int(fonts.size()) ? fonts[size_t(n)] : nullptr;
}
