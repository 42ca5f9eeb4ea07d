// KGraphicGL pictures (loaded through KGraphicBase): half-size loading and the high-resolution variant; the grab of
// the back buffer; texture sizes, targets and formats; preparing RGBA texels with colour key and edge bleeding;
// splicing; mipmaps; reading textures back to save a picture.
#include "KGraphicGL.h"

#include "HostGL.h"
#include "KGraphicGLState.h"
#include "KGraphicGLWindow.h"
#include "KImageFile.h"
#include "KLog.h"
#include "KPictureTexels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gl = host::ogl;

KList<KGraphicGL>& KGraphicGL::list() {
    static KList<KGraphicGL>& pictures = *new KList<KGraphicGL>(); // never destroyed (see KList.h)
    return pictures;
}

KGraphicGL::KGraphicGL()
    : minFilter_(gl::NEAREST), srcBlend_(gl::SRC_ALPHA), dstBlend_(gl::ONE_MINUS_SRC_ALPHA), wrap_(gl::CLAMP_TO_EDGE) {
    list().link(this);
}

KGraphicGL::~KGraphicGL() {
    freePicture();
    dropKeptPixels();
    list().unlink(this);
}

void KGraphicGL::setMipmapping(bool mipmapping) {
    KGraphicBase::setMipmapping(mipmapping);
    if (linear_)
        minFilter_ = mipmapping ? gl::LINEAR_MIPMAP_LINEAR : gl::LINEAR;
    else
        minFilter_ = mipmapping ? gl::LINEAR_MIPMAP_NEAREST : gl::NEAREST;
    markParameters();
}

void KGraphicGL::setHalfSizeLoading(bool halfSize) {
    halfSize_ = halfSize;
}

void KGraphicGL::markParameters() {
    for (TextureSlot& slot : textures_) slot.filterDirty = slot.wrapDirty = true;
}

void KGraphicGL::adjustDecoded() {
    if (!halfSize_) return;
    int halfWidth = image_.getWidth() / 2, halfHeight = image_.getHeight() / 2;
    image_.halve(halfWidth, halfHeight);
    if (maskImage_.getPixels()) maskImage_.halve(halfWidth, halfHeight);
    scale_ *= 0.5f;
}

bool KGraphicGL::wantsHighResolutionVariant() {
    KGraphicGLWindow* window = graphicGL().window;
    return window && std::fabs(window->getResolutionScale() - 2.0f) <= 0.00001f;
}

bool KGraphicGL::grabBackBuffer(void* reserved, bool splice, const PictureSplice* spliceTable) {
    KGraphicGLWindow* window = graphicGL().window;
    if (!window) return false;
    freePicture();
    int x, y, width, height;
    window->getGameAreaViewport(x, y, width, height);
    if (width <= 0 || height <= 0 || !KImage::sizeAllowed(width, height)) return false;
    std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
    gl::pixelStorei(gl::PACK_ALIGNMENT, 1);
    gl::readPixels(x, y, width, height, gl::RGB, gl::UNSIGNED_BYTE, rgb.data());
    KImage picture;
    if (!picture.allocate(width, height, false)) return false;
    auto perPixel = reinterpret_cast<KGrabPixelFunction>(reserved);
    for (int row = 0; row < height; row++) {
        const unsigned char* source = rgb.data() + size_t(height - 1 - row) * size_t(width) * 3; // bottom row first
        uint32_t* dest = picture.getPixels() + size_t(row) * size_t(width);
        for (int column = 0; column < width; column++, source += 3) {
            unsigned char r = source[0], g = source[1], b = source[2];
            if (perPixel) perPixel(column, row, r, g, b);
            dest[column] = KImage::pack(r, g, b, 255);
        }
    }
    if (window->isClipping()) picture.resample(window->getGameWidth(), window->getGameHeight());
    return uploadGrabbed(picture, spliceTable, splice);
}

void KGraphicGL::freePicture() {
    destroyPbuffer();
    deleteTexturesFrom(0);
    textureCount_ = 0;
    spliceCount_ = 0;
    image_.clear();
    maskImage_.clear();
}

void KGraphicGL::deleteTexture(int slot) {
    TextureSlot& entry = textures_[slot];
    if (entry.name) {
        KGraphicGLModule& module = graphicGL();
        if (module.window) {
            if (module.boundTexture == entry.name) textureOffGL();
            gl::deleteTextures(1, &entry.name);
        }
    }
    entry = TextureSlot{};
}

void KGraphicGL::deleteTexturesFrom(int slot) {
    for (int i = slot; i < kMaxTextures; i++) deleteTexture(i);
}

// Converts the source rectangle x1, y1 .. x2, y2 of a width x height picture into the RGBA buffer of
// outWidth x outHeight texels at x, y (see convertPictureTexels). Transparent pixels bleed when the picture has
// alpha.
void KGraphicGL::preparePixels(uint32_t* out, int outWidth, int outHeight, const uint32_t* pixels, const uint32_t* mask,
                               int width, int height, int x1, int y1, int x2, int y2, int x, int y) const {
    convertPictureTexels(pixels, mask, width, height, x1, y1, x2, y2, x, y, outWidth, outHeight,
                         {colorKeyEnabled_, colorKey_, alpha_},
                         [out, outWidth](int tx, int ty, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
                             out[size_t(ty) * size_t(outWidth) + size_t(tx)] = KImage::pack(r, g, b, a);
                         });
}

// Level 0 of texture slot: updated in place when the slot already has this size, format and target, else a new
// texture is made.
bool KGraphicGL::specifyTexture(int slot, int width, int height, unsigned target, const uint32_t* rgba) {
    TextureSlot& entry = textures_[slot];
    int internalFormat = alpha_ ? (trueColor_ ? gl::RGBA8 : gl::RGBA) : (trueColor_ ? gl::RGB8 : gl::RGB);
    gl::pixelStorei(gl::UNPACK_ALIGNMENT, 1);
    if (entry.name && entry.width == width && entry.height == height && entry.internalFormat == internalFormat &&
        entry.target == target) {
        gl::bindTexture(target, entry.name);
        gl::texSubImage2D(target, 0, 0, 0, width, height, gl::RGBA, gl::UNSIGNED_BYTE, rgba);
    } else {
        deleteTexture(slot);
        gl::genTextures(1, &entry.name);
        if (!entry.name) return false;
        gl::bindTexture(target, entry.name);
        gl::texImage2D(target, 0, internalFormat, width, height, gl::RGBA, gl::UNSIGNED_BYTE, rgba);
        entry.width = width;
        entry.height = height;
        entry.internalFormat = internalFormat;
        entry.target = target;
    }
    // Rectangle textures are addressed in texels.
    entry.coordWidth = target == gl::TEXTURE_RECTANGLE ? 1.0f : float(width);
    entry.coordHeight = target == gl::TEXTURE_RECTANGLE ? 1.0f : float(height);
    entry.filterDirty = entry.wrapDirty = true;
    // Only the levels filled count, so a mipmapping filter never meets a missing level.
    int levels = 0;
    if (mipmapping_ && target == gl::TEXTURE_2D)
        while ((width >> (levels + 1)) >= 1) levels++;
    gl::texParameteri(target, gl::TEXTURE_MAX_LEVEL, levels);
    return true;
}

void KGraphicGL::fillLevel(int width, int height, const uint32_t* rgba, int level, unsigned target) {
    gl::texImage2D(target, level, textures_[0].internalFormat, width, height, gl::RGBA, gl::UNSIGNED_BYTE, rgba);
}

bool KGraphicGL::uploadTextures(const PictureSplice* spliceTable, const uint32_t* pixels, const uint32_t* mask,
                                int width, int height, bool splice) {
    KGraphicGLModule& module = graphicGL();
    if (pbuffer_) freePicture(); // a render target takes no pixels
    if (!module.window || !pixels || width <= 0 || height <= 0) return false;
    bool rectangles = module.window->hasRectangleTextures();
    // A texture OpenGL cannot hold is refused before its buffer is made.
    const int maxSide = gl::getInteger(gl::MAX_TEXTURE_SIZE);
    auto fits = [maxSide](int w, int h) { return w <= maxSide && h <= maxSide; };
    if (!alpha_) mask = nullptr;

    PictureSplice pieces[kMaxPictureSplices];
    int count = collectSplices(spliceTable, splice, width, height, pieces);

    bool result = true;
    std::vector<uint32_t> buffer;
    if (count > 0) {
        int needWidth[kMaxTextures], needHeight[kMaxTextures];
        int textures = measureSpliceTextures(pieces, count, needWidth, needHeight);
        if (textures < 0) return false;
        deleteTexturesFrom(textures);
        for (int t = 0; t < textures && result; t++) {
            int w = powerOfTwoAtLeast(needWidth[t], 64), h = powerOfTwoAtLeast(needHeight[t], 64);
            if (!rectangles) w = h = std::max(w, h);
            unsigned target = w == h ? gl::TEXTURE_2D : gl::TEXTURE_RECTANGLE;
            if (!fits(w, h)) {
                result = false;
                break;
            }
            buffer.assign(size_t(w) * size_t(h), 0);
            for (int i = 0; i < count; i++)
                if (pieces[i].texture == t)
                    preparePixels(buffer.data(), w, h, pixels, mask, width, height, int(pieces[i].x1),
                                  int(pieces[i].y1), int(pieces[i].x2), int(pieces[i].y2), int(pieces[i].u),
                                  int(pieces[i].v));
            result = specifyTexture(t, w, h, target, buffer.data());
        }
        textureCount_ = textures;
        spliceCount_ = count;
        std::copy(pieces, pieces + count, splices_);
    } else {
        spliceCount_ = 0;
        deleteTexturesFrom(1);
        int w, h;
        if (!rectangles || mipmapping_) {
            w = h = powerOfTwoAtLeast(std::max(width, height));
        } else {
            w = powerOfTwoAtLeast(width);
            h = powerOfTwoAtLeast(height);
        }
        unsigned target = w == h ? gl::TEXTURE_2D : gl::TEXTURE_RECTANGLE;
        result = fits(w, h);
        if (result) {
            buffer.assign(size_t(w) * size_t(h), 0);
            preparePixels(buffer.data(), w, h, pixels, mask, width, height, 0, 0, width, height, 0, 0);
            result = specifyTexture(0, w, h, target, buffer.data());
        }
        textureCount_ = 1;
        if (result && mipmapping_) {
            // Each level halves the texture and is filled from the picture halved once more.
            KImage picture, maskPicture;
            result = picture.allocate(width, height, true) && (!mask || maskPicture.allocate(width, height, true));
            if (result) {
                std::copy(pixels, pixels + size_t(width) * size_t(height), picture.getPixels());
                if (mask) std::copy(mask, mask + size_t(width) * size_t(height), maskPicture.getPixels());
            }
            for (int level = 1; result && (w >> level) >= 1; level++) {
                int levelWidth = w >> level, levelHeight = std::max(h >> level, 1);
                int halfWidth = picture.getWidth() / 2, halfHeight = picture.getHeight() / 2;
                picture.halve(halfWidth, halfHeight);
                if (mask) maskPicture.halve(halfWidth, halfHeight);
                std::fill(buffer.begin(), buffer.begin() + size_t(levelWidth) * size_t(levelHeight), 0u);
                preparePixels(buffer.data(), levelWidth, levelHeight, picture.getPixels(),
                              mask ? maskPicture.getPixels() : nullptr, picture.getWidth(), picture.getHeight(), 0, 0,
                              picture.getWidth(), picture.getHeight(), 0, 0);
                fillLevel(levelWidth, levelHeight, buffer.data(), level, target);
            }
        }
    }
    // Uploading bound textures behind the drawing state's back: texturing starts afresh at the next draw.
    textureOffGL();
    if (!result) {
        deleteTexturesFrom(0);
        textureCount_ = 0;
        spliceCount_ = 0;
    }
    return result;
}

bool KGraphicGL::savePicture(const char* fileName, int imageFormat) {
    int width = int(width_), height = int(height_);
    if (!fileName || width <= 0 || height <= 0) return false;
    KImage picture;
    if (!picture.allocate(width, height, true)) return false;
    KGraphicGLModule& module = graphicGL();
    if (module.window) {
        std::vector<uint32_t> texels;
        gl::pixelStorei(gl::PACK_ALIGNMENT, 1);
        // Copies texels (u, v) .. of a texture into the picture at x1, y1 .. x2, y2, clipped to both.
        auto gather = [&](const TextureSlot& slot, int x1, int y1, int x2, int y2, int u, int v) {
            if (!slot.name) return;
            texels.assign(size_t(slot.width) * size_t(slot.height), 0);
            gl::bindTexture(slot.target, slot.name);
            gl::getTexImage(slot.target, 0, gl::RGBA, gl::UNSIGNED_BYTE, texels.data());
            const int ox = u - x1, oy = v - y1;
            x1 = std::max({x1, 0, -ox});
            y1 = std::max({y1, 0, -oy});
            x2 = std::min({x2, width, slot.width - ox});
            y2 = std::min({y2, height, slot.height - oy});
            for (int py = y1; py < y2; py++)
                for (int px = x1; px < x2; px++)
                    picture.getPixels()[size_t(py) * size_t(width) + size_t(px)] =
                        texels[size_t(py + oy) * size_t(slot.width) + size_t(px + ox)];
        };
        if (spliceCount_ == 0) {
            gather(textures_[0], 0, 0, width, height, 0, 0);
        } else {
            for (int i = 0; i < spliceCount_; i++) {
                const PictureSplice& piece = splices_[i];
                gather(textures_[piece.texture], int(piece.x1), int(piece.y1), int(piece.x2), int(piece.y2),
                       int(piece.u), int(piece.v));
            }
        }
        textureOffGL();
    }
    return writeImageFile(fileName, picture, imageFormat, "OpenGL", "savePicture");
}

void KGraphicGL::copyToImage(KImage*) {}
