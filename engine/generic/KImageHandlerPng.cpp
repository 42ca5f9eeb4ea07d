// PNG decoding and encoding through libpng over memory buffers, with setjmp recovery from every
// library error. CgBI files are rewritten first (KPngCgbi) and their samples put back in order.
#include "KImageHandlerPng.h"

#include "KLog.h"
#include "KPngCgbi.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

KImageHandlerPng::~KImageHandlerPng() {
    freeDecodeBuffers();
    delete[] writeBuffer;
}

void KImageHandlerPng::freeDecodeBuffers() {
    delete[] decodedPixels;
    delete[] rowPointers;
    delete[] rowBlock;
    decodedPixels = nullptr;
    rowPointers = nullptr;
    rowBlock = nullptr;
}

void KImageHandlerPng::readCallback(png_structp png, png_bytep out, png_size_t length) {
    auto* self = static_cast<KImageHandlerPng*>(png_get_io_ptr(png));
    size_t remaining = self->readSize - self->readPosition;
    size_t copied = length < remaining ? length : remaining;
    if (copied > 0) memcpy(out, self->readData + self->readPosition, copied);
    self->readPosition += copied;
    // Only a cut or damaged file reads past its end (a damaged chunk length can ask for 2 GB): stop
    // at once rather than feed libpng zeros it would refuse later anyway.
    if (copied < length) png_error(png, "read past the end of the data");
}

void KImageHandlerPng::writeCallback(png_structp png, png_bytep in, png_size_t length) {
    auto* self = static_cast<KImageHandlerPng*>(png_get_io_ptr(png));
    if (length > self->writeCapacity - self->writePosition) {
        size_t capacity = self->writeCapacity;
        while (length > capacity - self->writePosition) capacity = capacity * 2 + 4096;
        auto* grown = new (std::nothrow) unsigned char[capacity];
        if (!grown) png_error(png, "out of memory for the encoded picture");
        memcpy(grown, self->writeBuffer, self->writePosition);
        memset(grown + self->writePosition, 0xFF, capacity - self->writePosition);
        delete[] self->writeBuffer;
        self->writeBuffer = grown;
        self->writeCapacity = capacity;
    }
    memcpy(self->writeBuffer + self->writePosition, in, length);
    self->writePosition += length;
}

void KImageHandlerPng::errorCallback(png_structp png, png_const_charp message) {
    logMessage("PNG: library error: %s", message);
    png_longjmp(png, 1);
}

void KImageHandlerPng::warningCallback(png_structp, png_const_charp message) {
    logMessage("PNG: library warning: %s", message);
}

bool KImageHandlerPng::decode(const unsigned char* data, size_t size, KImage& image) {
    if (!data) size = 0; // no bytes: libpng fails on the missing signature
    std::vector<unsigned char> plain;
    switch (KPngCgbi::rewrite(data, size, plain)) {
    case KPngCgbi::Result::Plain:
        wasCgbi = false;
        return decodePlain(data, size, image);
    case KPngCgbi::Result::Rewritten:
        wasCgbi = true;
        return decodePlain(plain.data(), plain.size(), image);
    case KPngCgbi::Result::BadChunkLength:
        logMessage("PNG: library error: Incorrect CgBI chunk length");
        return false;
    case KPngCgbi::Result::BadImageData:
        logMessage("PNG: library error: CgBI image data is damaged");
        return false;
    }
    return false;
}

// Nothing in this function may own a C++ object with a destructor: a library error longjmps out of
// libpng back to the setjmp below. Everything allocated is held in members.
bool KImageHandlerPng::decodePlain(const unsigned char* data, size_t size, KImage& image) {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, errorCallback, warningCallback);
    if (!png) {
        logMessage("PNG: k_png_create_read_struct failed to initialize for decoding");
        return false;
    }
    info = png_create_info_struct(png);
    if (!info) {
        logMessage("PNG: k_png_create_info_struct failed to initialize for decoding");
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        freeDecodeBuffers();
        png_destroy_read_struct(&png, &info, nullptr);
        readData = nullptr;
        readSize = readPosition = 0;
        return false;
    }

    readData = data;
    readSize = size;
    readPosition = 0;
    png_set_read_fn(png, this, readCallback);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (!KImage::sizeAllowed(width, height)) png_error(png, "picture too large");

    png_set_strip_16(png);
    png_set_packing(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    bitDepth = png_get_bit_depth(png, info);
    if (bitDepth != 8) {
        logMessage("PNG: unsupported bit depth (%d)", bitDepth);
        png_error(png, "unsupported bit depth");
    }

    size_t rowBytes = png_get_rowbytes(png, info);
    // Every array gets at least one element, so an empty picture still has valid pointers.
    const size_t pixelCount = size_t(width) * size_t(height) + 1;
    decodedPixels = new (std::nothrow) uint32_t[pixelCount];
    rowPointers = new (std::nothrow) png_bytep[size_t(height) + 1];
    rowBlock = new (std::nothrow) png_byte[rowBytes * size_t(height) + 1];
    if (!decodedPixels || !rowPointers || !rowBlock) png_error(png, "out of memory");
    for (png_uint_32 y = 0; y < height; y++) rowPointers[y] = rowBlock + y * rowBytes;
    png_read_image(png, rowPointers);

    int channels = png_get_channels(png, info);
    if (channels != 3 && channels != 4) {
        logMessage("PNG: unsupported number of channels (%d)", channels);
        png_error(png, "unsupported number of channels");
    }

    uint32_t* out = decodedPixels;
    for (png_uint_32 y = 0; y < height; y++) {
        const png_byte* in = rowPointers[y];
        for (png_uint_32 x = 0; x < width; x++, in += channels) {
            uint32_t r = in[0], g = in[1], b = in[2], a = channels == 4 ? in[3] : 255;
            if (wasCgbi) {
                // Stored as B, G, R with colour premultiplied by alpha.
                uint32_t swap = r;
                r = b;
                b = swap;
                if (channels == 4 && a > 0) {
                    r = r * 255 / a > 255 ? 255 : r * 255 / a;
                    g = g * 255 / a > 255 ? 255 : g * 255 / a;
                    b = b * 255 / a > 255 ? 255 : b * 255 / a;
                }
            }
            *out++ = KImage::pack(r, g, b, a);
        }
    }

    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    delete[] rowPointers;
    delete[] rowBlock;
    rowPointers = nullptr;
    rowBlock = nullptr;
    image.adopt(int32_t(width), int32_t(height), channels == 4, decodedPixels);
    decodedPixels = nullptr;
    readData = nullptr;
    readSize = readPosition = 0;
    return true;
}

bool KImageHandlerPng::encode(unsigned char*& data, size_t& size, const KImage& image, int) {
    const int32_t width = image.getWidth(), height = image.getHeight();
    const uint32_t* pixels = image.getPixels();
    if (!KImage::sizeAllowed(width, height) || (!pixels && width > 0 && height > 0)) {
        logMessage("PNG: cannot encode a picture of %dx%d pixels", width, height);
        return false;
    }
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, errorCallback, warningCallback);
    if (!png) {
        logMessage("PNG: k_png_create_write_struct failed to initialize for encoding");
        return false;
    }
    info = png_create_info_struct(png);
    if (!info) {
        logMessage("PNG: k_png_create_info_struct failed to initialize for encoding");
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        freeDecodeBuffers();
        delete[] writeBuffer;
        writeBuffer = nullptr;
        writeCapacity = writePosition = 0;
        return false;
    }

    writeCapacity = size_t(width) * size_t(height) * 6 + 4096;
    writeBuffer = new (std::nothrow) unsigned char[writeCapacity];
    if (!writeBuffer) png_error(png, "out of memory for the encoded picture");
    memset(writeBuffer, 0xFF, writeCapacity);
    writePosition = 0;
    png_set_write_fn(png, this, writeCallback, nullptr);

    const bool alpha = image.getHasAlpha();
    const int channels = alpha ? 4 : 3;
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);

    rowBlock = new (std::nothrow) png_byte[size_t(width) * channels + 1];
    if (!rowBlock) png_error(png, "out of memory");
    for (int32_t y = 0; y < height; y++) {
        const uint32_t* in = pixels + size_t(y) * size_t(width);
        png_bytep out = rowBlock;
        for (int32_t x = 0; x < width; x++) {
            *out++ = png_byte(KImage::red(in[x]));
            *out++ = png_byte(KImage::green(in[x]));
            *out++ = png_byte(KImage::blue(in[x]));
            if (alpha) *out++ = png_byte(KImage::alpha(in[x]));
        }
        png_write_row(png, rowBlock);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    freeDecodeBuffers();

    data = writeBuffer;
    size = writePosition;
    writeBuffer = nullptr;
    writeCapacity = writePosition = 0;
    return true;
}
