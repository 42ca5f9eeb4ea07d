// JPEG codec over libjpeg with the engine's memory managers. Decodes grey and colour baseline or
// progressive files to RGBA (alpha 255); encodes the RGB of a picture at the quality asked for.
#pragma once

#include "KImageHandler.h"

class KImageHandlerJpg : public KImageHandler {
public:
    bool decode(const unsigned char* data, size_t size, KImage& image) override;
    bool encode(unsigned char*& data, size_t& size, const KImage& image, int quality) override;
};
