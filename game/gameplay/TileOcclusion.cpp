// The hidden tiles of a frame, planned from the front layer back over a one-bit cover of the game area.
#include "TileOcclusion.h"

#include "GameWindow.h"
#include "KGraphic.h"
#include "TileDefinition.h"
#include "TileMap.h"

#include <algorithm>

namespace {

TileOcclusion occlusion;
bool occlusionOn = true;

// The bits of the pixels x0 .. x1 - 1 (x0 < x1) word by word: f(word index, bit mask).
template <class F> void forSpan(int x0, int x1, F f) {
    for (int word = x0 / 64; word <= (x1 - 1) / 64; word++) {
        const int from = std::max(x0, word * 64) - word * 64, to = std::min(x1, word * 64 + 64) - word * 64;
        f(size_t(word), to - from == 64 ? ~uint64_t(0) : ((uint64_t(1) << (to - from)) - 1) << from);
    }
}

} // namespace

void TileOcclusion::plan(double cameraX, double cameraY) {
    for (CoverRow& line : cover) line.fill(0);
    for (int layer = kTileLayerCount - 1; layer >= 0; layer--) planLayer(layer, cameraX, cameraY);
    collectUncovered();
}

void TileOcclusion::collectUncovered() {
    uncovered.clear();
    int bandTop = 0;
    for (int y = 1; y <= kGameHeight; y++) {
        if (y < kGameHeight && cover[size_t(y)] == cover[size_t(bandTop)]) continue;
        addGaps(cover[size_t(bandTop)], bandTop, y);
        bandTop = y;
    }
}

void TileOcclusion::addGaps(const CoverRow& line, int top, int bottom) {
    const auto filled = [&](int x) { return (line[size_t(x / 64)] >> (x % 64)) & 1; };
    int x = 0;
    while (x < kGameWidth) {
        // Whole words skipped at once: a filled area is mostly words of ones.
        if (x % 64 == 0 && line[size_t(x / 64)] == ~uint64_t(0)) {
            x += 64;
            continue;
        }
        if (filled(x)) {
            x++;
            continue;
        }
        const int left = x;
        while (x < kGameWidth && !filled(x)) x++;
        uncovered.push_back({left, top, x, bottom});
    }
}

void TileOcclusion::planLayer(int layer, double cameraX, double cameraY) {
    TileViewMask& skip = hidden[size_t(layer)];
    skip.fill(0);
    const TileLayer* tiles = getTileLayer(layer);
    if (!tiles) return;
    const TileLayerView view = tiles->view(cameraX, cameraY);
    if (view.empty()) return;
    for (int32_t row = view.rowFrom; row <= view.rowTo; row++) {
        const TileRowCut cut = view.rowCut(row);
        if (cut == kRowHidden) continue;
        const int top = view.screenY(row);
        const int y0 = std::max(top, 0), y1 = std::min(top + kTileSize, kGameHeight);
        // The pixels covered in every screen line of this row of cells; lines off the screen hide everything.
        CoverRow under;
        under.fill(~uint64_t(0));
        for (int y = y0; y < y1; y++)
            for (size_t word = 0; word < under.size(); word++) under[word] &= cover[size_t(y)][word];
        CoverRow fills = {};
        bool anyFills = false;
        const uint16_t* codes = tiles->grid.data() + size_t(row) * size_t(tiles->grid.cols());
        for (int32_t col = view.colFrom; col <= view.colTo; col++) {
            if (codes[col] == 0) continue;
            const TileDefinition* tile = getTileDefinition(codes[col]);
            if (!tile) continue;
            const int x = view.screenX(col);
            const int x0 = std::max(x, 0), x1 = std::min(x + kTileSize, kGameWidth);
            bool covered = tile->coverage == kTileDrawsNothing || x0 >= x1 || y0 >= y1;
            if (!covered) {
                covered = true;
                forSpan(x0, x1, [&](size_t word, uint64_t bits) { covered = covered && (under[word] & bits) == bits; });
            }
            if (covered) {
                skip[size_t(row - view.rowFrom)] |= uint16_t(1u << (col - view.colFrom));
            } else if (tile->coverage == kTileFillsCell && cut == kRowWhole) { // a cut tile fills only part
                forSpan(x0, x1, [&](size_t word, uint64_t bits) { fills[word] |= bits; });
                anyFills = true;
            }
        }
        if (!anyFills) continue;
        for (int y = y0; y < y1; y++)
            for (size_t word = 0; word < fills.size(); word++) cover[size_t(y)][word] |= fills[word];
    }
}

const TileOcclusion* planTileOcclusion(double cameraX, double cameraY) {
    if (!occlusionOn) return nullptr;
    occlusion.plan(cameraX, cameraY);
    return &occlusion;
}

void setTileOcclusion(bool on) {
    occlusionOn = on;
}

void fillUncoveredBlack(const TileOcclusion* plan) {
    if (!sharedGraphic) return;
    if (!plan) {
        sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), 0, 0, 0, 1);
        return;
    }
    for (const ScreenRect& r : plan->uncoveredRects())
        sharedGraphic->fillRect(float(r.left), float(r.top), float(r.right), float(r.bottom), 0, 0, 0, 1);
}
