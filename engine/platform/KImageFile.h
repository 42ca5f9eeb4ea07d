// Saving a picture to a file in an image format, as the window saves its back buffer and the picture back ends save
// their pictures: encoded, then written through a temporary file so that a failure keeps what was there.
#pragma once

#include "KImage.h"

// False, with a log line naming the operation after the prefix ("D3D8: ... for savePicture"), when the picture
// cannot be encoded in the format or the file cannot be written.
bool writeImageFile(const char* fileName, const KImage& image, int imageFormat, const char* logPrefix,
                    const char* operation);
