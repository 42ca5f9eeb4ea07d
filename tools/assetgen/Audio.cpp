// Sample helpers, filters and the WAV and Ogg Vorbis writers.
#include "Audio.h"

#include "Art.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vorbis/vorbisenc.h>

float Noise::next() {
    state = state * 1664525u + 1013904223u;
    uint32_t x = state ^ (state >> 15);
    x *= 2246822519u;
    x ^= x >> 13;
    return static_cast<float>((x & 0xffffff) / 8388607.5 - 1.0);
}

float LowPass::step(float x, double cutoff) {
    double a = 1 - std::exp(-2 * M_PI * std::clamp(cutoff, 1.0, kRate * 0.45) / kRate);
    y += static_cast<float>(a * (x - y));
    return y;
}

void StateVariable::step(float x, double cutoff, double resonance) {
    double f = 2 * std::sin(M_PI * std::clamp(cutoff, 20.0, kRate * 0.2) / kRate);
    double q = 1 / std::max(0.5, resonance);
    low += static_cast<float>(f * band);
    high = static_cast<float>(x - low - q * band);
    band += static_cast<float>(f * high);
}

double envelope(double t, double attack, double decay) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

double clamp01(double x) {
    return std::clamp(x, 0.0, 1.0);
}

int seconds(double s) {
    return static_cast<int>(std::lround(s * kRate));
}

void normalize(Samples& s, double peak) {
    float top = 0;
    for (float v : s) top = std::max(top, std::fabs(v));
    if (top <= 0) return;
    float k = static_cast<float>(peak / top);
    for (float& v : s) v *= k;
}

void fadeEdges(Samples& s, double inSeconds, double outSeconds) {
    int in = std::min<int>(seconds(inSeconds), s.size()), out = std::min<int>(seconds(outSeconds), s.size());
    for (int i = 0; i < in; i++) s[i] *= static_cast<float>(i) / in;
    for (int i = 0; i < out; i++) s[s.size() - 1 - i] *= static_cast<float>(i) / out;
}

void makeSeamless(Samples& s, double fadeSeconds) {
    int n = seconds(fadeSeconds);
    if (n <= 0 || 2 * n > static_cast<int>(s.size())) return;
    int keep = static_cast<int>(s.size()) - n;
    for (int i = 0; i < n; i++) {
        float t = static_cast<float>(i) / n;
        s[i] = s[i] * t + s[keep + i] * (1 - t);
    }
    s.resize(keep);
}

static void put16(std::vector<uint8_t>& b, int v) {
    b.push_back(static_cast<uint8_t>(v & 255));
    b.push_back(static_cast<uint8_t>((v >> 8) & 255));
}

static void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; i++) b.push_back(static_cast<uint8_t>((v >> (8 * i)) & 255));
}

static void putTag(std::vector<uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; i++) b.push_back(static_cast<uint8_t>(tag[i]));
}

void writeWav(const std::string& path, const Samples& s) {
    // "RIFF" size "WAVE", a 16-byte "fmt " chunk, then "data": every chunk size is even.
    uint32_t dataBytes = static_cast<uint32_t>(s.size() * 2);
    std::vector<uint8_t> b;
    putTag(b, "RIFF");
    put32(b, 4 + 8 + 16 + 8 + dataBytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1); // PCM
    put16(b, 1); // mono
    put32(b, kRate);
    put32(b, kRate * 2);
    put16(b, 2);
    put16(b, 16);
    putTag(b, "data");
    put32(b, dataBytes);
    for (float v : s) put16(b, static_cast<int>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767)));
    writeFileAtomically(path, b);
}

void writeOgg(const std::string& path, const Stereo& s, float quality, int serial) {
    bool stereo = !s.right.empty();
    int channels = stereo ? 2 : 1;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, kRate, quality) != 0)
        throw std::runtime_error("cannot set up the Vorbis encoder for " + path);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);
    std::vector<uint8_t> bytes;
    auto appendPage = [&](const ogg_page& page) {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) appendPage(page);
    const size_t chunk = 4096;
    size_t total = s.left.size();
    for (size_t at = 0;; at += chunk) {
        size_t n = at < total ? std::min(chunk, total - at) : 0;
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0); // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            std::memcpy(buffer[0], s.left.data() + at, n * sizeof(float));
            if (stereo) std::memcpy(buffer[1], s.right.data() + at, n * sizeof(float));
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) appendPage(page);
            }
        }
        if (n == 0) break;
    }
    while (ogg_stream_flush(&stream, &page)) appendPage(page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    writeFileAtomically(path, bytes);
}

void writeOgg(const std::string& path, const Samples& mono, float quality, int serial) {
    writeOgg(path, Stereo{mono, {}}, quality, serial);
}
