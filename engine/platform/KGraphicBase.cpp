// Loading a picture's sources for the picture back ends, and cutting a picture into splices for their uploads.
#include "KGraphicBase.h"

#include "KLog.h"
#include "KMiscTools.h"
#include "KPictureSource.h"

#include <algorithm>

void KGraphicBase::setColorKey(bool enable, int c1, int c2, int c3) {
    colorKeyEnabled_ = enable;
    colorKey_ = enable ? (uint32_t(c1 & 0xFF) << 16) | (uint32_t(c2 & 0xFF) << 8) | uint32_t(c3 & 0xFF) : 0;
}

void KGraphicBase::setOneBitAlpha(bool oneBitAlpha) {
    oneBitAlpha_ = oneBitAlpha;
}

void KGraphicBase::setMipmapping(bool mipmapping) {
    mipmapping_ = mipmapping;
}

bool KGraphicBase::loadPicture(const char* fileName, bool trueColor, bool alpha, bool splice, int loadKind,
                               const PictureSplice* spliceTable) {
    if (loadKind == K_LOAD_UPLOAD_KEPT)
        return loadPictureFromMemory(fileName, nullptr, 0, trueColor, alpha, splice, loadKind, spliceTable);
    if (loadKind != K_LOAD_NOW && loadKind != K_LOAD_DECODE_ONLY) return false;
    if (!fileName) return false;

    KPictureFileBytes file;
    bool variant = wantsHighResolutionVariant() && file.read(makeHighResName(fileName));
    if (!variant && !file.read(fileName)) return false;
    // The whole path is kept (and read for the format), however deep the folder the game lies in.
    std::string name = fileName;
    bool result =
        loadPictureFromMemory(name.c_str(), file.bytes, file.size, trueColor, alpha, splice, loadKind, spliceTable);
    if (result && variant) scale_ *= 2; // the variant holds twice the pixels of the picture it stands for
    fileName_ = name;
    maskFileName_.clear();
    return result;
}

bool KGraphicBase::loadPictureFromMemory(const char* name, const unsigned char* data, size_t size, bool trueColor,
                                         bool alpha, bool splice, int loadKind, const PictureSplice* spliceTable) {
    if (loadKind == K_LOAD_NOW || loadKind == K_LOAD_DECODE_ONLY) {
        freePicture();
        dropKeptPixels(); // a new source replaces the old one
        if (!decodePicture(name, data, size, image_)) return false;
        takeDecoded(trueColor, alpha);
        if (loadKind == K_LOAD_DECODE_ONLY) return true;
    } else if (loadKind != K_LOAD_UPLOAD_KEPT) {
        return false;
    }
    if (!image_.getPixels()) return false; // kind 2 needs what an earlier kind-1 load kept
    if (!image_.getHasAlpha() && !maskImage_.getHasAlpha() && !colorKeyEnabled_) alpha_ = false;
    return uploadDecoded(spliceTable, splice);
}

bool KGraphicBase::loadPictureWithMask(const char* fileName, const char* maskFileName, bool trueColor, bool splice,
                                       int loadKind, const PictureSplice* spliceTable) {
    if (loadKind == K_LOAD_UPLOAD_KEPT)
        return loadPictureWithMaskFromMemory(fileName, nullptr, 0, maskFileName, nullptr, 0, trueColor, splice,
                                             loadKind, spliceTable);
    if (loadKind != K_LOAD_NOW && loadKind != K_LOAD_DECODE_ONLY) return false;
    if (!fileName || !maskFileName) return false;
    KPictureFileBytes file, maskFile;
    if (!file.read(fileName) || !maskFile.read(maskFileName)) return false;
    std::string name = fileName, maskName = maskFileName;
    bool result = loadPictureWithMaskFromMemory(name.c_str(), file.bytes, file.size, maskName.c_str(), maskFile.bytes,
                                                maskFile.size, trueColor, splice, loadKind, spliceTable);
    fileName_ = name;
    maskFileName_ = maskName;
    return result;
}

bool KGraphicBase::loadPictureWithMaskFromMemory(const char* name, const unsigned char* data, size_t size,
                                                 const char* maskName, const unsigned char* maskData, size_t maskSize,
                                                 bool trueColor, bool splice, int loadKind,
                                                 const PictureSplice* spliceTable) {
    if (loadKind == K_LOAD_NOW || loadKind == K_LOAD_DECODE_ONLY) {
        freePicture();
        dropKeptPixels();
        if (!decodePictureAndMask(name, data, size, maskName, maskData, maskSize, image_, maskImage_)) return false;
        // The mask is read pixel by pixel against the picture: one that could not be resampled must not be used.
        if (maskImage_.getWidth() != image_.getWidth() || maskImage_.getHeight() != image_.getHeight()) {
            logMessage("%s: mask '%s' cannot be fitted to the picture's size", logPrefix(), maskName ? maskName : "");
            image_.clear();
            maskImage_.clear();
            return false;
        }
        takeDecoded(trueColor, /*alpha=*/true);
        if (loadKind == K_LOAD_DECODE_ONLY) return true;
    } else if (loadKind != K_LOAD_UPLOAD_KEPT) {
        return false;
    }
    if (!image_.getPixels() || !maskImage_.getPixels()) return false;
    alpha_ = true;
    return uploadDecoded(spliceTable, splice);
}

void KGraphicBase::takeDecoded(bool trueColor, bool alpha) {
    scale_ = 1;
    adjustDecoded();
    trueColor_ = trueColor;
    alpha_ = alpha;
    width_ = float(image_.getWidth());
    height_ = float(image_.getHeight());
}

bool KGraphicBase::uploadDecoded(const PictureSplice* spliceTable, bool splice) {
    waitForDevice();
    const uint32_t* mask = maskImage_.getPixels();
    bool result = uploadTextures(spliceTable, image_.getPixels(), mask, image_.getWidth(), image_.getHeight(), splice);
    image_.clear();
    maskImage_.clear();
    return result;
}

bool KGraphicBase::makePictureFromPixels(const uint32_t* pixels, long width, long height, bool trueColor, bool alpha,
                                         bool splice, const PictureSplice* spliceTable) {
    if (!pixels || width <= 0 || height <= 0 || !KImage::sizeAllowed(width, height)) return false;
    size_t count = size_t(width) * size_t(height);
    callerPixels_ = nullptr; // until this upload succeeds the old buffer no longer matches the copy
    keptPixels_.assign(pixels, pixels + count);
    waitForDevice();
    width_ = float(width);
    height_ = float(height);
    scale_ = 1;
    trueColor_ = trueColor;
    alpha_ = alpha;
    if (!uploadTextures(spliceTable, keptPixels_.data(), nullptr, int(width), int(height), splice)) return false;
    callerPixels_ = pixels;
    return true;
}

bool KGraphicBase::uploadGrabbed(const KImage& grabbed, const PictureSplice* spliceTable, bool splice) {
    const int width = grabbed.getWidth(), height = grabbed.getHeight();
    keptPixels_.assign(grabbed.getPixels(), grabbed.getPixels() + size_t(width) * size_t(height));
    callerPixels_ = nullptr;
    width_ = float(width);
    height_ = float(height);
    scale_ = 1;
    trueColor_ = true;
    alpha_ = false;
    return uploadTextures(spliceTable, keptPixels_.data(), nullptr, width, height, splice);
}

void KGraphicBase::dropKeptPixels() {
    keptPixels_.clear();
    keptPixels_.shrink_to_fit();
    callerPixels_ = nullptr;
}

void KGraphicBase::reloadPicture() {
    if (!callerPixels_ || keptPixels_.empty()) return;
    std::copy(callerPixels_, callerPixels_ + keptPixels_.size(), keptPixels_.begin());
    uploadKept();
}

int KGraphicBase::copySplicesInto(PictureSplice* table) const {
    int count = std::clamp(spliceCount_, 0, kMaxPictureSplices);
    std::copy(splices_, splices_ + count, table);
    table[count] = PictureSplice{0, 0, 0, 0, 0, 0, 0};
    return count;
}

bool KGraphicBase::uploadKept() {
    PictureSplice table[kMaxPictureSplices + 1];
    int count = copySplicesInto(table);
    waitForDevice();
    return uploadTextures(count > 0 ? table : nullptr, keptPixels_.data(), nullptr, int(width_), int(height_),
                          count > 0);
}

int KGraphicBase::powerOfTwoAtLeast(int value, int minimum) {
    int size = std::max(minimum, 1);
    while (size < value) size <<= 1;
    return size;
}

int KGraphicBase::collectSplices(const PictureSplice* spliceTable, bool splice, int width, int height,
                                 PictureSplice* pieces) {
    if (!splice) return 0;
    if (!spliceTable) return splicePicture(width, height, pieces);
    int count = 0;
    while (count < kMaxPictureSplices && spliceTable[count].x1 < spliceTable[count].x2) {
        pieces[count] = spliceTable[count];
        count++;
    }
    return count;
}

int KGraphicBase::measureSpliceTextures(const PictureSplice* pieces, int count, int* needWidth, int* needHeight) {
    int textures = 0;
    std::fill(needWidth, needWidth + kMaxTextures, 0);
    std::fill(needHeight, needHeight + kMaxTextures, 0);
    for (int i = 0; i < count; i++) {
        const PictureSplice& piece = pieces[i];
        // A texture index outside the slots cannot be honoured: the table is refused.
        if (piece.texture < 0 || piece.texture >= kMaxTextures) return -1;
        textures = std::max(textures, piece.texture + 1);
        needWidth[piece.texture] = std::max(needWidth[piece.texture], int(piece.x2 - piece.x1 + piece.u));
        needHeight[piece.texture] = std::max(needHeight[piece.texture], int(piece.y2 - piece.y1 + piece.v));
    }
    return textures;
}
