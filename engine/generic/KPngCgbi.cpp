// Rewrites a CgBI PNG into a plain one: the CgBI chunk is dropped and the raw-deflate image data is
// inflated and deflated again with a zlib header, into one IDAT chunk where the first IDAT stood.
#include "KPngCgbi.h"

#include "KImage.h"

#include <cstdint>
#include <cstring>
#include <zlib.h>

namespace {
const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t readBig32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

void appendBig32(std::vector<unsigned char>& out, uint32_t value) {
    out.push_back(uint8_t(value >> 24));
    out.push_back(uint8_t(value >> 16));
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

struct Chunk {
    size_t start; // offset of the length field
    uint32_t length;
    const unsigned char* type;
    const unsigned char* body;
};

// Calls visit for each complete chunk up to and including IEND; a chunk that runs past the end of
// the data ends the walk. visit returns false to stop early.
template <typename Visit> void walkChunks(const unsigned char* data, size_t size, Visit visit) {
    size_t pos = sizeof kSignature;
    while (size >= 12 && pos <= size - 12) {
        uint32_t length = readBig32(data + pos);
        if (length > size - pos - 12) return;
        Chunk chunk{pos, length, data + pos + 4, data + pos + 8};
        if (!visit(chunk)) return;
        if (memcmp(chunk.type, "IEND", 4) == 0) return;
        pos += size_t(length) + 12;
    }
}

// Bytes of one row of `pixels` pixels with a filter byte in front.
size_t rowSize(size_t pixels, size_t bitsPerPixel) {
    return pixels == 0 ? 0 : 1 + (pixels * bitsPerPixel + 7) / 8;
}

// The exact inflated size of the image data, from a header whose CRC holds: a damaged header (which
// libpng refuses anyway) or a picture above the size limits allows nothing to be inflated, so a
// small file cannot make us inflate and recompress hundreds of megabytes for nothing.
size_t inflatedLimit(const unsigned char* data, size_t size) {
    size_t limit = 0;
    walkChunks(data, size, [&](const Chunk& chunk) {
        if (memcmp(chunk.type, "IHDR", 4) != 0) return true;
        if (chunk.length != 13 || crc32(0, chunk.type, 4 + 13) != readBig32(chunk.body + 13)) return false;
        const int64_t width = readBig32(chunk.body), height = readBig32(chunk.body + 4);
        const int depth = chunk.body[8], colorType = chunk.body[9], interlace = chunk.body[12];
        const int channels[7] = {1, 0, 3, 1, 2, 0, 4};
        if (!KImage::sizeAllowed(width, height) || colorType > 6 || channels[colorType] == 0) return false;
        const size_t bits = size_t(depth) * size_t(channels[colorType]);
        if (interlace == 0) {
            limit = size_t(height) * rowSize(size_t(width), bits);
            return false;
        }
        // Adam7: seven passes, each a smaller picture of its own rows.
        static const int kStart[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
        static const int kStep[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
        for (int pass = 0; pass < 7; pass++) {
            const int64_t passWidth = (width - kStart[pass][0] + kStep[pass][0] - 1) / kStep[pass][0];
            const int64_t passHeight = (height - kStart[pass][1] + kStep[pass][1] - 1) / kStep[pass][1];
            if (passWidth > 0 && passHeight > 0) limit += size_t(passHeight) * rowSize(size_t(passWidth), bits);
        }
        return false;
    });
    return limit;
}

bool inflateRaw(const std::vector<unsigned char>& packed, size_t limit, std::vector<unsigned char>& out) {
    z_stream stream = {};
    if (inflateInit2(&stream, -15) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = uInt(packed.size());
    out.resize(limit < 65536 ? limit : 65536);
    bool ok = true;
    while (stream.total_out < limit) {
        if (stream.total_out == out.size()) out.resize(out.size() * 2 < limit ? out.size() * 2 : limit);
        stream.next_out = out.data() + stream.total_out;
        stream.avail_out = uInt(out.size() - stream.total_out);
        int status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) break;
        if (status == Z_BUF_ERROR && stream.avail_in == 0) break; // data cut short: keep what came out
        if (status != Z_OK && status != Z_BUF_ERROR) {
            ok = false;
            break;
        }
    }
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return ok;
}
} // namespace

KPngCgbi::Result KPngCgbi::rewrite(const unsigned char* data, size_t size, std::vector<unsigned char>& plain) {
    if (!data || size < sizeof kSignature || memcmp(data, kSignature, sizeof kSignature) != 0) return Result::Plain;

    bool found = false, badLength = false;
    walkChunks(data, size, [&](const Chunk& chunk) {
        if (memcmp(chunk.type, "CgBI", 4) != 0) return true;
        found = true;
        badLength = chunk.length != 4;
        return false;
    });
    if (!found) return Result::Plain;
    if (badLength) return Result::BadChunkLength;

    std::vector<unsigned char> packed;
    walkChunks(data, size, [&](const Chunk& chunk) {
        if (memcmp(chunk.type, "IDAT", 4) == 0) packed.insert(packed.end(), chunk.body, chunk.body + chunk.length);
        return true;
    });
    std::vector<unsigned char> raw;
    if (!inflateRaw(packed, inflatedLimit(data, size), raw)) return Result::BadImageData;

    uLongf deflatedSize = compressBound(uLong(raw.size()));
    std::vector<unsigned char> deflated(deflatedSize);
    if (compress2(deflated.data(), &deflatedSize, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return Result::BadImageData;
    deflated.resize(deflatedSize);

    plain.assign(data, data + sizeof kSignature);
    bool idatWritten = false;
    walkChunks(data, size, [&](const Chunk& chunk) {
        if (memcmp(chunk.type, "CgBI", 4) == 0) return true;
        if (memcmp(chunk.type, "IDAT", 4) == 0) {
            if (idatWritten) return true;
            idatWritten = true;
            appendBig32(plain, uint32_t(deflated.size()));
            size_t typeAt = plain.size();
            plain.insert(plain.end(), chunk.type, chunk.type + 4);
            plain.insert(plain.end(), deflated.begin(), deflated.end());
            appendBig32(plain, uint32_t(crc32(0, plain.data() + typeAt, uInt(plain.size() - typeAt))));
            return true;
        }
        plain.insert(plain.end(), data + chunk.start, data + chunk.start + chunk.length + 12);
        return true;
    });
    return Result::Rewritten;
}
