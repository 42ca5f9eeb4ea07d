// Memory source and destination managers for libjpeg: decode straight from a byte array and encode
// straight into a fixed-size buffer that the caller allocated.
#pragma once

#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

// Installs the source manager jmem_src over the whole buffer. A request for more input than the
// buffer holds warns "Premature end of JPEG file" and supplies an end-of-image marker.
void jpeg_memory_src(j_decompress_ptr cinfo, const unsigned char* buffer, size_t size);
// Installs the destination manager jmem_dest over the buffer; filling it is a fatal library error.
// The bytes written are capacity minus cinfo->dest->free_in_buffer.
void jpeg_memory_dest(j_compress_ptr cinfo, unsigned char* buffer, size_t capacity);
