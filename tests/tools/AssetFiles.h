// Readers for the generated data files, used by the asset tests: pictures decoded by the engine's image
// codecs (KImage), JPEG headers for their chroma sampling, WAV chunk layouts and Ogg Vorbis streams for
// their formats and levels, plus the path of a file in the data folder.
#pragma once

#include "KDataPaths.h"
#include "KImage.h"
#include "KMiscTools.h" // the folder listing the asset tests walk

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <jpeglib.h>
#include <string>
#include <vector>
#include <vorbis/vorbisfile.h>

inline std::string dataFile(const std::string& relative) {
    return getDataFolder() + "/data/full/" + relative;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    bool ok() const { return width > 0; }
    uint8_t alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
    const uint8_t* pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A PNG or JPEG picture through the engine's decoder, as RGBA bytes.
inline Picture readPicture(const std::string& path) {
    Picture p;
    std::vector<uint8_t> bytes = readBytes(path);
    KImage image;
    if (bytes.empty() || !KImage::decode(KImage::getFormatFromName(path.c_str()), bytes.data(), bytes.size(), image))
        return p;
    p.width = image.getWidth();
    p.height = image.getHeight();
    p.rgba.resize(static_cast<size_t>(p.width) * p.height * 4);
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            uint32_t px = image.getPixel(x, y);
            uint8_t* out = &p.rgba[(static_cast<size_t>(y) * p.width + x) * 4];
            out[0] = static_cast<uint8_t>(KImage::red(px));
            out[1] = static_cast<uint8_t>(KImage::green(px));
            out[2] = static_cast<uint8_t>(KImage::blue(px));
            out[3] = static_cast<uint8_t>(KImage::alpha(px));
        }
    return p;
}

// The header of a JPEG file, read with libjpeg (the engine's decoder does not report the sampling).
struct JpegInfo {
    int width = 0, height = 0, components = 0;
    bool fullChroma = false; // every component sampled once per pixel (4:4:4)
};

inline JpegInfo readJpegInfo(const std::string& path) {
    JpegInfo info;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return info;
    jpeg_decompress_struct d;
    jpeg_error_mgr errors;
    d.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&d);
    jpeg_stdio_src(&d, f);
    if (jpeg_read_header(&d, TRUE) == JPEG_HEADER_OK) {
        info.width = static_cast<int>(d.image_width);
        info.height = static_cast<int>(d.image_height);
        info.components = d.num_components;
        info.fullChroma = true;
        for (int c = 0; c < d.num_components; c++)
            info.fullChroma = info.fullChroma && d.comp_info[c].h_samp_factor == d.comp_info[0].h_samp_factor &&
                              d.comp_info[c].v_samp_factor == d.comp_info[0].v_samp_factor;
    }
    jpeg_destroy_decompress(&d);
    std::fclose(f);
    return info;
}

// A decoded sound: channels, rate and the samples of the first channel, or an error text.
struct Sound {
    std::string error;
    int channels = 0, rate = 0;
    std::vector<float> samples;
    double seconds() const { return rate ? static_cast<double>(samples.size()) / rate : 0; }
};

// Reads a WAV the way the game's parser does: "RIFF" .. "WAVE", then chunks with even sizes, a 16-bit PCM
// "fmt " chunk before "data".
inline Sound readWav(const std::string& path) {
    Sound s;
    std::vector<uint8_t> b = readBytes(path);
    auto u32 = [&](size_t at) {
        return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
    };
    auto u16 = [&](size_t at) { return static_cast<unsigned>(b[at] | (b[at + 1] << 8)); };
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
        s.error = "no RIFF/WAVE header";
        return s;
    }
    bool haveFormat = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        uint32_t size = u32(at + 4);
        if (size % 2) {
            s.error = "odd chunk size";
            return s;
        }
        if (at + 8 + size > b.size()) {
            s.error = "chunk runs past the end";
            return s;
        }
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16) {
            if (u16(at + 8) != 1 || u16(at + 22) != 16) {
                s.error = "not 16-bit PCM";
                return s;
            }
            s.channels = static_cast<int>(u16(at + 10));
            s.rate = static_cast<int>(u32(at + 12));
            haveFormat = true;
        } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
            if (!haveFormat || s.channels < 1) {
                s.error = "data before fmt";
                return s;
            }
            for (size_t i = at + 8; i + 2 * s.channels <= at + 8 + size; i += 2 * s.channels)
                s.samples.push_back(static_cast<int16_t>(u16(i)) / 32768.0f);
            return s;
        }
        at += 8 + size;
    }
    s.error = "no data chunk";
    return s;
}

inline Sound readOgg(const std::string& path) {
    Sound s;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        s.error = "not an Ogg Vorbis stream";
        return s;
    }
    vorbis_info* info = ov_info(&vf, -1);
    s.channels = info->channels;
    s.rate = static_cast<int>(info->rate);
    for (;;) {
        float** pcm;
        int section;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            s.error = "decoding error";
            break;
        }
        if (n == 0) break;
        s.samples.insert(s.samples.end(), pcm[0], pcm[0] + n);
    }
    ov_clear(&vf);
    return s;
}

inline float peakOf(const std::vector<float>& samples) {
    float peak = 0;
    for (float v : samples) peak = std::max(peak, v < 0 ? -v : v);
    return peak;
}
