// RIFF WAVE parsing for KSound: the chunk walk in 64-bit offsets, so no chunk size can wrap around.
#include "KSoundWave.h"

#include "KLittleEndian.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kFormatBytes = 16;
constexpr size_t kExtensibleBytes = 40;
// The PCM sub-format of an extensible format record.
constexpr unsigned char kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                             0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

} // namespace

const char* parseWave(const unsigned char* bytes, size_t size, KSoundWave& wave) {
    wave = KSoundWave();
    if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return "no RIFF WAVE header";
    const uint64_t end = std::min<uint64_t>(uint64_t(readLittle32(bytes + 4)) + 8, size);
    uint64_t offset = 12;
    bool haveFormat = false;
    bool haveData = false;
    while (offset + 8 <= end && !(haveFormat && haveData)) {
        const unsigned char* header = bytes + offset;
        const uint64_t chunkBytes = readLittle32(header + 4);
        const uint64_t body = offset + 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (chunkBytes < kFormatBytes || body + kFormatBytes > end) return "format chunk cut short";
            const unsigned char* f = bytes + body;
            uint16_t tag = readLittle16(f);
            if (tag == kFormatExtensible) {
                if (chunkBytes < kExtensibleBytes || body + kExtensibleBytes > end)
                    return "extensible format chunk cut short";
                if (std::memcmp(f + 24, kPcmSubFormat, sizeof kPcmSubFormat) != 0) return "not PCM";
                tag = host::WAVE_FORMAT_PCM;
            }
            if (tag != host::WAVE_FORMAT_PCM) return "not PCM";
            wave.format.channels = readLittle16(f + 2);
            wave.format.samplesPerSecond = readLittle32(f + 4);
            wave.format.bitsPerSample = readLittle16(f + 14);
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            wave.pcm = bytes + body;
            wave.pcmBytes = size_t(std::min(chunkBytes, end - body));
            haveData = true;
        }
        offset = body + chunkBytes;
    }
    if (!haveFormat) return "no format chunk";
    host::WaveFormat& format = wave.format;
    if (format.channels != 1 && format.channels != 2) return "unsupported channel count";
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return "unsupported sample size";
    if (format.samplesPerSecond == 0 || format.samplesPerSecond > host::kMaximumSampleRate)
        return "unsupported sample rate";
    format.formatTag = host::WAVE_FORMAT_PCM;
    format.blockAlign = uint16_t(format.channels * format.bitsPerSample / 8);
    format.averageBytesPerSecond = format.samplesPerSecond * format.blockAlign;
    wave.pcmBytes -= wave.pcmBytes % format.blockAlign;
    if (wave.pcmBytes == 0) return "no sample data";
    return nullptr;
}
