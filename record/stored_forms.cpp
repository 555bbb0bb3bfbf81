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

} // namespace

StoredForms::StoredForms(const std::array<std::string, 256>& forms, VectorPath path) : path_(path) {
    for (int c = 0; c < 256; ++c) {
        const std::uint32_t form = packed(forms[c]);
        const auto length = static_cast<unsigned char>(forms[c].size());
        forms_[256 + c] = form;
        lengths_[256 + c] = length;
        slots_[c] = slotForm(form, length);
        if (forms[c] == std::string(1, static_cast<char>(c)))
            plainRows_[c / 128][c % 16] |= static_cast<unsigned char>(1u << (c / 16 % 8));
    }
    for (int b = 0; b < 256; ++b) {
        forms_[b] = forms_[256 + decodeByte(static_cast<unsigned char>(b))];
        lengths_[b] = lengths_[256 + decodeByte(static_cast<unsigned char>(b))];
    }
}

// Writes each form as four bytes and moves on by its length; the bytes past it are
// overwritten next or lie past the end.
char* StoredForms::writeForms(char* out, const unsigned char* codes, std::size_t count,
                              std::size_t stride) const {
    const std::size_t table = stride == 1 ? 256 : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t code = table + codes[i * stride];
        std::memcpy(out, &forms_[code], 4);
        out += lengths_[code];
    }
    return out;
}

char* StoredForms::writeEntry(char* out, const unsigned char* bytes, std::size_t available,
                              std::size_t entryLength, char* scratch) const {
    const std::size_t present = available < entryLength ? available : entryLength;
    // Texts are nearly always stored as regular pairs, and cannot end inside the run.
    std::size_t run = 0;
    if (path_ == VectorPath::Avx2) {
        const Avx2Forms tables{forms_.data() + 256, lengths_.data() + 256, slots_.data(),
                               plainRows_};
        out = writeRunAvx2(out, bytes, present, run, tables);
    }
    const std::size_t more = regularPairRun(bytes + run, present - run);
    out = writeForms(out, bytes + run, more / 2, 2);
    run += more;
    if (zeroPairAt(bytes, present, run))
        return out;
    // The rest, from a zero balance: decoded by the exact rule.
    const std::size_t rest = decodeEntryTo(bytes + run, available > run ? available - run : 0,
                                           entryLength - run, scratch);
    return writeForms(out, reinterpret_cast<const unsigned char*>(scratch), rest, 1);
}

} // namespace edt
