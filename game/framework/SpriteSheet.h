// A sprite sheet: one engine picture cut into frame rectangles, each frame carrying its hotspots (the emit
// points of shots and effects). Every framed picture of the game draws through one of these.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SheetLayout;
class KGraphic;
class KImage;
class SpriteSheet;

// An emit point: x, y relative to the frame's centre (y down), an angle in degrees and a flag byte.
struct SpriteHotspot {
    double x = 0, y = 0, angle = 0;
    uint8_t flag = 1;
};

// What the texels a frame draws from hold, as measured from its picture (SpriteSheet::measureFrameAlpha).
enum FrameAlpha : uint8_t {
    kFrameAlphaUnknown = 0, // not measured, or the picture could not be read back as it was loaded
    kFrameAlphaOpaque,      // every texel fully opaque
    kFrameAlphaClear,       // every texel fully transparent
    kFrameAlphaMixed,
};

// A frame rectangle in the picture (right and bottom exclusive) with its hotspots.
struct SpriteFrame {
    std::vector<SpriteHotspot> hotspots;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    SpriteSheet* sheet = nullptr;
    FrameAlpha alpha = kFrameAlphaUnknown;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// Loads a picture of the graphics folder into the graphic (true colour, alpha); on failure shows the
// "Failed to Load Picture" box and leaves the graphic empty. False on failure.
bool loadGraphicsPicture(KGraphic* graphic, const std::string& fileName);

enum SpriteLoadMode : int32_t {
    kLoadPlain = 0,  // the named file
    kLoadMasked = 1, // "<base>.png", else "<base>.jpg" with its mask picture
};

class SpriteSheet {
public:
    // Makes the picture and loads the file from the graphics folder; blend 1 is normal, 0 additive;
    // filter 1 is linear, 0 point filtering.
    SpriteSheet(const std::string& fileName, uint8_t blend, uint8_t filter);
    // An entry with a picture object but no picture yet (loaded later through load), blend 1.
    explicit SpriteSheet(uint8_t filter);
    ~SpriteSheet();
    SpriteSheet(const SpriteSheet&) = delete;
    SpriteSheet& operator=(const SpriteSheet&) = delete;

    // Loads the file unless it is the name already loaded; then applies the blend and filter flags. A file
    // that fails shows the "Failed to Load Picture" box and leaves an empty picture that draws nothing.
    void load(const std::string& fileName);

    void addFrame(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Cuts whole cells, rows top to bottom and cells left to right, until count frames (-1: every cell).
    void sliceGrid(int32_t cellWidth, int32_t cellHeight, int32_t count);
    // Cuts the layout's frames: its rectangles, then its grid.
    void addLayoutFrames(const SheetLayout& layout);
    // Adds a hotspot to a frame; a frame the picture did not provide is left alone.
    void addHotspot(int frame, double x, double y, double angle, uint8_t flag = 1);

    int frameCount() const { return int(frames.size()); }
    // The frame, or null when the sheet has no such frame.
    SpriteFrame* getFrame(int frame) const;
    KGraphic* getGraphic() const { return graphic; }
    const std::string& getFileName() const { return fileName; }
    bool blendsNormally() const { return blend != 0; } // else additively
    bool filtersLinearly() const { return filter != 0; }
    // Sets the alpha of every frame from the picture file, once per file loaded: the frames a blended draw
    // leaves unchanged or fills entirely. Frames stay unknown when the file does not decode to the picture the
    // sheet holds (another file was taken, a mask was applied). Sheets drawn only as wholes never need it.
    // Once asked, the sheet measures every later file while loading it, from the one decode the load makes.
    void measureFrameAlpha();
    int32_t loadMode = kLoadPlain; // set before loading

    // Draws with the frame's top-left at (x, y). A frame the sheet does not have, or a point beyond the
    // 16-bit range of the picture's destinations (far off the screen), draws nothing.
    void blitFrame(int frame, int x, int y, bool flipX, bool flipY);
    void drawFrame(int frame, int x, int y, bool flipX, bool flipY);
    void drawFrameStretched(int frame, int x, int y, double angle, double zoom, bool flipX, bool flipY);
    void drawFrameTransformed(int frame, int x, int y, double angle, double zoom, double alpha, bool flipX, bool flipY);
    // The part of the frame below the screen line limitY is cut off the source.
    void drawFrameClippedBottom(int frame, int x, int y, int limitY, double angle, double zoom, double alpha,
                                bool flipX, bool flipY);
    // Frame 0 with the part right of the screen line limitX cut off.
    void drawFirstFrameClipped(int x, int y, int limitX, double angle, double zoom, double alpha);
    // The part of the turned frame above the screen line limitY is cut off (tiles cut at the water line).
    void drawFrameClippedRotated(int frame, int x, int y, int limitY, double angle, double zoom, double alpha,
                                 bool flipX, bool flipY);

private:
    void loadPicture();
    // Loads the plain picture in its two steps, measuring the frames from the decoded pixels between them.
    // False when the picture object cannot load in steps or the file does not load.
    bool loadMeasuring(const std::string& path);
    void measureFramesFrom(const KImage& picture);
    // The frame to draw at (x, y): null when there is no picture object or frame, or the point lies beyond
    // the 16-bit destination range.
    const SpriteFrame* drawable(int frame, int x, int y) const;

    KGraphic* graphic = nullptr;
    std::string fileName;
    std::string measuredFileName; // the file the frames' alpha was measured from
    bool measuresOnLoad = false;  // the frames' alpha has been asked for: later loads measure it
    std::vector<std::unique_ptr<SpriteFrame>> frames;
    uint8_t blend = 1;
    uint8_t filter = 1;
};
