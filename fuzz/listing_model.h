#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/file_kind.h"

namespace edt::fuzz {

struct ModelEntry {
    std::uint64_t start = 0; // key: position of the first byte, from 1
    int length = 0;          // bytes of the entry
    std::string text;
};

// The listing rules written out step by step, apart from the record core's own
// arithmetic: record count rounded half to even, at least one pass, a zero balance
// per entry, and bytes past the end of the file read as zero.
std::vector<ModelEntry> modelListing(std::string_view image, const FileKind& kind);

} // namespace edt::fuzz
