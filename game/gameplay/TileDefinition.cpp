// The tile definitions of codes 0 .. 300 and their draws by draw mode.
#include "TileDefinition.h"

#include "KGraphic.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TerrainCodes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kWaterSheet = 3, kSandSheet = 4, kSkySheet = 5, kRockSheet = 6, kCoralSheet = 21;

std::vector<std::unique_ptr<TileDefinition>> definitions;
std::vector<TileDefinition*> animatedTiles; // the definitions whose animation has a sequence

// The coral frames of codes 237 .. 300, in code order.
constexpr int kCoralFrames[64] = {18, 18, 18, 18, 35, 35, 35, 35, 19, 20, 21, 22, 23, 24, 25, 26,
                                  31, 32, 33, 34, 34, 31, 32, 33, 27, 28, 29, 30, 30, 27, 28, 29,
                                  0,  0,  0,  0,  17, 17, 17, 17, 1,  2,  3,  4,  1,  6,  7,  8,
                                  13, 14, 15, 16, 16, 13, 14, 15, 9,  10, 11, 12, 12, 9,  10, 11};

void addDefinition(bool opaque, int rotation, bool flipX, std::unique_ptr<SpriteAnimation> animation) {
    definitions.push_back(std::make_unique<TileDefinition>(opaque, rotation, flipX, std::move(animation)));
}

// A still tile: one frame of one sheet.
void addStill(int sheet, int frame, bool opaque, int rotation = 0, bool flipX = false) {
    auto animation = std::make_unique<SpriteAnimation>();
    animation->addFrame(getSpriteSheet(sheet), frame);
    addDefinition(opaque, rotation, flipX, std::move(animation));
}

// The eight turns of one frame: 0, 90, 180, 270 degrees, then the same four mirrored.
void addRotationSet(int sheet, int frame, bool opaque) {
    for (int flip = 0; flip < 2; flip++)
        for (int rotation = 0; rotation < 360; rotation += 90) addStill(sheet, frame, opaque, rotation, flip != 0);
}

// A looping water tile: the frames first .. first + count - 1 in equal steps over one sequence.
void addAnimated(int firstFrame, int count, double length, bool flipX) {
    auto animation = std::make_unique<SpriteAnimation>();
    for (int i = 0; i < count; i++) animation->addFrame(getSpriteSheet(kWaterSheet), firstFrame + i);
    SpriteSequence* sequence = animation->addSequence(length);
    for (int i = 0; i < count; i++) sequence->addStep(i, false, false, 1.0);
    sequence->normalizeDurations();
    animation->setSequence(0);
    addDefinition(/*opaque=*/false, 0, flipX, std::move(animation));
    animatedTiles.push_back(definitions.back().get());
}

// Draws the part of a frame turned by a quarter turn that lies above the screen line. The kept band of the
// screen (k rows from the top) comes from one band of the picture: for a turn of 90 degrees its right edge
// (the left when mirrored), for 180 its bottom, for 270 its left (the right when mirrored). That band alone
// is drawn with the same turn, about the centre of the screen band it fills.
void drawTurnedAbove(SpriteAnimation& animation, int x, int y, int lineY, int rotation, bool flipX) {
    bool stepFlipX = false, stepFlipY = false;
    const SpriteFrame* frame = animation.currentSheetFrame(stepFlipX, stepFlipY);
    if (!frame || !frame->sheet || !frame->sheet->getGraphic()) return;
    flipX = flipX != stepFlipX;
    const float w = float(frame->width()), h = float(frame->height());
    const int turns = (rotation / 90) & 3;
    // The turned frame keeps its centre; a quarter turn swaps its width and height on the screen.
    const float centreX = float(x) + w / 2, screenHeight = turns == 2 ? h : w;
    const float top = float(y) + h / 2 - screenHeight / 2;
    const float k = std::min(float(lineY) - top, screenHeight);
    if (k <= 0) return;
    float u1 = 0, u2 = w, v1 = 0, v2 = h;
    if (turns == 2) {
        (stepFlipY ? v2 : v1) = stepFlipY ? k : h - k;
    } else {
        const bool keepRight = (turns == 1) != flipX;
        if (keepRight)
            u1 = w - k;
        else
            u2 = k;
    }
    const float sw = u2 - u1, sh = v2 - v1;
    const float centreY = top + k / 2;
    frame->sheet->getGraphic()->blitAlphaRectFxF(float(frame->left) + u1, float(frame->top) + v1,
                                                 float(frame->left) + u2, float(frame->top) + v2, centreX - sw / 2,
                                                 centreY - sh / 2, float(rotation), 1, 1, flipX, stepFlipY);
}

// An opaque draw (blending off) writes every pixel of the cell once every frame it may show fills the cell;
// a blended one does so only from fully opaque frames with the normal blend, and draws nothing at all from
// wholly transparent ones.
TileCoverage coverageOf(const TileDefinition& tile) {
    const SpriteAnimation* animation = tile.animation.get();
    if (!animation || animation->frameCount() == 0 || !animation->stepsNameFrames()) return kTileCoverageUnknown;
    bool opaque = true, clear = true;
    for (int n = 0; n < animation->frameCount(); n++) {
        const SpriteFrame* frame = animation->sheetFrame(n);
        if (!frame || frame->alpha == kFrameAlphaUnknown || frame->width() != kTileSize || frame->height() != kTileSize)
            return kTileCoverageUnknown;
        opaque = opaque && frame->alpha == kFrameAlphaOpaque && frame->sheet->blendsNormally();
        clear = clear && frame->alpha == kFrameAlphaClear;
    }
    if (tile.drawMode == kTileOpaque || tile.drawMode == kTileOpaqueRotated || opaque) return kTileFillsCell;
    return clear ? kTileDrawsNothing : kTileCoverageUnknown;
}

} // namespace

TileDefinition::TileDefinition(bool isOpaque, int turn, bool mirror, std::unique_ptr<SpriteAnimation> frames)
    : opaque(isOpaque ? 1 : 0), rotation(turn), flipX(mirror ? 1 : 0),
      drawMode(isOpaque ? (turn ? kTileOpaqueRotated : kTileOpaque) : (turn ? kTileBlendedRotated : kTileBlended)),
      animation(std::move(frames)) {}

TileDefinition::~TileDefinition() = default;

void TileDefinition::draw(int x, int y) {
    if (!animation) return;
    switch (drawMode) {
    case kTileOpaque:
        animation->blit(x, y, flipX, flipY);
        break;
    case kTileBlended:
        animation->draw(x, y, flipX, flipY);
        break;
    case kTileOpaqueRotated:
        animation->drawStretched(x, y, rotation, 1.0, flipX, flipY);
        break;
    default:
        animation->drawTransformed(x, y, rotation, 1.0, 1.0, flipX, flipY);
        break;
    }
}

void TileDefinition::drawBelow(int x, int y, int lineY) {
    if (animation) animation->drawClippedRotated(x, y, lineY, rotation, 1.0, 1.0, flipX, flipY);
}

void TileDefinition::drawAbove(int x, int y, int lineY) {
    if (!animation) return;
    if (rotation % 360 == 0)
        animation->drawClippedBottom(x, y, lineY, 0, 1.0, 1.0, flipX, flipY);
    else
        drawTurnedAbove(*animation, x, y, lineY, rotation, flipX);
}

void buildTileDefinitions() {
    freeTileDefinitions();
    definitions.reserve(kTileCodeCount);
    addDefinition(/*opaque=*/true, 0, false, nullptr); // 0: the empty cell
    addAnimated(/*firstFrame=*/0, /*count=*/8, /*length=*/1.0, /*flipX=*/true);
    addAnimated(/*firstFrame=*/8, /*count=*/4, /*length=*/2.0, /*flipX=*/false);
    for (int frame = 8; frame <= 15; frame++) addRotationSet(kSandSheet, frame, frame == 8 || frame == 15);
    for (int frame = 0; frame <= 6; frame++) {
        addStill(kSkySheet, frame, true);
        addStill(kSkySheet, frame, true, 0, /*flipX=*/true);
    }
    for (int frame = 0; frame <= 15; frame++)
        addRotationSet(kRockSheet, frame, frame == 0 || frame == 7 || frame == 8 || frame == 15);
    for (int frame = 8; frame <= 12; frame++) addStill(kSkySheet, frame, true);
    addStill(kSkySheet, 12, true, 0, /*flipX=*/true);
    addStill(kSkySheet, 13, true);
    addStill(kSkySheet, 13, true, 0, /*flipX=*/true);
    for (int frame = 0; frame <= 5; frame++) {
        addStill(kSandSheet, frame, false);
        addStill(kSandSheet, frame, false, 0, /*flipX=*/true);
    }
    addStill(kSandSheet, 6, false);
    addStill(kSandSheet, 6, false, 0, /*flipX=*/true);
    for (int i = 0; i < 3; i++) addStill(kSandSheet, 7, false);
    for (int i = 0; i < 3; i++) addStill(kSandSheet, 7, false, 0, /*flipX=*/true);
    for (int frame : kCoralFrames) addStill(kCoralSheet, frame, false);
    classifyTileDefinitions();
}

void classifyTileDefinitions() {
    for (const auto& tile : definitions) {
        if (!tile->animation) continue;
        for (int n = 0; n < tile->animation->frameCount(); n++)
            if (SpriteFrame* frame = tile->animation->sheetFrame(n)) frame->sheet->measureFrameAlpha();
        tile->coverage = coverageOf(*tile);
    }
}

void freeTileDefinitions() {
    animatedTiles.clear();
    definitions.clear();
}

TileDefinition* getTileDefinition(int code) {
    if (code < 0 || code >= int(definitions.size())) return nullptr;
    return definitions[size_t(code)].get();
}

void restartAnimatedTiles() {
    for (TileDefinition* tile : animatedTiles) tile->animation->setSequence(0);
}

void updateAnimatedTiles() {
    for (TileDefinition* tile : animatedTiles)
        if (SpriteSequence* sequence = tile->animation->currentSequence()) sequence->advance();
}
