// JPEG decoding and encoding. A fatal library error longjmps back to the call, which frees its
// buffers and destroys the (de)compressor: damaged files and impossible encodes return false.
#include "KImageHandlerJpg.h"

#include "KJpegMemory.h"
#include "KLog.h"

#include <csetjmp>
#include <memory>
#include <new>

namespace {
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf recovery;
};

void errorExit(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    logMessage("Jpeg: library error: %s", message);
    longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->recovery, 1);
}

// Buffers of one call. They live on the heap, not in the frame that calls setjmp, so the error path
// sees the pointers as they were when the library failed.
struct JpegBuffers {
    uint32_t* pixels = nullptr;
    unsigned char* row = nullptr;
    unsigned char* output = nullptr;
    ~JpegBuffers() {
        delete[] pixels;
        delete[] row;
        delete[] output;
    }
};
} // namespace

bool KImageHandlerJpg::decode(const unsigned char* data, size_t size, KImage& image) {
    JpegErrorManager errors;
    jpeg_decompress_struct cinfo;
    std::unique_ptr<JpegBuffers> owned(new JpegBuffers);
    JpegBuffers& buffers = *owned;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    if (setjmp(errors.recovery)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_memory_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    if (!KImage::sizeAllowed(cinfo.image_width, cinfo.image_height)) {
        logMessage("Jpeg: picture of %ux%u pixels is too large", cinfo.image_width, cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);

    const int components = cinfo.output_components;
    if (components != 1 && components != 3) {
        logMessage("Jpeg: unsupported number of color components (%d)", components);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const size_t width = cinfo.output_width, height = cinfo.output_height;
    buffers.pixels = new (std::nothrow) uint32_t[width * height + 1];
    buffers.row = new (std::nothrow) unsigned char[width * size_t(components) + 1];
    if (!buffers.pixels || !buffers.row) {
        logMessage("Jpeg: out of memory for a picture of %zux%zu pixels", width, height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        uint32_t* out = buffers.pixels + size_t(cinfo.output_scanline) * width;
        JSAMPROW rows[1] = {buffers.row};
        jpeg_read_scanlines(&cinfo, rows, 1);
        const unsigned char* in = buffers.row;
        for (size_t x = 0; x < width; x++, in += components) {
            out[x] = components == 1 ? KImage::pack(in[0], in[0], in[0], 255) : KImage::pack(in[0], in[1], in[2], 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    image.adopt(int32_t(width), int32_t(height), false, buffers.pixels);
    buffers.pixels = nullptr;
    return true;
}

bool KImageHandlerJpg::encode(unsigned char*& data, size_t& size, const KImage& image, int quality) {
    const int32_t width = image.getWidth(), height = image.getHeight();
    const uint32_t* pixels = image.getPixels();
    if (!KImage::sizeAllowed(width, height) || (!pixels && width > 0 && height > 0)) {
        logMessage("Jpeg: cannot encode a picture of %dx%d pixels", width, height);
        return false;
    }
    JpegErrorManager errors;
    jpeg_compress_struct cinfo;
    std::unique_ptr<JpegBuffers> owned(new JpegBuffers);
    JpegBuffers& buffers = *owned;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    if (setjmp(errors.recovery)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);

    const size_t capacity = size_t(width) * size_t(height) * 6 + 4096;
    buffers.output = new (std::nothrow) unsigned char[capacity];
    buffers.row = new (std::nothrow) unsigned char[size_t(width) * 3 + 1];
    if (!buffers.output || !buffers.row) {
        logMessage("Jpeg: out of memory for encoding a picture of %dx%d pixels", width, height);
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_memory_dest(&cinfo, buffers.output, capacity);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint32_t* in = pixels + size_t(cinfo.next_scanline) * size_t(width);
        unsigned char* out = buffers.row;
        for (int32_t x = 0; x < width; x++) {
            *out++ = (unsigned char)KImage::red(in[x]);
            *out++ = (unsigned char)KImage::green(in[x]);
            *out++ = (unsigned char)KImage::blue(in[x]);
        }
        JSAMPROW rows[1] = {buffers.row};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    size = capacity - cinfo.dest->free_in_buffer;
    jpeg_destroy_compress(&cinfo);
    data = buffers.output;
    buffers.output = nullptr;
    return true;
}
