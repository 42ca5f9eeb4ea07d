// libjpeg memory managers jmem_src and jmem_dest. Each record is allocated once from the library's
// permanent pool of the (de)compressor and its buffer fields are set again on every call.
#include "KJpegMemory.h"

#include <jerror.h>

namespace {
struct jmem_src {
    jpeg_source_mgr pub;
    const JOCTET* buffer;
    size_t size;
};

struct jmem_dest {
    jpeg_destination_mgr pub;
    JOCTET* buffer;
    size_t capacity;
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<jmem_src*>(cinfo->src);
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = src->size;
}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    fprintf(stderr, "jmem_src: fill_input_buffer: should not be called.\n");
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kEndOfImage;
    cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

// A skip past the end supplies the end-of-image marker once and leaves it in place, so that a long
// marker cut short does not ask for input again and again.
void skipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    if (size_t(count) > src->bytes_in_buffer) {
        fillInputBuffer(cinfo);
        return;
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= size_t(count);
}

void termSource(j_decompress_ptr) {}

void initDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<jmem_dest*>(cinfo->dest);
    if (!dest->buffer) {
        fprintf(stderr, "jmem_dest: init_destination: buffer not allocated\n");
        ERREXIT(cinfo, JERR_BUFFER_SIZE);
    }
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = dest->capacity;
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    fprintf(stderr, "jmem_dest: empty_output_buffer: buffer should not ever be full\n");
    ERREXIT(cinfo, JERR_BUFFER_SIZE);
    return FALSE;
}

void termDestination(j_compress_ptr) {}
} // namespace

void jpeg_memory_src(j_decompress_ptr cinfo, const unsigned char* buffer, size_t size) {
    if (!cinfo->src) {
        cinfo->src = static_cast<jpeg_source_mgr*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(jmem_src)));
    }
    auto* src = reinterpret_cast<jmem_src*>(cinfo->src);
    src->pub.init_source = initSource;
    src->pub.fill_input_buffer = fillInputBuffer;
    src->pub.skip_input_data = skipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = termSource;
    src->pub.next_input_byte = nullptr;
    src->pub.bytes_in_buffer = 0;
    src->buffer = buffer;
    src->size = buffer ? size : 0;
}

void jpeg_memory_dest(j_compress_ptr cinfo, unsigned char* buffer, size_t capacity) {
    if (!buffer) {
        fprintf(stderr, "jpeg_memory_dest: memory buffer needs to be allocated\n");
        ERREXIT(cinfo, JERR_BUFFER_SIZE);
    }
    if (!cinfo->dest) {
        cinfo->dest = static_cast<jpeg_destination_mgr*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(jmem_dest)));
    }
    auto* dest = reinterpret_cast<jmem_dest*>(cinfo->dest);
    dest->pub.init_destination = initDestination;
    dest->pub.empty_output_buffer = emptyOutputBuffer;
    dest->pub.term_destination = termDestination;
    dest->buffer = buffer;
    dest->capacity = capacity;
}
