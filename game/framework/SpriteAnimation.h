// Sprite animations: frames taken from sprite sheets, grouped into looping sequences of timed steps that
// name a frame and may mirror it. Entities, buttons and menu pictures draw through them.
#pragma once

#include "PartPool.h"

#include <cstdint>
#include <memory>

class SpriteSheet;
struct SpriteFrame;

struct AnimationFrame : PooledPart {
    SpriteSheet* sheet = nullptr; // not owned
    int32_t frame = 0;            // in the sheet
};

struct SpriteStep : PooledPart {
    double duration = 0; // a share of the sequence length once normalized
    double elapsed = 0;
    int32_t frame = 0; // animation frame number
    uint8_t flipX = 0, flipY = 0;
};

class SpriteSequence : public PooledPart {
public:
    void addStep(int32_t frame, bool flipX, bool flipY, double duration);
    // Divides every duration by their sum.
    void normalizeDurations();
    // One update: true when the sequence has just wrapped to its first step. At most one step is passed.
    bool advance();
    // The current step's frame number and flips; frame 0 unflipped for a sequence without steps.
    int32_t currentFrame(bool& flipX, bool& flipY) const;

    PartList<std::unique_ptr<SpriteStep>> steps;
    int32_t currentStep = 0;
    double length = 0; // seconds for one pass at speed 1
    double speed = 0;  // 1.0 once selected
};

class SpriteAnimation : public PooledPart {
public:
    SpriteAnimation() = default;
    SpriteAnimation(const SpriteAnimation&) = delete;
    SpriteAnimation& operator=(const SpriteAnimation&) = delete;

    void addFrame(SpriteSheet* sheet, int32_t frame);
    // Frames 0 .. count - 1 of the sheet (-1: all), never more than the sheet has.
    void addFrames(SpriteSheet* sheet, int32_t count);
    SpriteSequence* addSequence(double length);
    // Makes sequence n current and restarts it.
    void setSequence(int n);
    SpriteSequence* currentSequence() const;
    int sequenceCount() const { return int(sequences.size()); }
    int frameCount() const { return int(frames.size()); }
    int32_t currentSequenceIndex() const { return current; }

    // The sheet frame of animation frame n; null when absent.
    SpriteFrame* sheetFrame(int n) const;
    // True when every step of every sequence names one of the frames (a step that does not draws nothing).
    bool stepsNameFrames() const;
    // The sheet frame shown now with its flips folded into flipX and flipY; null when absent.
    SpriteFrame* currentSheetFrame(bool& flipX, bool& flipY) const;
    // Hotspot index of the frame shown now, in the frame's own offsets, and the frame's flips when asked;
    // false, with (0, 0), when the frame or the hotspot is absent.
    bool currentHotspot(int index, double& x, double& y, bool* flipX = nullptr, bool* flipY = nullptr) const;
    // Size of animation frame 0 in its sheet; 0 without one.
    int frameWidth() const;
    int frameHeight() const;

    void blit(int x, int y, bool flipX, bool flipY);
    void draw(int x, int y, bool flipX, bool flipY);
    void drawStretched(int x, int y, double angle, double zoom, bool flipX, bool flipY);
    void drawTransformed(int x, int y, double angle, double zoom, double alpha, bool flipX, bool flipY);
    void drawClippedRotated(int x, int y, int limitY, double angle, double zoom, double alpha, bool flipX, bool flipY);
    void drawClippedBottom(int x, int y, int limitY, double angle, double zoom, double alpha, bool flipX, bool flipY);
    // Animation frame 0 whatever the sequence, at zoom 1.
    void drawFirstFrame(int x, int y, int angle, double alpha, bool flipX, bool flipY);

private:
    // The animation frame shown now, the caller's flips turned by the step's; null when absent.
    const AnimationFrame* resolve(bool& flipX, bool& flipY) const;

    PartList<std::unique_ptr<AnimationFrame>> frames;
    PartList<std::unique_ptr<SpriteSequence>> sequences;
    int32_t current = 0;
};
