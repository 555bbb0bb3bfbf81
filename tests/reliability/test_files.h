// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/test_support.h"

// Helpers of the reliability tests, beside the shared ones: fingerprints that prove a
// file (or a whole folder) unchanged, and a child process for what only a child may
// change (its user, its mounts).
namespace edt::test {

// A 64-bit FNV-1a hash of a file's bytes and its length. Holes of sparse files are
// skipped by offset (SEEK_DATA), so even a file of many gigabytes hashes at once.
struct Fingerprint {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const Fingerprint& o) const { return size == o.size && hash == o.hash; }
    bool operator!=(const Fingerprint& o) const { return !(*this == o); }
};
Fingerprint fingerprintFile(const std::string& path);

// Every name below a folder with its type, and for regular files their fingerprint,
// inode and modification time, for links their target: equal before and after means
// nothing was written, created, removed or touched.
std::string describeTree(const std::string& dir);

// Runs `body` in a forked child and returns its result. A result starting with
// "SKIP: " means the child could not set up what the test needs.
std::string inChild(const std::function<std::string()>& body);

} // namespace edt::test
