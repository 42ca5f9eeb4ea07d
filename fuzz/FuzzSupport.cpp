// The fuzz targets' shared pieces: an archive that serves the one input by name, the per-user folder and the
// finding report.
#include "FuzzSupport.h"

#include "FolderPaths.h"
#include "KResource.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <unistd.h>

namespace {

// An open input, read piece by piece (the TrueType reader reads this way).
class InputFile : public KResourceFile {
public:
    InputFile(const uint8_t* bytes, size_t size) : bytes(bytes), size(size) {}
    int seek(long offset, int origin) override {
        long base = origin == 0 ? 0 : origin == 1 ? long(position) : origin == 2 ? long(size) : -1;
        if (base < 0 || offset < -base || uint64_t(base + offset) > size) return K_RES_READ_ERROR;
        position = size_t(base + offset);
        return K_RES_OK;
    }
    int tell(long& out) override {
        out = long(position);
        return K_RES_OK;
    }
    int read(void* buffer, size_t count) override {
        if (count > size - position) return K_RES_READ_ERROR;
        if (count > 0) std::memcpy(buffer, bytes + position, count);
        position += count;
        return K_RES_OK;
    }

private:
    const uint8_t* bytes;
    size_t size;
    size_t position = 0;
};

// Mounted ahead of the file system, it answers only for the input's name.
class InputArchive : public KResourceArchive {
public:
    int queryResult(int, int, int) override { return K_RES_NOT_SUPPORTED; }
    bool queryFlag(int, int, int) override { return true; }
    bool getFileInfo(const char* path, KResourceFileInfo& info) override {
        if (!serves(path)) return false;
        info = KResourceFileInfo{};
        info.size = uint32_t(std::min<size_t>(size, UINT32_MAX));
        return true;
    }
    KResourceFile* openFile(const char* path) override { return serves(path) ? new InputFile(bytes, size) : nullptr; }
    bool loadFile(const char* path, unsigned char*& out, size_t& outSize) override {
        if (!serves(path)) return false;
        out = new unsigned char[size];
        if (size > 0) std::memcpy(out, bytes, size);
        outSize = size;
        return true;
    }

    std::string name;
    const uint8_t* bytes = nullptr;
    size_t size = 0;

private:
    bool serves(const char* path) const { return path && !name.empty() && name == path; }
};

InputArchive* inputArchive = nullptr;
std::string userRoot;

void removeUserRoot() {
    std::error_code ignored;
    if (!userRoot.empty()) std::filesystem::remove_all(userRoot, ignored);
}

} // namespace

void serveFuzzInput(const std::string& name, const uint8_t* bytes, size_t size) {
    if (!inputArchive) {
        inputArchive = new InputArchive();
        KResource::mountArchive(inputArchive);
    }
    inputArchive->name = name;
    inputArchive->bytes = bytes;
    inputArchive->size = size;
}

void useFuzzUserFolder() {
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path base =
        std::filesystem::is_directory(memory, error) ? memory : std::filesystem::temp_directory_path();
    std::string pattern = (base / "glimmerfin-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) fuzzFinding("no temporary folder can be made for the per-user folder");
    userRoot = pattern;
    std::atexit(removeUserRoot);
    setenv("XDG_DATA_HOME", userRoot.c_str(), 1);
    setUpFolders();
}

void writeFuzzFile(const std::string& path, const uint8_t* bytes, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(bytes, 1, size, file) != size) || std::fclose(file) != 0)
        fuzzFinding("the input cannot be written to the per-user folder");
}

std::string readFuzzFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The sanitizers' report channel, which the fuzzer keeps open when it closes the target's output; absent from a
// build without sanitizers.
extern "C" __attribute__((weak)) void __sanitizer_report_error_summary(const char* summary);

void fuzzFinding(const char* what) {
    const std::string summary = std::string("FUZZ FINDING: ") + what;
    if (__sanitizer_report_error_summary)
        __sanitizer_report_error_summary(summary.c_str());
    else
        std::fprintf(stderr, "%s\n", summary.c_str());
    std::abort();
}
