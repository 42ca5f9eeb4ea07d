// KGraphicBase: what the picture back ends (KGraphicD3DCore, KGraphicGL) share above KGraphic: a picture's sources
// (the decoded picture and mask, the kept copy of caller pixels, the file names), loading them from files, memory,
// mask pairs and caller pixels, and the splice tables an upload cuts a picture into. Each back end uploads, draws
// and frees its own textures.
#pragma once

#include "KGraphic.h"
#include "KImage.h"
#include "KSplicer.h"

#include <cstdint>
#include <string>
#include <vector>

class KGraphicBase : public KGraphic {
public:
    static constexpr int kMaxTextures = 32;

    void setColorKey(bool enable, int c1, int c2, int c3) override;
    void setOneBitAlpha(bool oneBitAlpha) override;
    void setMipmapping(bool mipmapping) override;

    bool loadPicture(const char* fileName, bool trueColor, bool alpha, bool splice = false, int loadKind = K_LOAD_NOW,
                     const PictureSplice* spliceTable = nullptr) override;
    bool loadPictureFromMemory(const char* name, const unsigned char* data, size_t size, bool trueColor, bool alpha,
                               bool splice = false, int loadKind = K_LOAD_NOW,
                               const PictureSplice* spliceTable = nullptr) override;
    bool loadPictureWithMask(const char* fileName, const char* maskFileName, bool trueColor, bool splice = false,
                             int loadKind = K_LOAD_NOW, const PictureSplice* spliceTable = nullptr) override;
    bool loadPictureWithMaskFromMemory(const char* name, const unsigned char* data, size_t size, const char* maskName,
                                       const unsigned char* maskData, size_t maskSize, bool trueColor,
                                       bool splice = false, int loadKind = K_LOAD_NOW,
                                       const PictureSplice* spliceTable = nullptr) override;
    // The caller's buffer is remembered for reloadPicture, which reads it again: it must outlive that call.
    bool makePictureFromPixels(const uint32_t* pixels, long width, long height, bool trueColor, bool alpha,
                               bool splice = false, const PictureSplice* spliceTable = nullptr) override;
    void reloadPicture() override;

    // The picture a K_LOAD_DECODE_ONLY load decoded, until K_LOAD_UPLOAD_KEPT uploads it (empty otherwise).
    const KImage& getDecodedPicture() const { return image_; }

    bool isSpliced() override { return spliceCount_ > 0; }
    int getSpliceCount() const { return spliceCount_; }
    float getPictureScale() const { return scale_; }
    bool hasFileName() const { return !fileName_.empty(); }

    // The smallest power of two at or above value, and at least minimum.
    static int powerOfTwoAtLeast(int value, int minimum = 1);

protected:
    // Uploads width x height pixels (and a mask, whose G byte is the alpha) into the back end's textures: spliced
    // with the splice flag (the caller's table, or the splicer's cut when it is null), else as one texture.
    virtual bool uploadTextures(const PictureSplice* spliceTable, const uint32_t* pixels, const uint32_t* mask,
                                int width, int height, bool splice) = 0;
    // The back end's prefix of its log lines ("D3D8", "OpenGL").
    virtual const char* logPrefix() const = 0;
    // Whether loadPicture first tries the file's high-resolution variant.
    virtual bool wantsHighResolutionVariant() = 0;
    // Waits until the device can take an upload (a lost Direct3D device); nothing by default.
    virtual void waitForDevice() {}
    // A freshly decoded picture (and mask), before anything reads its size; nothing by default.
    virtual void adjustDecoded() {}

    // Uploads the kept copy again with the picture's own splices.
    bool uploadKept();
    // A grab of the back buffer becomes the kept copy and is uploaded: true colour, opaque, and one texel per
    // game-area pixel (scale 1, whatever picture was there before).
    bool uploadGrabbed(const KImage& grabbed, const PictureSplice* spliceTable, bool splice);
    void dropKeptPixels();
    // The picture's own splices (at most kMaxPictureSplices) into table, followed by an empty record that ends
    // it; table has room for kMaxPictureSplices + 1 records. Returns the count.
    int copySplicesInto(PictureSplice* table) const;

    // The pieces an upload cuts a width x height picture into: none without the splice flag; else the caller's
    // table (its records in order while x1 < x2, at most kMaxPictureSplices), or the splicer's cut without one.
    static int collectSplices(const PictureSplice* spliceTable, bool splice, int width, int height,
                              PictureSplice* pieces);
    // For each texture the pieces use, the size they need there (the largest x2 - x1 + u and y2 - y1 + v); the
    // number of textures, or -1 when a piece names a texture outside the kMaxTextures slots.
    static int measureSpliceTextures(const PictureSplice* pieces, int count, int* needWidth, int* needHeight);

    bool colorKeyEnabled_ = false;
    uint32_t colorKey_ = 0; // 0x00BBGGRR
    bool oneBitAlpha_ = false;
    bool mipmapping_ = false;
    KImage image_;     // decoded picture, kept only between decoding and upload
    KImage maskImage_; // decoded mask picture, likewise
    const uint32_t* callerPixels_ = nullptr;
    std::vector<uint32_t> keptPixels_;
    float width_ = 0, height_ = 0; // as stored (the OpenGL back end halves them with half-size loading)
    bool trueColor_ = true, alpha_ = true;
    int spliceCount_ = 0;
    PictureSplice splices_[kMaxPictureSplices];
    float scale_ = 1; // 2 for the high-resolution variant, 0.5 for a picture loaded at half size
    std::string fileName_, maskFileName_;

private:
    // After a decode: the picture's scale, flags and size from the decoded picture.
    void takeDecoded(bool trueColor, bool alpha);
    // Uploads what the last decode kept, then drops the decoded pixels.
    bool uploadDecoded(const PictureSplice* spliceTable, bool splice);
};
