// Where the resource layer finds files: mounted archives first (none in this program, but the
// interface allows packed archives), then the default archive over the plain file system.
#pragma once

#include "KList.h"
#include "KResourceFile.h"

#include <cstdint>

struct KResourceFileInfo {
    uint8_t isFolder = 0;
    uint8_t reserved = 0;
    int64_t modificationTime = 0;
    uint32_t size = 0;
};

class KResourceArchive : public KObjectListable, public KObjectBase {
public:
    virtual ~KResourceArchive() = default;
    virtual int queryResult(int a, int b, int c) = 0;
    virtual bool queryFlag(int a, int b, int c) = 0;
    virtual bool getFileInfo(const char* path, KResourceFileInfo& info) = 0;
    virtual KResourceFile* openFile(const char* path) = 0; // new file, or null
    virtual bool loadFile(const char* path, unsigned char*& bytes, size_t& size) = 0;
};

class KResourceArchiveDirect : public KResourceArchive {
public:
    int queryResult(int, int, int) override { return K_RES_NOT_SUPPORTED; }
    bool queryFlag(int, int, int) override { return true; }
    bool getFileInfo(const char* path, KResourceFileInfo& info) override;
    KResourceFile* openFile(const char* path) override;
    bool loadFile(const char* path, unsigned char*& bytes, size_t& size) override;
};
