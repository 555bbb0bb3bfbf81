// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "record/escaped_text.h"

// Shared by the fuzz targets: a check that stops the run, a reader of structured
// values from the fuzzer's bytes, and a scratch folder for files.

// Unlike assert, also active in release builds: a fuzz target must stop at the first
// broken promise, and libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::edt::fuzz::fail(#condition, __FILE__, __LINE__);                                     \
    } while (false)

namespace edt::fuzz {

[[noreturn]] void fail(const char* condition, const char* file, int line);

// The file names that choose each kind, the default kind included.
constexpr const char* kKindNames[] = {"strings.edt", "email.edt",  "aimbios.edt", "mercbios.edt",
                                      "files.edt",   "quests.edt", "civ"};
constexpr std::size_t kKindCount = sizeof kKindNames / sizeof kKindNames[0];

// Takes values from the front of the input; reads past the end as zero.
class ByteStream {
public:
    ByteStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::uint64_t u64() {
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value |= static_cast<std::uint64_t>(byte()) << (8 * i);
        return value;
    }
    // Everything not taken yet.
    std::string_view rest() {
        const std::size_t from = pos_ < size_ ? pos_ : size_;
        pos_ = size_;
        return {reinterpret_cast<const char*>(data_) + from, size_ - from};
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A folder of this process for scratch files, inside $EDT_FUZZ_SCRATCH if set, else on
// /dev/shm when there is one (so that fsync costs nothing); removed when the process
// ends normally.
const std::string& scratchDir();

void writeWholeFile(const std::string& path, std::string_view bytes);

// edt-tool's escapes for Windows-1252.
const Escaper& escaper();
std::string readWholeFile(const std::string& path);

} // namespace edt::fuzz
