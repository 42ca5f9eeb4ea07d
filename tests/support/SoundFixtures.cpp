// WAV writing and Ogg Vorbis encoding (libvorbisenc) for the sound tests.
#include "SoundFixtures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ogg/ogg.h>
#include <stdexcept>
#include <vorbis/vorbisenc.h>

namespace {
void put16(std::string& out, uint32_t value) {
    out.push_back(char(value & 0xFF));
    out.push_back(char((value >> 8) & 0xFF));
}
void put32(std::string& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
} // namespace

std::string chunk(const std::string& id, const std::string& body) {
    std::string out = id;
    put32(out, uint32_t(body.size()));
    return out + body;
}

std::string waveBytes(const WaveSpec& spec) {
    std::string format;
    put16(format, spec.formatTag);
    put16(format, spec.channels);
    put32(format, spec.rate);
    uint16_t align = uint16_t(spec.channels * spec.bits / 8);
    put32(format, spec.rate * align);
    put16(format, align);
    put16(format, spec.bits);
    format.resize(spec.formatChunkBytes, '\0');
    std::string body = "WAVE" + spec.chunksBeforeFormat + chunk("fmt ", format);
    if (spec.withData) {
        std::string data = "data";
        put32(data, spec.dataLengthOverride >= 0 ? uint32_t(spec.dataLengthOverride) : uint32_t(spec.pcm.size()));
        body += data + spec.pcm;
    }
    std::string out = "RIFF";
    put32(out, spec.riffLengthOverride >= 0 ? uint32_t(spec.riffLengthOverride) : uint32_t(body.size()));
    return out + body;
}

std::string pcm16(const std::vector<int16_t>& samples) {
    std::string out;
    for (int16_t s : samples) put16(out, uint16_t(s));
    return out;
}

std::vector<float> sineTone(int channels, int rate, int frames, double frequency, double amplitude) {
    std::vector<float> out(size_t(frames) * channels);
    for (int i = 0; i < frames; i++)
        for (int c = 0; c < channels; c++)
            out[size_t(i) * channels + c] = float(amplitude * std::sin(2.0 * M_PI * frequency * i / rate));
    return out;
}

std::string encodeOgg(int channels, int rate, const std::vector<float>& interleaved) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) throw std::runtime_error("vorbis encoder set-up");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    std::string out;
    ogg_page page;
    auto appendPage = [&] {
        out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
    };
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    while (ogg_stream_flush(&stream, &page) != 0) appendPage();

    const int frames = int(interleaved.size() / size_t(channels));
    const int blockFrames = 1024;
    auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) appendPage();
            }
        }
    };
    for (int start = 0; start < frames; start += blockFrames) {
        int count = std::min(blockFrames, frames - start);
        float** buffer = vorbis_analysis_buffer(&dsp, count);
        for (int i = 0; i < count; i++)
            for (int c = 0; c < channels; c++) buffer[c][i] = interleaved[size_t(start + i) * channels + c];
        vorbis_analysis_wrote(&dsp, count);
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0); // the end of the stream
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) appendPage();

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::string withOggChannelCount(const std::string& ogg, uint8_t channels) {
    // The first page holds only the identification packet: "\x01vorbis", version (4 bytes), channels.
    std::string out = ogg;
    auto* bytes = reinterpret_cast<unsigned char*>(out.data());
    long headerBytes = 27 + bytes[26];
    long bodyBytes = 0;
    for (int i = 0; i < bytes[26]; i++) bodyBytes += bytes[27 + i];
    bytes[headerBytes + 11] = channels;
    ogg_page page{bytes, headerBytes, bytes + headerBytes, bodyBytes};
    ogg_page_checksum_set(&page);
    return out;
}

unsigned char* newBytes(const std::string& bytes) {
    auto* out = new unsigned char[bytes.size()];
    std::memcpy(out, bytes.data(), bytes.size());
    return out;
}
