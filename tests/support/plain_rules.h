// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/file_kind.h"

// The listing rules written out step by step, apart from the record core's own
// arithmetic and fast paths: the reference that tests and fuzz targets hold the core
// against.
namespace edt::test {

// One entry by the rule, a byte at a time: the text ends where the running zero
// balance (+1 per zero byte, -1 per other byte) reaches 2; a byte b of 33 or more
// stands for b - 1; bytes past `available` read as zero.
std::string decodeByTheRule(std::string_view bytes, std::size_t available, std::size_t entryLength);

struct RuleEntry {
    std::uint64_t start = 0; // key: position of the first byte, from 1
    int length = 0;          // bytes of the entry
    std::string text;
};

// A whole file: record count rounded half to even, at least one pass, and bytes past
// the end of the file read as zero.
std::vector<RuleEntry> listByTheRules(std::string_view image, const FileKind& kind);

// Stored entries that the fast paths must take like the rule: runs of regular pairs
// (a character byte, then a zero byte) of every length up to 40 followed by every way
// a run can end, cut at every length, in entries of several lengths; then random
// entries, mostly zeros and small codes so that every way of ending is common.
struct StoredEntry {
    std::string bytes;
    std::size_t available = 0; // bytes present; the rest read as zero
    std::size_t entryLength = 0;
    std::string label; // for the failure message
};
std::vector<StoredEntry> entryShapes();

// `pairs` regular pairs, then `tail`.
std::string regularPairsThen(std::size_t pairs, const std::string& tail);

} // namespace edt::test
