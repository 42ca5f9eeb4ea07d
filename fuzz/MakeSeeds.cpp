// Writes the seed corpus of every fuzz target: small files made by the game's own writers and the tests' file
// builders, and the smallest shipped data files.
// Usage: fuzz_seeds CORPUS_FOLDER DATA_FOLDER (the data folder is the built data/full).
#include "BitmapFontTables.h"
#include "FixedAdvanceFont.h"
#include "GameOptions.h"
#include "ImageFixtures.h"
#include "LevelFile.h"
#include "ProgressTable.h"
#include "SmallLevels.h"
#include "SoundFixtures.h"
#include "TrueTypeFixtures.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
namespace fs = std::filesystem;

fs::path corpus;
fs::path data;

void seed(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path folder = corpus / target;
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

void seed(const std::string& target, const std::string& name, const std::string& bytes) {
    seed(target, name, Bytes(bytes.begin(), bytes.end()));
}

void shipped(const std::string& target, const std::string& file) {
    std::ifstream in(data / file, std::ios::binary);
    if (!in) throw std::runtime_error("missing shipped file " + (data / file).string());
    seed(target, "shipped-" + fs::path(file).filename().string(),
         Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

void levelSeeds() {
    const Bytes version1 = encodeLevelFile(smallLevel());
    seed("level_file", "small-race.lvl", version1);
    // Version 0 ends after the end marker: no goals, no game mode.
    Bytes version0(version1.begin(), version1.end() - 48);
    version0[0] = 0;
    seed("level_file", "small-version0.lvl", version0);
    seed("level_file", "small-hostile-placements.lvl", encodeLevelFile(hostilePlacementLevel()));
    shipped("level_file", "levels/default.lvl");
}

void progressSeeds() {
    ProgressTableRecord table;
    LevelRecord record;
    record.name = "01.First Swim";
    record.completed = true;
    record.bestTime = 41.25;
    record.enemiesPercent = 100;
    record.goldZuzevirs = 3;
    record.highestDifficulty = 2;
    record.medal = 1;
    table.list(kListAction) = {record, LevelRecord{"02.Target Practice"}};
    table.list(kListCustom) = {LevelRecord{"My Level"}};
    record.name = "01.Splash Park";
    record.bestScore = 2500;
    record.bestTrick = 900;
    record.gameMode = kGameModeStunt;
    table.list(kListStunt) = {record};
    record.name = "01.Hoop Run";
    record.gameMode = kGameModeRace;
    table.list(kListRace) = {record};
    seed("progress_file", "four-lists", encodeProgress(table));
    seed("progress_file", "empty", encodeProgress(ProgressTableRecord{}));
    // Version 0: the Action and Custom lists only, and records without the last three fields.
    Bytes version0 = {0, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 'A', 'b', 'c', 0, 1, 0, 0, 0};
    version0.insert(version0.end(), 8 + 16, 0);
    version0.insert(version0.end(), {0, 0, 0, 0});
    seed("progress_file", "version0", version0);
}

void optionsSeeds() {
    GameOptionsRecord options;
    options.difficulty = 3;
    options.musicVolume = 0.25;
    options.windowed = false;
    const Bytes version4 = encodeOptions(options);
    seed("options_file", "version4", version4);
    Bytes version2(version4.begin(), version4.begin() + long(kOptionsVersionSize[2]));
    version2[0] = 2;
    seed("options_file", "version2", version2);
}

void pictureSeeds() {
    using namespace ImageFixtures;
    const std::map<ImageFormat, std::string> targets = {
        {K_IMAGE_PNG, "png"}, {K_IMAGE_JPG, "jpg"}, {K_IMAGE_BMP, "bmp"}, {K_IMAGE_TGA, "tga"}, {K_IMAGE_GIF, "gif"}};
    for (const SampleFile& sample : sampleFiles()) {
        std::string name = sample.name;
        std::replace(name.begin(), name.end(), ' ', '-');
        const std::string& extension = targets.at(sample.format);
        seed(extension + "_picture", name + "." + extension, sample.bytes);
    }
    // A few ways of storing a picture the samples leave out.
    seed("jpg_picture", "cmyk.jpg", jpeg(8, 8, 4, ramp(256, 3), 90));
    seed("bmp_picture", "32bit-top-down.bmp", bmp(3, -2, 32, 0, {}, ramp(24, 11)));
    seed("tga_picture", "grey.tga", tga({.imageType = 3, .width = 3, .height = 2, .depth = 8, .pixels = ramp(6, 40)}));
    GifFrame full{.width = 16, .height = 16, .indices = ramp(256, 1), .minimumCodeSize = 8};
    full.imageData = gifImageData(full.indices, 8, /*deferredClear=*/true);
    seed("gif_picture", "deferred-clear.gif", gif(16, 16, ramp(768, 1), 0, full));
    shipped("png_picture", "graphics/missile1.png");
    shipped("jpg_picture", "graphics/title2.jpg");
}

void soundSeeds() {
    WaveSpec mono;
    mono.pcm = pcm16({0, 1000, -1000, 32767, -32768, 0});
    seed("wav_sound", "mono16.wav", waveBytes(mono));
    WaveSpec stereo;
    stereo.channels = 2;
    stereo.rate = 22050;
    stereo.bits = 8;
    stereo.pcm = std::string("\x80\x90\x70\xff\x00\x80", 6);
    seed("wav_sound", "stereo8.wav", waveBytes(stereo));
    WaveSpec listFirst;
    listFirst.pcm = pcm16({5, 6});
    listFirst.chunksBeforeFormat = chunk("LIST", "INFOabcd");
    seed("wav_sound", "list-chunk-first.wav", waveBytes(listFirst));
    shipped("wav_sound", "sound/bullet.wav");

    seed("ogg_sound", "mono.ogg", encodeOgg(1, 22050, sineTone(1, 22050, 2000, 440.0, 0.5)));
    seed("ogg_sound", "stereo.ogg", encodeOgg(2, 44100, sineTone(2, 44100, 3000, 660.0, 0.3)));
    shipped("ogg_sound", "sound/clicks1.ogg");
}

void fontSeeds() {
    seed("truetype_face", "small.ttf", smallTrueTypeFace());

    // The bitmap font input: the record count, the records, then the page picture.
    const Bytes page =
        ImageFixtures::png({.width = 256, .height = 128, .colorType = 6, .rows = Bytes(256 * 128 * 4, 0)});
    auto fontInput = [&](const KTextCharRecord* records) {
        uint32_t count = 0;
        while (records[count].codePoint != 0) ++count;
        Bytes bytes = {uint8_t(count), uint8_t(count >> 8), 0, 0};
        const auto* raw = reinterpret_cast<const unsigned char*>(records);
        bytes.insert(bytes.end(), raw, raw + count * sizeof(KTextCharRecord));
        bytes.insert(bytes.end(), page.begin(), page.end());
        return bytes;
    };
    seed("bitmap_font", "game-first-table", fontInput(bitmapFontTableFirst));
    seed("bitmap_font", "game-third-table", fontInput(bitmapFontTableThird));
    seed("bitmap_font", "fixed-advance", fontInput(FixedAdvanceFont::standardTable().data()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER DATA_FOLDER\n", argv[0]);
        return 2;
    }
    corpus = argv[1];
    data = argv[2];
    levelSeeds();
    progressSeeds();
    optionsSeeds();
    pictureSeeds();
    soundSeeds();
    fontSeeds();
    return 0;
}
