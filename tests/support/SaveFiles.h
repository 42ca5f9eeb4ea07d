// What the tests of the game's saves need: a file's bytes read and written whole, the temporary files a save
// leaves beside its file (none, when it is done), and a limit on the size of every file the process writes,
// which makes each save fail part-way as on a full disk.
#pragma once

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

// The temporary files of saves of the path left in its folder: the path's name followed by ".tmp".
inline std::vector<std::string> temporariesBeside(const std::string& path) {
    const std::filesystem::path file(path);
    const std::string stem = file.filename().string() + ".tmp";
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), ignored))
        if (entry.path().filename().string().rfind(stem, 0) == 0) found.push_back(entry.path().string());
    return found;
}

// While it lives no file of the process grows past the given bytes: writes fail with "File too large", as on
// a full disk they fail with no signal (the one the limit sends is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous);
        previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {bytes, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousSignal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous{};
    void (*previousSignal)(int) = SIG_DFL;
};
