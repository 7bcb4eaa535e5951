// Compression of the parts of a package the program changed. libzip 1.7
// (Debian 12) compresses only with zlib, and stores an entry as it comes when
// its source says it is compressed already, with the sizes and the checksum
// the source declares. libdeflate compresses whole buffers several times faster
// than zlib: at its level 3 a contract's text comes within about a tenth of
// the size zlib's default level gives, in a quarter of its time (zlib's
// fastest level is slower and a quarter larger). It takes a whole buffer,
// though: a part larger than any contract's is compressed by zlib as it is
// written, at its fastest level, rather than held whole a second time.
#include "platform/Deflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
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

} // namespace

// The compressed entry, as libzip reads it from the source.
struct DeflatedEntry::Compressed {
    std::vector<char> bytes;
    zip_uint64_t size = 0;
    zip_uint32_t crc = 0;
    zip_uint64_t offset = 0; // of the next byte libzip reads
    zip_error_t error{};

    static zip_int64_t source(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto* entry = static_cast<Compressed*>(state);
        switch (command) {
        case ZIP_SOURCE_OPEN:
            entry->offset = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            const zip_uint64_t n = std::min<zip_uint64_t>(length, entry->bytes.size() - entry->offset);
            std::memcpy(data, entry->bytes.data() + entry->offset, n);
            entry->offset += n;
            return static_cast<zip_int64_t>(n);
        }
        case ZIP_SOURCE_STAT: {
            auto* stat = static_cast<zip_stat_t*>(data);
            zip_stat_init(stat);
            stat->size = entry->size;
            stat->comp_size = entry->bytes.size();
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

// zlib's raw deflate, fed as the entry comes.
struct DeflatedEntry::Stream {
    z_stream z{};
    bool open = false;
    ~Stream()
    {
        if (open)
            deflateEnd(&z);
    }
};

DeflatedEntry::DeflatedEntry() : compressed_(std::make_unique<Compressed>()) {}

DeflatedEntry::~DeflatedEntry() = default;

bool DeflatedEntry::add(std::string_view piece)
{
    if (failed_ || !compressed_)
        return false;
    compressed_->size += piece.size();
    compressed_->crc = static_cast<zip_uint32_t>(libdeflate_crc32(compressed_->crc, piece.data(), piece.size()));
    if (!stream_ && kept_.size() + piece.size() <= kKeptWhole) {
        kept_.append(piece);
        return true;
    }
    if (!stream_) {
        stream_ = std::make_unique<Stream>();
        if (deflateInit2(&stream_->z, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            failed_ = true;
            return false;
        }
        stream_->open = true;
        const std::string kept = std::move(kept_);
        kept_.clear();
        if (!kept.empty() && !add(kept, Z_NO_FLUSH))
            return false;
    }
    return add(piece, Z_NO_FLUSH);
}

zip_source_t* DeflatedEntry::source(zip_t* archive)
{
    if (failed_ || !compressed_)
        return nullptr;
    std::vector<char>& bytes = compressed_->bytes;
    if (stream_) {
        if (!add({}, Z_FINISH))
            return nullptr;
        bytes.shrink_to_fit();
    } else {
        libdeflate_compressor& c = compressor();
        bytes.resize(libdeflate_deflate_compress_bound(&c, kept_.size()));
        bytes.resize(libdeflate_deflate_compress(&c, kept_.data(), kept_.size(), bytes.data(), bytes.size()));
        if (bytes.empty())
            return nullptr; // the bound is never too small
        std::string().swap(kept_);
    }
    zip_source_t* made = zip_source_function(archive, &Compressed::source, compressed_.get());
    if (made)
        compressed_.release(); // freed with the source
    return made;
}

bool DeflatedEntry::add(std::string_view piece, int flush)
{
    z_stream& z = stream_->z;
    std::vector<char>& bytes = compressed_->bytes;
    const char* next = piece.data();
    std::size_t left = piece.size();
    constexpr std::size_t kAtOnce = std::numeric_limits<uInt>::max();
    for (;;) {
        const std::size_t now = std::min(left, kAtOnce);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(next));
        z.avail_in = static_cast<uInt>(now);
        const int last = now == left ? flush : Z_NO_FLUSH;
        int result = Z_OK;
        do {
            const std::size_t at = bytes.size();
            constexpr std::size_t room = std::size_t(1) << 18;
            bytes.resize(at + room);
            z.next_out = reinterpret_cast<Bytef*>(bytes.data() + at);
            z.avail_out = static_cast<uInt>(room);
            result = deflate(&z, last);
            bytes.resize(at + room - z.avail_out);
            if (result == Z_STREAM_ERROR) {
                failed_ = true;
                return false;
            }
        } while (z.avail_out == 0 || (last == Z_FINISH && result != Z_STREAM_END));
        next += now;
        left -= now;
        if (left == 0)
            return true;
    }
}

} // namespace platform::detail
