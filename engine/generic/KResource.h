// The engine's way of reading data files: whole files into memory (pictures, sounds, fonts) and
// open files read piece by piece. Mounted archives are asked first, then the file system.
#pragma once

#include "KResourceArchive.h"

#include <string>

class KResource : public KObjectBase {
public:
    ~KResource() override;

    int open(const std::string& path);        // K_RES_OK or K_RES_OPEN_FAILED
    KResourceFile* getFile() { return file; } // null until open succeeds

    // The whole file as a new byte array the caller deletes with delete[]. An empty file gives a
    // zero-length array and true.
    static bool loadWholeFile(const std::string& path, unsigned char*& bytes, size_t& size);

    static void createDefaultArchive();
    static void mountArchive(KResourceArchive* archive); // the layer owns it from then on
    static void shutDown();                              // deletes the mounted archives, then the default archive

    static KList<KResourceArchive>& mountedArchives();
    static bool verbose;

private:
    KResourceFile* file = nullptr;
};
