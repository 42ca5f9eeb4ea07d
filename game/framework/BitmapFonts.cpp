// The bitmap fonts: their pictures, tables and line heights.
#include "BitmapFonts.h"

#include "BitmapFontTables.h"
#include "FolderPaths.h"
#include "KText.h"
#include "Tooltip.h"

#include <array>
#include <memory>
#include <string>

namespace {

struct FontRow {
    const char* picture;
    const KTextCharRecord* records;
    int lineHeight;
};

const FontRow kFontRows[kBitmapFontCount] = {
    {"font2.png", bitmapFontTableFirst, 16},
    {"font1.png", bitmapFontTableFirst, 16},
    {"sans18white.png", bitmapFontTableSecond, 18},
    {"arialbold22.png", bitmapFontTableThird, 18},
};

std::array<std::unique_ptr<KText>, kBitmapFontCount> bitmapFonts;

} // namespace

void loadBitmapFonts() {
    for (int n = 0; n < kBitmapFontCount; n++) {
        const std::string path = getGraphicsFolder() + kFontRows[n].picture;
        bitmapFonts[size_t(n)] = std::make_unique<KText>(kFontRows[n].records, path.c_str());
    }
    setTooltipFonts(getFont(1), getFontLineHeight(1), getFont(0));
}

void freeBitmapFonts() {
    setTooltipFonts(nullptr, 0, nullptr);
    for (auto& font : bitmapFonts) font.reset();
}

KText* getFont(int n) {
    return n >= 0 && n < kBitmapFontCount ? bitmapFonts[size_t(n)].get() : nullptr;
}

int getFontLineHeight(int n) {
    return n >= 0 && n < kBitmapFontCount ? kFontRows[n].lineHeight : 0;
}
