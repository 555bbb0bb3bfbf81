// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "record/vector_path.h"

namespace edt {

// What each character becomes where texts are written out in bulk (the listing's
// escaped UTF-8, an export's UTF-8), written for whole runs of stored characters at
// once. Forms are 1-4 bytes; only a form of one byte may be a zero byte.
class StoredForms {
public:
    static constexpr std::size_t kMaxForm = 4;
    // The room a write of n characters needs: kMaxForm * n + kSlack bytes.
    static constexpr std::size_t kSlack = 8;

    // `forms[c]`: the form of character c.
    explicit StoredForms(const std::array<std::string, 256>& forms, VectorPath path = vectorPath());

    VectorPath path() const { return path_; }

    // Writes the forms of one stored entry's text (decodeEntry's rule: `entryLength`
    // bytes of which the first `available` are in `bytes`) in one pass; `scratch` has
    // room for entryLength characters.
    char* writeEntry(char* out, const unsigned char* bytes, std::size_t available,
                     std::size_t entryLength, char* scratch) const;

private:
    // The forms of `count` characters `stride` bytes apart: stored bytes (stride 2) or
    // characters (stride 1).
    char* writeForms(char* out, const unsigned char* codes, std::size_t count,
                     std::size_t stride) const;

    VectorPath path_;
    // Each form as four bytes, the first lowest, zeros after it, and its length: by
    // stored byte (the first 256) and by character (the next 256); and by character as
    // the vector step takes them (slotForm, Avx2Forms).
    std::array<std::uint32_t, 512> forms_{};
    std::array<unsigned char, 512> lengths_{};
    std::array<std::uint32_t, 256> slots_{};
    unsigned char plainRows_[2][16] = {};
};

} // namespace edt
