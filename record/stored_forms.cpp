// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/stored_forms.h"

#include <cassert>
#include <cstring>

#include "record/stored_forms_avx2.h"
#include "record/text_codec.h"

namespace edt {
namespace {

std::uint32_t packed(const std::string& form) {
    assert(!form.empty() && form.size() <= StoredForms::kMaxForm);
    std::uint32_t value = 0;
    for (std::size_t k = form.size(); k-- > 0;) // little-endian: the first byte lowest
        value = value << 8 | static_cast<unsigned char>(form[k]);
    return value;
}

// Writes each form as four bytes and moves on by its length; the bytes past it are
// overwritten next or lie past the end.
char* writeForms(char* out, const std::uint32_t* forms, const unsigned char* lengths,
                 const unsigned char* codes, std::size_t count, std::size_t stride) {
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char code = codes[i * stride];
        std::memcpy(out, &forms[code], 4);
        out += lengths[code];
    }
    return out;
}

} // namespace

StoredForms::StoredForms(const std::array<std::string, 256>& forms, VectorPath path) : path_(path) {
    for (int b = 0; b < 256; ++b) {
        const unsigned char c = decodeByte(static_cast<unsigned char>(b));
        byStored_[b] = packed(forms[c]);
        lengthByStored_[b] = static_cast<unsigned char>(forms[c].size());
        slotsByStored_[b] = slotForm(byStored_[b], forms[c].size());
        byChar_[b] = packed(forms[b]);
        lengthByChar_[b] = static_cast<unsigned char>(forms[b].size());
    }
}

char* StoredForms::writeRun(char* out, const unsigned char* pairs, std::size_t run) const {
    std::size_t done = 0; // characters
    if (path_ == VectorPath::Avx2) {
        done = run / 16 * 8; // whole steps of eight characters
        out = writeFormsAvx2(out, pairs, done, slotsByStored_.data());
    }
    return writeForms(out, byStored_.data(), lengthByStored_.data(), pairs + 2 * done,
                      run / 2 - done, 2);
}

char* StoredForms::writeText(char* out, std::string_view text) const {
    return writeForms(out, byChar_.data(), lengthByChar_.data(),
                      reinterpret_cast<const unsigned char*>(text.data()), text.size(), 1);
}

char* StoredForms::writeEntry(char* out, const unsigned char* bytes, std::size_t available,
                              std::size_t entryLength, char* scratch) const {
    const std::size_t present = available < entryLength ? available : entryLength;
    // Texts are nearly always stored as regular pairs, and cannot end inside the run.
    const std::size_t run = regularPairRun(bytes, present);
    out = writeRun(out, bytes, run);
    if (zeroPairAt(bytes, present, run))
        return out;
    // The rest, from a zero balance: decoded by the exact rule.
    const std::size_t rest = decodeEntryTo(bytes + run, available > run ? available - run : 0,
                                           entryLength - run, scratch);
    return writeText(out, std::string_view(scratch, rest));
}

} // namespace edt
