// TGA codec, the engine's own: decodes 8-bit colour-mapped, 15/16, 24 and 32-bit pictures, raw or
// run-length, in any row order; encodes uncompressed 24 or 32-bit pictures stored bottom row first.
#pragma once

#include "KImageHandler.h"

class KImageHandlerTga : public KImageHandler {
public:
    bool decode(const unsigned char* data, size_t size, KImage& image) override;
    bool encode(unsigned char*& data, size_t& size, const KImage& image, int quality) override;
};
