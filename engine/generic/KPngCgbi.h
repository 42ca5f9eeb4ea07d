// The CgBI variant of PNG: a "CgBI" chunk ahead of the header, image data as raw deflate without
// the zlib wrapper. These functions rewrite such a file into a plain PNG libpng can read.
#pragma once

#include <cstddef>
#include <vector>

namespace KPngCgbi {
enum class Result {
    Plain,          // no CgBI chunk: decode the bytes as they are
    Rewritten,      // a CgBI file, rewritten into the output bytes
    BadChunkLength, // a CgBI chunk whose length is not 4
    BadImageData,   // the raw-deflate image data cannot be inflated
};

// Walks the chunks of a PNG file; for a CgBI file, drops the CgBI chunk and replaces the IDAT chunks
// with one IDAT holding the inflated data recompressed with a zlib header. Other chunks are copied.
Result rewrite(const unsigned char* data, size_t size, std::vector<unsigned char>& plain);
} // namespace KPngCgbi
