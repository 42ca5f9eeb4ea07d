// Whole-file reads and decoding for the picture back ends' loaders.
#include "KPictureSource.h"

#include "KResource.h"

bool decodePicture(const char* name, const unsigned char* data, size_t size, KImage& out) {
    ImageFormat format = KImage::getFormatFromName(name);
    if (format == K_IMAGE_UNKNOWN || !data) return false;
    return KImage::decode(format, data, size, out);
}

bool decodePictureAndMask(const char* name, const unsigned char* data, size_t size, const char* maskName,
                          const unsigned char* maskData, size_t maskSize, KImage& image, KImage& mask) {
    if (!decodePicture(name, data, size, image)) return false;
    if (!decodePicture(maskName, maskData, maskSize, mask)) {
        image.clear();
        return false;
    }
    if (mask.getWidth() != image.getWidth() || mask.getHeight() != image.getHeight())
        mask.resample(image.getWidth(), image.getHeight());
    return true;
}

bool KPictureFileBytes::read(const std::string& path) {
    delete[] bytes;
    bytes = nullptr;
    size = 0;
    return KResource::loadWholeFile(path, bytes, size);
}
