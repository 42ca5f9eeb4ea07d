// The codec interface behind KImage::decode and KImage::encode: one subclass per file format.
// A fresh handler is made for every call and deleted right after it.
#pragma once

#include "KImage.h"

class KImageHandler : public KObjectBase {
public:
    ~KImageHandler() override = default;

    // On success sets the picture's size, alpha flag and a new pixel array (the old one is freed);
    // on failure logs why and leaves the picture untouched.
    virtual bool decode(const unsigned char* data, size_t size, KImage& image) = 0;
    // On success returns a new byte array (delete[]) and its length. Quality is used by JPEG only.
    virtual bool encode(unsigned char*& data, size_t& size, const KImage& image, int quality) = 0;
};
