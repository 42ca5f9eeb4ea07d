// The default archive: plain files on the file system.
#include "KResourceArchive.h"

#include <cstdint>
#include <new>
#include <sys/stat.h>

bool KResourceArchiveDirect::getFileInfo(const char* path, KResourceFileInfo& info) {
    struct stat status;
    if (!path || stat(path, &status) != 0) return false;
    info.isFolder = S_ISDIR(status.st_mode) ? 1 : 0;
    info.reserved = 0;
    info.modificationTime = int64_t(status.st_mtime);
    info.size = uint64_t(status.st_size) > UINT32_MAX ? UINT32_MAX : uint32_t(status.st_size);
    return true;
}

// Opens a path for binary reading. On Linux a folder (or a device) opens too, so anything but a regular file
// is refused here, as it would be on a system where folders cannot be opened as files.
static FILE* openRegularFile(const char* path) {
    FILE* stream = path ? fopen(path, "rb") : nullptr;
    if (!stream) return nullptr;
    struct stat status;
    if (fstat(fileno(stream), &status) != 0 || !S_ISREG(status.st_mode)) {
        fclose(stream);
        return nullptr;
    }
    return stream;
}

KResourceFile* KResourceArchiveDirect::openFile(const char* path) {
    FILE* stream = openRegularFile(path);
    return stream ? new KResourceFileDirect(stream) : nullptr;
}

bool KResourceArchiveDirect::loadFile(const char* path, unsigned char*& bytes, size_t& size) {
    bytes = nullptr;
    size = 0;
    FILE* stream = openRegularFile(path);
    if (!stream) return false;
    bool loaded = false;
    long length = -1;
    if (fseek(stream, 0, SEEK_END) == 0) length = ftell(stream);
    // Files past 4 GiB are not data files of this game.
    if (length >= 0 && uint64_t(length) <= UINT32_MAX && fseek(stream, 0, SEEK_SET) == 0) {
        // A file too large for the memory left fails like any unreadable file rather than ending the program.
        unsigned char* buffer = new (std::nothrow) unsigned char[size_t(length)];
        if (buffer && fread(buffer, 1, size_t(length), stream) == size_t(length)) {
            bytes = buffer;
            size = size_t(length);
            loaded = true;
        } else {
            delete[] buffer;
        }
    }
    fclose(stream);
    return loaded;
}

KResourceFileDirect::~KResourceFileDirect() {
    if (stream) fclose(stream);
}

int KResourceFileDirect::seek(long offset, int origin) {
    static const int origins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (!stream || origin < 0 || origin > 2) return K_RES_READ_ERROR;
    return fseek(stream, offset, origins[origin]) == 0 ? K_RES_OK : K_RES_READ_ERROR;
}

int KResourceFileDirect::tell(long& position) {
    if (!stream) return K_RES_READ_ERROR;
    position = ftell(stream);
    return position < 0 ? K_RES_READ_ERROR : K_RES_OK;
}

int KResourceFileDirect::read(void* buffer, size_t count) {
    if (!stream) return count > 0 ? K_RES_READ_ERROR : K_RES_OK;
    return fread(buffer, 1, count, stream) == count ? K_RES_OK : K_RES_READ_ERROR;
}
