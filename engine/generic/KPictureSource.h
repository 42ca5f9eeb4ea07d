// The platform-neutral start of loading a picture, shared by the picture back ends: reading its file whole and
// decoding the picture (and its mask) through KImage by the name's extension.
#pragma once

#include "KImage.h"

#include <cstddef>
#include <string>

// Decodes data in the format the name's extension gives. False for an unknown extension, no data or bad data.
bool decodePicture(const char* name, const unsigned char* data, size_t size, KImage& out);

// Decodes a colour picture and its mask, then resamples the mask to the picture's size when they differ, since
// the mask is read pixel for pixel with the picture. False when either does not decode (the picture is cleared
// when only the mask fails).
bool decodePictureAndMask(const char* name, const unsigned char* data, size_t size, const char* maskName,
                          const unsigned char* maskData, size_t maskSize, KImage& image, KImage& mask);

// A picture file read whole through KResource; the bytes go with the object.
class KPictureFileBytes {
public:
    KPictureFileBytes() = default;
    KPictureFileBytes(const KPictureFileBytes&) = delete;
    KPictureFileBytes& operator=(const KPictureFileBytes&) = delete;
    ~KPictureFileBytes() { delete[] bytes; }

    // Reads the file at path, dropping what an earlier read held. False when it cannot be read.
    bool read(const std::string& path);

    unsigned char* bytes = nullptr;
    size_t size = 0;
};
