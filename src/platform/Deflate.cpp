// Compression of the parts of a package the program changed. libzip 1.7
// (Debian 12) compresses only with zlib, and stores an entry as it comes when
// its source says it is compressed already, with the sizes and the checksum
// the source declares. libdeflate compresses whole buffers several times faster
// than zlib: at its level 3 a contract's text comes within about a tenth of
// the size zlib's default level gives, in a quarter of its time (zlib's
// fastest level is slower and a quarter larger).
#include "platform/Deflate.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace platform::detail {

namespace {

// Higher levels take more time than the room they save is worth.
constexpr int kLevel = 3;

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// One compressor a thread, kept: making one costs more than a small part.
libdeflate_compressor& compressor()
{
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> kept(libdeflate_alloc_compressor(kLevel));
    if (!kept)
        throw std::bad_alloc();
    return *kept;
}

struct DeflatedEntry {
    std::vector<char> compressed;
    zip_uint64_t size = 0;
    zip_uint32_t crc = 0;
    zip_uint64_t offset = 0; // of the next byte libzip reads
    zip_error_t error{};

    static zip_int64_t source(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto* entry = static_cast<DeflatedEntry*>(state);
        switch (command) {
        case ZIP_SOURCE_OPEN:
            entry->offset = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            const zip_uint64_t n = std::min<zip_uint64_t>(length, entry->compressed.size() - entry->offset);
            std::memcpy(data, entry->compressed.data() + entry->offset, n);
            entry->offset += n;
            return static_cast<zip_int64_t>(n);
        }
        case ZIP_SOURCE_STAT: {
            auto* stat = static_cast<zip_stat_t*>(data);
            zip_stat_init(stat);
            stat->size = entry->size;
            stat->comp_size = entry->compressed.size();
            stat->comp_method = ZIP_CM_DEFLATE;
            stat->crc = entry->crc;
            stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                  ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&entry->error, data, length);
        case ZIP_SOURCE_FREE:
            delete entry;
            return 0;
        default: // close
            return 0;
        }
    }
};

} // namespace

zip_source_t* deflatedSource(zip_t* archive, const std::vector<std::string_view>& pieces)
{
    auto entry = std::make_unique<DeflatedEntry>();
    std::string_view whole;
    std::vector<char> joined; // libdeflate compresses one buffer
    if (pieces.size() == 1) {
        whole = pieces.front();
    } else {
        std::size_t size = 0;
        for (const std::string_view piece : pieces)
            size += piece.size();
        joined.reserve(size);
        for (const std::string_view piece : pieces)
            joined.insert(joined.end(), piece.begin(), piece.end());
        whole = {joined.data(), joined.size()};
    }
    libdeflate_compressor& c = compressor();
    entry->compressed.resize(libdeflate_deflate_compress_bound(&c, whole.size()));
    entry->compressed.resize(libdeflate_deflate_compress(&c, whole.data(), whole.size(), entry->compressed.data(),
                                                         entry->compressed.size()));
    if (entry->compressed.empty())
        return nullptr; // the bound is never too small
    entry->size = whole.size();
    entry->crc = libdeflate_crc32(0, whole.data(), whole.size());
    zip_source_t* source = zip_source_function(archive, &DeflatedEntry::source, entry.get());
    if (source)
        entry.release(); // freed with the source
    return source;
}

} // namespace platform::detail
