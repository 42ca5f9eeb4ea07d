// Fuzz target: a picture file as a picture loader takes it, by its name's extension (the build names the file,
// and so the format, for each target). A picture that decodes stays within the limits and every pixel of it
// can be read; one that does not leaves the picture as it was. A decoded picture then goes where the uploaders
// send it: cut into texture pieces, halved for the smaller texture levels, and fitted as a mask to a picture
// of another size.
#include "FuzzSupport.h"

#include "KPictureSource.h"
#include "KSplicer.h"

#include <vector>

#ifndef FUZZ_PICTURE_NAME
#error "FUZZ_PICTURE_NAME names the input file; its extension chooses the decoder"
#endif

namespace {

constexpr uint32_t kMarker = 0x12345678;

uint32_t touchEveryPixel(const KImage& image) {
    uint32_t sum = 0;
    const uint32_t* pixels = image.getPixels();
    for (size_t i = 0; i < size_t(image.getWidth()) * size_t(image.getHeight()); ++i) sum += pixels[i];
    return sum;
}

// A 3 x 2 picture as a file, for the mask fitting.
std::vector<unsigned char> smallPicture;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    KImage small;
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!small.allocate(3, 2, true) || !KImage::encode(K_IMAGE_PNG, bytes, size, small))
        fuzzFinding("the small picture cannot be made");
    smallPicture.assign(bytes, bytes + size);
    delete[] bytes;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    serveFuzzInput(FUZZ_PICTURE_NAME, data, size);
    KPictureFileBytes file;
    FUZZ_CHECK(file.read(FUZZ_PICTURE_NAME));

    KImage picture;
    FUZZ_CHECK(picture.allocate(1, 1, false));
    picture.getPixels()[0] = kMarker;
    if (!decodePicture(FUZZ_PICTURE_NAME, file.bytes, file.size, picture)) {
        FUZZ_CHECK(picture.getWidth() == 1 && picture.getHeight() == 1 && picture.getPixel(0, 0) == kMarker);
        return 0;
    }
    const int32_t width = picture.getWidth(), height = picture.getHeight();
    FUZZ_CHECK(KImage::sizeAllowed(width, height));
    FUZZ_CHECK((picture.getPixels() != nullptr) == (int64_t(width) * height > 0));
    volatile uint32_t sum = touchEveryPixel(picture);
    (void)sum;

    PictureSplice splices[kMaxPictureSplices];
    const int count = splicePicture(width, height, splices);
    FUZZ_CHECK(count >= 0 && count <= kMaxPictureSplices);

    // The same bytes as the mask of a small picture: decoded, then resampled to the picture's size.
    KImage small, mask;
    FUZZ_CHECK(decodePictureAndMask("small.png", smallPicture.data(), smallPicture.size(), FUZZ_PICTURE_NAME,
                                    file.bytes, file.size, small, mask));
    FUZZ_CHECK(mask.getWidth() == 3 && mask.getHeight() == 2);

    picture.halve(width / 2, height / 2);
    sum = touchEveryPixel(picture);
    return 0;
}
