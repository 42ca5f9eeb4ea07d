// Fuzz target: a picture file as a picture loader takes it, by its name's extension (the build names the file,
// and so the format, for each target). A picture that decodes stays within the limits and its pixels are
// whole; one that does not leaves the picture as it was. A decoded picture then goes where the uploaders
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

// The first and the last pixel: the pixels are one block, so AddressSanitizer sees a block too short for the
// picture at its last pixel (a loop over every pixel of a large picture would cost more than the decode).
uint32_t touchEnds(const KImage& image) {
    const size_t count = size_t(image.getWidth()) * size_t(image.getHeight());
    return count == 0 ? 0 : image.getPixels()[0] + image.getPixels()[count - 1];
}

// Halving a large picture takes long and shows nothing a small one does not.
constexpr int64_t kMaxPixelsHalved = int64_t(1) << 22;

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
    volatile uint32_t sum = touchEnds(picture);
    (void)sum;

    PictureSplice splices[kMaxPictureSplices];
    const int count = splicePicture(width, height, splices);
    FUZZ_CHECK(count >= 0 && count <= kMaxPictureSplices);

    // The same bytes as the mask of a small picture: decoded, then resampled to the picture's size.
    KImage small, mask;
    FUZZ_CHECK(decodePictureAndMask("small.png", smallPicture.data(), smallPicture.size(), FUZZ_PICTURE_NAME,
                                    file.bytes, file.size, small, mask));
    FUZZ_CHECK(mask.getWidth() == 3 && mask.getHeight() == 2);

    if (int64_t(width) * height <= kMaxPixelsHalved) {
        picture.halve(width / 2, height / 2);
        sum = touchEnds(picture);
    }
    return 0;
}
