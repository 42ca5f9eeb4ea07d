// Sprite animations: sequence timing and the draws that end in the sprite-sheet draws.
#include "SpriteAnimation.h"

#include "FrameClock.h"
#include "SpriteSheet.h"

void SpriteSequence::addStep(int32_t frame, bool flipX, bool flipY, double duration) {
    auto step = std::make_unique<SpriteStep>();
    step->duration = duration;
    step->frame = frame;
    step->flipX = flipX;
    step->flipY = flipY;
    steps.push_back(std::move(step));
}

void SpriteSequence::normalizeDurations() {
    double sum = 0;
    for (const auto& step : steps) sum += step->duration;
    if (sum <= 0) return;
    for (auto& step : steps) step->duration /= sum;
}

bool SpriteSequence::advance() {
    // A sequence without length or steps stands still rather than divide by zero.
    if (length <= 0 || steps.empty()) return false;
    if (currentStep < 0 || currentStep >= int32_t(steps.size())) currentStep = 0;
    SpriteStep& step = *steps[size_t(currentStep)];
    step.elapsed += frameTime / length * speed;
    double rest = step.duration - step.elapsed;
    if (rest > 0) return false;
    currentStep++;
    bool wrapped = currentStep >= int32_t(steps.size());
    if (wrapped) currentStep = 0;
    steps[size_t(currentStep)]->elapsed = -rest;
    return wrapped;
}

int32_t SpriteSequence::currentFrame(bool& flipX, bool& flipY) const {
    if (currentStep < 0 || currentStep >= int32_t(steps.size())) {
        flipX = flipY = false;
        return 0;
    }
    const SpriteStep& step = *steps[size_t(currentStep)];
    flipX = step.flipX != 0;
    flipY = step.flipY != 0;
    return step.frame;
}

void SpriteAnimation::addFrame(SpriteSheet* sheet, int32_t frame) {
    auto entry = std::make_unique<AnimationFrame>();
    entry->sheet = sheet;
    entry->frame = frame;
    frames.push_back(std::move(entry));
}

void SpriteAnimation::addFrames(SpriteSheet* sheet, int32_t count) {
    if (!sheet) return;
    int32_t available = sheet->frameCount();
    if (count < 0 || count > available) count = available;
    for (int32_t i = 0; i < count; i++) addFrame(sheet, i);
}

SpriteSequence* SpriteAnimation::addSequence(double length) {
    auto sequence = std::make_unique<SpriteSequence>();
    sequence->length = length;
    sequences.push_back(std::move(sequence));
    return sequences.back().get();
}

void SpriteAnimation::setSequence(int n) {
    current = n;
    SpriteSequence* sequence = currentSequence();
    if (!sequence) return;
    sequence->speed = 1.0;
    sequence->currentStep = 0;
    if (!sequence->steps.empty()) sequence->steps.front()->elapsed = 0;
}

SpriteSequence* SpriteAnimation::currentSequence() const {
    if (current < 0 || current >= int32_t(sequences.size())) return nullptr;
    return sequences[size_t(current)].get();
}

const AnimationFrame* SpriteAnimation::resolve(bool& flipX, bool& flipY) const {
    int32_t number = 0;
    if (const SpriteSequence* sequence = currentSequence()) {
        bool stepFlipX, stepFlipY;
        number = sequence->currentFrame(stepFlipX, stepFlipY);
        flipX ^= stepFlipX;
        flipY ^= stepFlipY;
    }
    if (number < 0 || number >= int32_t(frames.size())) return nullptr;
    const AnimationFrame* frame = frames[size_t(number)].get();
    return frame->sheet ? frame : nullptr;
}

SpriteFrame* SpriteAnimation::sheetFrame(int n) const {
    if (n < 0 || n >= int(frames.size())) return nullptr;
    const AnimationFrame& frame = *frames[size_t(n)];
    return frame.sheet ? frame.sheet->getFrame(frame.frame) : nullptr;
}

bool SpriteAnimation::stepsNameFrames() const {
    for (const auto& sequence : sequences)
        for (const auto& step : sequence->steps)
            if (step->frame < 0 || step->frame >= int32_t(frames.size())) return false;
    return true;
}

SpriteFrame* SpriteAnimation::currentSheetFrame(bool& flipX, bool& flipY) const {
    flipX = flipY = false;
    const AnimationFrame* frame = resolve(flipX, flipY);
    return frame ? frame->sheet->getFrame(frame->frame) : nullptr;
}

bool SpriteAnimation::currentHotspot(int index, double& x, double& y, bool* flipX, bool* flipY) const {
    x = y = 0;
    bool fx = false, fy = false;
    const SpriteFrame* frame = currentSheetFrame(fx, fy);
    if (flipX) *flipX = fx;
    if (flipY) *flipY = fy;
    if (!frame || index < 0 || index >= int(frame->hotspots.size())) return false;
    x = frame->hotspots[size_t(index)].x;
    y = frame->hotspots[size_t(index)].y;
    return true;
}

int SpriteAnimation::frameWidth() const {
    if (frames.empty() || !frames.front()->sheet) return 0;
    const SpriteFrame* frame = frames.front()->sheet->getFrame(frames.front()->frame);
    return frame ? frame->width() : 0;
}

int SpriteAnimation::frameHeight() const {
    if (frames.empty() || !frames.front()->sheet) return 0;
    const SpriteFrame* frame = frames.front()->sheet->getFrame(frames.front()->frame);
    return frame ? frame->height() : 0;
}

void SpriteAnimation::blit(int x, int y, bool flipX, bool flipY) {
    if (const AnimationFrame* f = resolve(flipX, flipY)) f->sheet->blitFrame(f->frame, x, y, flipX, flipY);
}

void SpriteAnimation::draw(int x, int y, bool flipX, bool flipY) {
    if (const AnimationFrame* f = resolve(flipX, flipY)) f->sheet->drawFrame(f->frame, x, y, flipX, flipY);
}

void SpriteAnimation::drawStretched(int x, int y, double angle, double zoom, bool flipX, bool flipY) {
    if (const AnimationFrame* f = resolve(flipX, flipY))
        f->sheet->drawFrameStretched(f->frame, x, y, angle, zoom, flipX, flipY);
}

void SpriteAnimation::drawTransformed(int x, int y, double angle, double zoom, double alpha, bool flipX, bool flipY) {
    if (const AnimationFrame* f = resolve(flipX, flipY))
        f->sheet->drawFrameTransformed(f->frame, x, y, angle, zoom, alpha, flipX, flipY);
}

void SpriteAnimation::drawClippedRotated(int x, int y, int limitY, double angle, double zoom, double alpha, bool flipX,
                                         bool flipY) {
    if (const AnimationFrame* f = resolve(flipX, flipY))
        f->sheet->drawFrameClippedRotated(f->frame, x, y, limitY, angle, zoom, alpha, flipX, flipY);
}

void SpriteAnimation::drawClippedBottom(int x, int y, int limitY, double angle, double zoom, double alpha, bool flipX,
                                        bool flipY) {
    if (const AnimationFrame* f = resolve(flipX, flipY))
        f->sheet->drawFrameClippedBottom(f->frame, x, y, limitY, angle, zoom, alpha, flipX, flipY);
}

void SpriteAnimation::drawFirstFrame(int x, int y, int angle, double alpha, bool flipX, bool flipY) {
    if (frames.empty() || !frames.front()->sheet) return;
    const AnimationFrame& f = *frames.front();
    f.sheet->drawFrameTransformed(f.frame, x, y, double(angle), 1.0, alpha, flipX, flipY);
}
