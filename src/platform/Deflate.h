#pragma once

#include <zip.h>

#include <string_view>
#include <vector>

namespace platform::detail {

// A libzip source that gives an entry written by the program, `pieces` one
// after the other, already compressed with deflate, so that the archive
// stores it as it comes. The source owns what it gives; libzip frees it with
// the source. Null when libzip cannot make a source.
zip_source_t* deflatedSource(zip_t* archive, const std::vector<std::string_view>& pieces);

} // namespace platform::detail
