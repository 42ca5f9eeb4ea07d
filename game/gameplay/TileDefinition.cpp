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

// Draws the part of a frame above the screen line when the frame is turned by a quarter turn: the frame is
// mapped corner by corner, and the source side that faces down after the turn is cut back to the line.
void drawTurnedAbove(SpriteAnimation& animation, int x, int y, int lineY, int rotation, bool flipX) {
    bool stepFlipX = false, stepFlipY = false;
    const SpriteFrame* frame = animation.currentSheetFrame(stepFlipX, stepFlipY);
    if (!frame || !frame->sheet || !frame->sheet->getGraphic()) return;
    flipX = flipX != stepFlipX;
    const double w = frame->width(), h = frame->height();
    const int turns = (rotation / 90) & 3;
    auto map = [&](double u, double v, double& sx, double& sy) {
        if (flipX) u = w - u;
        if (stepFlipY) v = h - v;
        const double dx = u - w / 2, dy = v - h / 2;
        double rx = dx, ry = dy;
        if (turns == 1)
            rx = dy, ry = -dx;
        else if (turns == 2)
            rx = -dx, ry = -dy;
        else if (turns == 3)
            rx = -dy, ry = dx;
        sx = x + w / 2 + rx;
        sy = y + h / 2 + ry;
    };
    double sx0, sy0, sxU, syU, sxV, syV;
    map(0, 0, sx0, sy0);
    map(1, 0, sxU, syU);
    map(0, 1, sxV, syV);
    double u1 = 0, u2 = w, v1 = 0, v2 = h;
    const double du = syU - sy0, dv = syV - sy0;
    if (du > 0.5)
        u2 = std::min(u2, (lineY - sy0) / du);
    else if (du < -0.5)
        u1 = std::max(u1, (lineY - sy0) / du);
    else if (dv > 0.5)
        v2 = std::min(v2, (lineY - sy0) / dv);
    else if (dv < -0.5)
        v1 = std::max(v1, (lineY - sy0) / dv);
    if (u1 >= u2 || v1 >= v2) return;
    const double corners[4][2] = {{u1, v1}, {u2, v1}, {u2, v2}, {u1, v2}};
    float dest[4][2];
    for (int i = 0; i < 4; i++) {
        double dx, dy;
        map(corners[i][0], corners[i][1], dx, dy);
        dest[i][0] = float(dx);
        dest[i][1] = float(dy);
    }
    const float l = float(frame->left), t = float(frame->top);
    frame->sheet->getGraphic()->blitArbitraryQuad(
        l + float(u1), t + float(v1), l + float(u2), t + float(v1), l + float(u2), t + float(v2), l + float(u1),
        t + float(v2), dest[0][0], dest[0][1], dest[1][0], dest[1][1], dest[2][0], dest[2][1], dest[3][0], dest[3][1]);
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
}

void freeTileDefinitions() {
    animatedTiles.clear();
    definitions.clear();
}

TileDefinition* getTileDefinition(int code) {
    if (code < 0 || code >= int(definitions.size())) return nullptr;
    return definitions[size_t(code)].get();
}

void updateAnimatedTiles() {
    for (TileDefinition* tile : animatedTiles)
        if (SpriteSequence* sequence = tile->animation->currentSequence()) sequence->advance();
}
