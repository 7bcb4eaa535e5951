#pragma once

#include <zip.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

// An entry written by the program, compressed with deflate as it is given,
// a piece at a time, so that libzip stores it as it comes. While it is small
// it is kept and compressed at once, the quickest way; a larger one is
// compressed as it comes, so that it is never held whole a second time.
class DeflatedEntry {
public:
    DeflatedEntry();
    ~DeflatedEntry();
    DeflatedEntry(const DeflatedEntry&) = delete;
    DeflatedEntry& operator=(const DeflatedEntry&) = delete;

    // False when it cannot be compressed (no memory for it).
    bool add(std::string_view piece);

    // A libzip source that gives the entry, all of it given; it owns what it
    // gives, which libzip frees with the source. Null when libzip cannot make
    // a source or the entry could not be compressed.
    zip_source_t* source(zip_t* archive);

    // What a whole entry under this size is kept for, to be compressed at once.
    static constexpr std::size_t kKeptWhole = std::size_t(4) << 20;

private:
    struct Compressed;
    // Gives the piece to zlib, which was asked for, with `flush`.
    bool add(std::string_view piece, int flush);

    struct Stream;
    std::unique_ptr<Compressed> compressed_;
    std::unique_ptr<Stream> stream_; // once it is compressed as it comes
    std::string kept_;
    bool failed_ = false;
};

} // namespace platform::detail
