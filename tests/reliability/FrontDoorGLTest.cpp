// Bad files through the front door: the game started on a real window with a per-user folder of damaged custom
// levels (cut short, random bytes, huge counts, an odd name), a damaged options file and a damaged progress
// file, and a data folder that lacks one picture and one sound. It starts, lists every level, refuses each bad
// one when it is clicked, plays the good ones to the end and records them, and loses nothing it could read.
// Pipes in place of those files hold nothing up either. The game runs as front_door_player from a folder of its
// own, since its data folder is the one beside the program.
#include "FileBuilder.h"
#include "GameOptions.h"
#include "LevelFile.h"
#include "ProgressTable.h"
#include "SaveFiles.h"
#include "ShellPlay.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <set>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kHeld = 1000; // the exit status GameFolder::play gives a game it had to end

const char* const kMissingPicture = "glimmerfin1.png"; // the player's own sheet
const char* const kMissingSound = "bite.wav";

std::vector<std::string> linesOf(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool contains(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& line : lines)
        if (line.find(part) != std::string::npos) return true;
    return false;
}

// A folder beside the player program, removed at the end, holding a link to the program (a copy where a link
// cannot be made), its data folder and the per-user folder.
class GameFolder {
public:
    GameFolder() {
        std::string pattern = (fs::path(FRONT_DOOR_PLAYER).parent_path() / "front-door-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make the game's folder");
        root = pattern;
        std::error_code linked;
        fs::create_hard_link(FRONT_DOOR_PLAYER, program(), linked);
        if (linked) fs::copy_file(FRONT_DOOR_PLAYER, program());
    }
    ~GameFolder() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path program() const { return root / "front_door_player"; }
    fs::path data() const { return root / "data" / "full"; }
    fs::path home() const { return root / "home"; }
    fs::path user() const { return home() / "glimmerfin"; }
    fs::path custom() const { return user() / "customlevels"; }

    // The shipped data, through links, less one picture and one sound.
    void linkDataWithout(const std::string& picture, const std::string& sound) {
        const fs::path shipped = fs::path(FRONT_DOOR_PLAYER).parent_path() / "data" / "full";
        fs::create_directories(data());
        for (const fs::directory_entry& folder : fs::directory_iterator(shipped)) {
            const std::string name = folder.path().filename();
            const std::string left = name == "graphics" ? picture : name == "sound" ? sound : "";
            if (left.empty()) {
                fs::create_directory_symlink(folder.path(), data() / name);
                continue;
            }
            fs::create_directory(data() / name);
            for (const fs::directory_entry& file : fs::directory_iterator(folder.path()))
                if (file.path().filename() != left)
                    fs::create_symlink(file.path(), data() / name / file.path().filename());
        }
    }

    // Runs the player; its exit status.
    int play(const fs::path& report, const fs::path& log) const {
        const std::string home = "XDG_DATA_HOME=" + this->home().string();
        std::vector<std::string> environment = {home};
        for (char** entry = environ; *entry; ++entry)
            if (std::string(*entry).rfind("XDG_DATA_HOME=", 0) != 0) environment.push_back(*entry);
        std::vector<char*> envp;
        for (std::string& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::string path = program().string(), reportPath = report.string(), logPath = log.string();
        char* argv[] = {path.data(), reportPath.data(), logPath.data(), nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
        // A game held (a read that waits forever) is ended; the player gets through in well under this.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(240);
        int status = 0;
        while (waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                return kHeld;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    fs::path root;
};

Bytes optionsFileWithAnUnreadableVolume() {
    GameOptionsRecord options;
    options.difficulty = 3;
    options.soundVolume = 0.25;
    options.reserved1 = 7;
    options.autoAim = false;
    Bytes bytes = encodeOptions(options);
    const double notANumber = std::nan("");
    std::memcpy(bytes.data() + 8, &notANumber, sizeof notANumber); // the music volume
    return bytes;
}

// A version-1 file whose Action list is whole and whose Custom list says 2 records but is cut short in the
// second one.
Bytes progressFileCutShort() {
    FileBuilder file;
    file.int32(1).int32(1);
    file.int32(14).text("01.First Swim").uint8(0).int32(1).real(41.5).int32(100).int32(3).int32(2).int32(0);
    file.int32(0).int32(0).int32(-1);
    file.int32(2);
    file.int32(5).text("Mine").uint8(0).int32(1).real(9.0).int32(0).int32(0).int32(0).int32(0);
    file.int32(0).int32(0).int32(-1);
    file.int32(5).text("Kelp").uint8(0).int32(1).real(12.0).int32(0).int32(0);
    return file.bytes;
}

} // namespace

TEST(FrontDoor, DamagedUserFilesAndMissingDataNeverStopTheGameAndNothingReadableIsLost) {
    GameFolder game;
    game.linkDataWithout(kMissingPicture, kMissingSound);
    fs::create_directories(game.custom());

    const Bytes good = encodeLevelFile(shell_play::openWaterLevel());
    Bytes truncated(good.begin(), good.begin() + long(good.size() / 2));
    Bytes random(3000);
    std::mt19937 generator(5);
    for (unsigned char& byte : random) byte = uint8_t(generator());
    Bytes hugeCounts = good;
    // The placement count, before the goals, the end marker and the one record: 2^31 - 1.
    std::memcpy(hugeCounts.data() + good.size() - 48 - 16 - 56 - 4, "\xff\xff\xff\x7f", 4);
    Bytes unknownMode = good;
    unknownMode[good.size() - 4] = 7; // the game mode, the file's last field
    // A backslash is an ordinary character of a file name: "..\..\Outside" names a (damaged) file in the custom
    // levels' folder, never the good level two folders up.
    const std::vector<std::pair<std::string, Bytes>> levels = {
        {"Good Level", good},
        {"Huge Counts", hugeCounts},
        {"Odd %s%n #1 'N\xC3\xA4me' \xE2\x9C\x93", unknownMode},
        {"Random Bytes", random},
        {"Truncated", truncated},
        {"Back\\slash Level", good},
        {"..\\..\\Outside", truncated},
    };
    const std::set<std::string> playable = {"Good Level", "Back\\slash Level"};
    for (const auto& [name, bytes] : levels) {
        writeBytes(game.custom() / (name + ".lvl"), bytes);
        LevelData parsed;
        std::string error;
        ASSERT_EQ(parseLevelFile(bytes.data(), bytes.size(), parsed, error), playable.count(name) == 1) << name;
    }
    writeBytes(game.home() / "Outside.lvl", good);
    const Bytes options = optionsFileWithAnUnreadableVolume();
    writeBytes(game.user() / "options", options);
    const Bytes progress = progressFileCutShort();
    writeBytes(game.user() / "completedlevels", progress);

    const fs::path report = game.home() / "report.txt", logFile = game.home() / "log.txt";
    const int status = game.play(report, logFile);
    const std::vector<std::string> seen = linesOf(report), log = linesOf(logFile);
    ASSERT_EQ(status, 0) << "the player did not get through; it saw:\n"
                         << testing::PrintToString(seen) << "\nand logged:\n"
                         << testing::PrintToString(log);
    ASSERT_TRUE(contains(seen, "ended"));

    // The missing picture and sound are told once each and the game went on without them.
    bool pictureTold = false;
    for (const std::string& line : seen)
        pictureTold = pictureTold || (line.rfind("box Failed to Load Picture: File \"", 0) == 0 &&
                                      line.find(kMissingPicture) != std::string::npos);
    EXPECT_TRUE(pictureTold);
    EXPECT_TRUE(
        contains(log, std::string("Sound: '") + (game.data() / "sound" / kMissingSound).string() + "' cannot be read"));

    // Every level is listed; a click on a bad one leaves the level select where it is (the game writes no log
    // lines of its own), the good one plays to its end; no level file is changed.
    for (const auto& [name, bytes] : levels) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(contains(seen, "listed " + name));
        EXPECT_TRUE(contains(seen, (playable.count(name) ? "played " : "refused ") + name));
        EXPECT_EQ(fileBytes(game.custom() / (name + ".lvl")), bytes) << "a level file was changed";
    }

    // The options kept every value they could read; the unreadable volume is back at its default.
    GameOptionsRecord written;
    const Bytes optionsAfter = fileBytes(game.user() / "options");
    ASSERT_TRUE(decodeOptions(optionsAfter.data(), optionsAfter.size(), written));
    EXPECT_EQ(written.difficulty, 3);
    EXPECT_EQ(written.soundVolume, 0.25);
    EXPECT_EQ(written.musicVolume, 0.5);
    EXPECT_EQ(written.reserved1, 7);
    EXPECT_FALSE(written.autoAim);

    // The damaged progress file is kept whole in the per-user folder; the records it held before the damage and
    // the played level are in the progress file.
    bool kept = false;
    for (const fs::directory_entry& file : fs::directory_iterator(game.user()))
        kept = kept || (file.is_regular_file() && fileBytes(file.path()) == progress);
    EXPECT_TRUE(kept) << "the damaged progress file is lost";
    const Bytes progressAfter = fileBytes(game.user() / "completedlevels");
    ProgressTableRecord table;
    std::string error;
    ASSERT_TRUE(decodeProgress(progressAfter.data(), progressAfter.size(), table, error)) << error;
    auto recorded = [&](int32_t kind, const std::string& name) {
        for (const LevelRecord& record : table.list(kind))
            if (record.name == name && record.completed) return true;
        return false;
    };
    EXPECT_TRUE(recorded(kListAction, "01.First Swim"));
    EXPECT_TRUE(recorded(kListCustom, "Mine"));
    EXPECT_TRUE(recorded(kListCustom, "Good Level"));

    for (const fs::directory_entry& file : fs::recursive_directory_iterator(game.user()))
        EXPECT_EQ(file.path().filename().string().find(".tmp"), std::string::npos) << file.path();
}

// Pipes where the game reads files: opening one for reading waits for a writer that never comes, so each must be
// refused without opening it that way. The options, the progress file, a custom level, a picture and a sound
// are pipes: the game starts, tells of the picture, refuses the level, plays the good one and tells that its
// progress could not be saved (the progress file could not be read, so nothing replaces it), and ends.
TEST(FrontDoor, PipesInPlaceOfFilesNeverHoldTheGame) {
    GameFolder game;
    game.linkDataWithout(kMissingPicture, kMissingSound);
    fs::create_directories(game.custom());
    const std::vector<fs::path> pipes = {game.data() / "graphics" / kMissingPicture,
                                         game.data() / "sound" / kMissingSound, game.custom() / "Pipe.lvl",
                                         game.user() / "options", game.user() / "completedlevels"};
    for (const fs::path& pipe : pipes) ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0) << pipe;
    writeBytes(game.custom() / "Good Level.lvl", encodeLevelFile(shell_play::openWaterLevel()));

    const fs::path report = game.home() / "report.txt", logFile = game.home() / "log.txt";
    const int status = game.play(report, logFile);
    const std::vector<std::string> seen = linesOf(report);
    ASSERT_EQ(status, 0) << "the player did not get through (" << (status == kHeld ? "held" : "failed")
                         << "); it saw:\n"
                         << testing::PrintToString(seen);
    EXPECT_TRUE(contains(seen, "ended"));
    EXPECT_TRUE(contains(seen, std::string("box Failed to Load Picture: File \"") +
                                   (game.data() / "graphics" / kMissingPicture).string()));
    EXPECT_TRUE(contains(seen, "refused Pipe"));
    EXPECT_TRUE(contains(seen, "played Good Level"));
    EXPECT_TRUE(contains(seen, "box Failed to Save Progress: File \"" + (game.user() / "completedlevels").string() +
                                   "\" failed to save (it could not be read, so it is kept as it is)"));
    EXPECT_TRUE(fs::is_fifo(game.user() / "completedlevels")) << "the progress file that could not be read is kept";
}
