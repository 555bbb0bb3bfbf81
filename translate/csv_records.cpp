// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/csv_records.h"

#include <array>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace edt::translate {
namespace {

// Each character's UTF-8 form, a quote doubled (whichever byte stands for it in the
// code page): a field that holds one is quoted.
std::array<std::string, 256> formsOf(const CodePage& codePage) {
    std::array<std::string, 256> forms;
    for (int c = 0; c < 256; ++c) {
        forms[c] = std::string(codePage.utf8Of(static_cast<unsigned char>(c)));
        if (forms[c] == "\"")
            forms[c] += '"';
    }
    forms[0] = std::string(1, '\0'); // no text holds it
    return forms;
}

bool needsQuotes(char c) {
    return c == ',' || c == '"' || c == '\r' || c == '\n';
}

// Whether the UTF-8 text [from, to) holds a comma, a quote or a line break (no byte of
// a longer UTF-8 character is one of those).
bool holdsSpecial(const char* from, const char* to) {
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(','), quote = _mm_set1_epi8('"');
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    __m128i seen = _mm_setzero_si128();
    for (; to - from >= 16; from += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        seen = _mm_or_si128(
            seen, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, comma), _mm_cmpeq_epi8(v, quote)),
                               _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
    }
    if (_mm_movemask_epi8(seen) != 0)
        return true;
#endif
    for (; from < to; ++from) {
        if (needsQuotes(*from))
            return true;
    }
    return false;
}

// Quotes the field [field, end) when it needs it; returns its new end.
char* closeField(char* field, char* end) {
    if (!holdsSpecial(field, end))
        return end;
    std::memmove(field + 1, field, static_cast<std::size_t>(end - field));
    *field = '"';
    end[1] = '"';
    return end + 2;
}

} // namespace

CsvRecords::CsvRecords(const CodePage& codePage, VectorPath path)
    : forms_(formsOf(codePage), path) {}

std::size_t CsvRecords::room(std::size_t entryLength) {
    // A key of up to 20 digits, a comma, two quotes, CR LF.
    return 25 + StoredForms::kMaxForm * entryLength + StoredForms::kSlack;
}

char* CsvRecords::write(char* out, RecordKey key, const unsigned char* bytes, std::size_t available,
                        std::size_t entryLength, char* scratch) const {
    out = writeKey(out, key);
    *out++ = ',';
    char* const field = out;
    out = closeField(field, forms_.writeEntry(out, bytes, available, entryLength, scratch));
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

char* CsvRecords::write(char* out, RecordKey key, std::string_view text) const {
    out = writeKey(out, key);
    *out++ = ',';
    char* const field = out;
    out = closeField(field, forms_.writeText(out, text));
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

} // namespace edt::translate
