// BMP codec, the engine's own: decodes 1, 4, 8, 16, 24 and 32-bit pictures, RLE8, RLE4 and the
// common bit-field layouts, from core or info headers; encodes 24 or 32-bit bottom-up pictures.
#pragma once

#include "KImageHandler.h"

class KImageHandlerBmp : public KImageHandler {
public:
    bool decode(const unsigned char* data, size_t size, KImage& image) override;
    bool encode(unsigned char*& data, size_t& size, const KImage& image, int quality) override;
};
