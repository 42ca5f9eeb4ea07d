// The default archive: plain files on the file system.
#include "KResourceArchive.h"

#include <cstdint>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

bool KResourceArchiveDirect::getFileInfo(const char* path, KResourceFileInfo& info) {
    struct stat status;
    if (!path || stat(path, &status) != 0) return false;
    info.isFolder = S_ISDIR(status.st_mode) ? 1 : 0;
    info.reserved = 0;
    info.modificationTime = int64_t(status.st_mtime);
    info.size = uint64_t(status.st_size) > UINT32_MAX ? UINT32_MAX : uint32_t(status.st_size);
    return true;
}

// Opens a path for binary reading. Anything but a regular file is refused: on Linux a folder or a device opens
// too, and opening a pipe waits for a writer that may never come, so the open itself does not wait (a regular
// file opens the same with or without waiting) and the kind of file is checked before any read.
static FILE* openRegularFile(const char* path) {
    const int descriptor = path ? open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (descriptor < 0) return nullptr;
    struct stat status;
    FILE* stream = nullptr;
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) == 0)
        stream = fdopen(descriptor, "rb");
    if (!stream) close(descriptor);
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
