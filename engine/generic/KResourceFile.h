// An open data file read piece by piece (TrueType faces read this way), and the result codes of the
// resource layer.
#pragma once

#include "KObjectBase.h"
#include "KObjectListable.h"

#include <cstddef>
#include <cstdio>

enum KResourceResult : int {
    K_RES_OK = 0,
    K_RES_NOT_SUPPORTED = 1000,
    K_RES_READ_ERROR = 1002, // seek, tell or read failed
    K_RES_OPEN_FAILED = 1003,
};

class KResourceFile : public KObjectListable, public KObjectBase {
public:
    virtual ~KResourceFile() = default;
    virtual int seek(long offset, int origin) = 0; // origin 0 start, 1 current, 2 end
    virtual int tell(long& position) = 0;
    virtual int read(void* buffer, size_t count) = 0; // K_RES_OK only when exactly count bytes were read
};

// A plain file opened for binary reading; closed by the destructor.
class KResourceFileDirect : public KResourceFile {
public:
    explicit KResourceFileDirect(FILE* stream) : stream(stream) {}
    ~KResourceFileDirect() override;
    int seek(long offset, int origin) override;
    int tell(long& position) override;
    int read(void* buffer, size_t count) override;

private:
    FILE* stream;
};
