// Sound files made by the tests: RIFF WAVE bytes built field by field (so a test can damage any field)
// and Ogg Vorbis encoded at test time from generated PCM.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WaveSpec {
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    std::string pcm; // the data chunk's bytes
    uint32_t formatChunkBytes = 16;
    int64_t riffLengthOverride = -1; // -1: the true length
    int64_t dataLengthOverride = -1; // -1: the true length
    std::string chunksBeforeFormat;  // raw chunk bytes placed before "fmt "
    bool withData = true;
};

std::string waveBytes(const WaveSpec& spec);
std::string chunk(const std::string& id, const std::string& body);

// Little-endian 16-bit PCM bytes from samples.
std::string pcm16(const std::vector<int16_t>& samples);

// Interleaved samples (-1..1) of a sine tone of the given amplitude (0..1).
std::vector<float> sineTone(int channels, int rate, int frames, double frequency, double amplitude);
// Ogg Vorbis bytes of the interleaved samples (-1..1).
std::string encodeOgg(int channels, int rate, const std::vector<float>& interleaved);
// The same Ogg bytes with the channel count in the identification header replaced, page checksum redone.
std::string withOggChannelCount(const std::string& ogg, uint8_t channels);

// A copy in a new[] array, as the sound loaders take their bytes.
unsigned char* newBytes(const std::string& bytes);
