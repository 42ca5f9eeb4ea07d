// Encoding a picture and writing it to a file for the window and the picture back ends.
#include "KImageFile.h"

#include "KLog.h"
#include "KMiscTools.h"

bool writeImageFile(const char* fileName, const KImage& image, int imageFormat, const char* logPrefix,
                    const char* operation) {
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KImage::encode(ImageFormat(imageFormat), bytes, size, image)) {
        logMessage("%s: failed to encode image in format %d for %s", logPrefix, imageFormat, operation);
        return false;
    }
    bool written = KMiscTools::writeFileReplacing(fileName, bytes, size);
    delete[] bytes;
    if (!written) logMessage("%s: couldn't write '%s' for %s, ERROR", logPrefix, fileName, operation);
    return written;
}
