// JPEG encoding through libjpeg into memory, one sample per pixel for each of the three components.
#include "Jpeg.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <stdexcept>

std::vector<uint8_t> encodeJpeg(cairo_surface_t* picture, int quality) {
    cairo_surface_flush(picture);
    int w = cairo_image_surface_get_width(picture), h = cairo_image_surface_get_height(picture);
    int stride = cairo_image_surface_get_stride(picture);
    const unsigned char* data = cairo_image_surface_get_data(picture);

    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = w;
    info.image_height = h;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < 3; c++) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(w * 3);
    while (info.next_scanline < info.image_height) {
        const unsigned char* src = data + info.next_scanline * stride;
        for (int x = 0; x < w; x++) {
            row[x * 3] = src[x * 4 + 2];
            row[x * 3 + 1] = src[x * 4 + 1];
            row[x * 3 + 2] = src[x * 4];
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}
