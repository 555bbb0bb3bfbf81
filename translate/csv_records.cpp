// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/csv_records.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "record/shown_text.h"
#include "record/utf8.h"
#include "translate/csv.h"
#include "translate/translation.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace edt::translate {
namespace {

std::string utf8Of(char32_t codePoint) {
    std::string out;
    appendUtf8(out, codePoint);
    return out;
}

// Each character's UTF-8 form, a quote doubled (whichever byte stands for it in the
// code page): a field that holds one is quoted. CR and LF are the editor's marks for
// lone ones; a CR LF becomes a line feed afterwards (CsvRecords::joinLineBreaks).
std::array<std::string, 256> formsOf(const CodePage& codePage) {
    std::array<std::string, 256> forms;
    for (int c = 0; c < 256; ++c) {
        forms[c] = std::string(codePage.utf8Of(static_cast<unsigned char>(c)));
        if (forms[c] == "\"")
            forms[c] += '"';
    }
    const TextMarks marks = marksFor(codePage);
    forms['\r'] = utf8Of(marks.loneCr);
    forms['\n'] = utf8Of(marks.loneLf);
    forms[0] = std::string(1, '\0'); // no text holds it
    return forms;
}

std::string headerOf(const CodePage& codePage) {
    std::string header = "key,max,";
    csv::appendField(header, sourceColumn(codePage.name()));
    header += ",text";
    header += csv::kRecordEnd;
    return header;
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
    : forms_(formsOf(codePage), path), header_(headerOf(codePage)) {
    const TextMarks marks = marksFor(codePage);
    crLfForms_ = utf8Of(marks.loneCr) + utf8Of(marks.loneLf);
}

std::size_t CsvRecords::room(std::size_t entryLength) {
    // A key of up to 20 digits and a limit of up to 11, three commas, two fields with
    // their quotes, CR LF.
    return 39 + 2 * StoredForms::kMaxForm * entryLength + StoredForms::kSlack;
}

char* CsvRecords::joinLineBreaks(char* field, char* end) const {
    // The marks are characters the code page lacks: side by side, they come from a CR
    // LF. Searched by their second byte, which other characters seldom have (their first
    // is that of most symbols).
    const std::size_t size = crLfForms_.size();
    const char key = crLfForms_[1];
    char* to = nullptr; // where the rest moves to, once a line break is joined
    char* from = field; // the rest
    char* scan = field + 1;
    while (scan < end) {
        char* hit =
            static_cast<char*>(std::memchr(scan, key, static_cast<std::size_t>(end - scan)));
        if (hit == nullptr)
            break;
        char* const start = hit - 1;
        if (static_cast<std::size_t>(end - start) < size ||
            std::memcmp(start, crLfForms_.data(), size) != 0) {
            scan = hit + 1;
            continue;
        }
        if (to == nullptr) {
            to = start;
        } else {
            std::memmove(to, from, static_cast<std::size_t>(start - from));
            to += start - from;
        }
        *to++ = '\n';
        from = start + size;
        scan = from + 1;
    }
    if (to == nullptr)
        return end;
    std::memmove(to, from, static_cast<std::size_t>(end - from));
    return to + (end - from);
}

char* CsvRecords::write(char* out, RecordKey key, int max, const unsigned char* bytes,
                        std::size_t available, std::size_t entryLength, char* scratch) const {
    out = writeKey(out, key);
    *out++ = ',';
    const std::string limit = std::to_string(max);
    out = std::copy(limit.begin(), limit.end(), out);
    *out++ = ',';
    char* const field = out;
    out = forms_.writeEntry(out, bytes, available, entryLength, scratch);
    out = closeField(field, joinLineBreaks(field, out));
    const std::size_t fieldSize = static_cast<std::size_t>(out - field);
    *out++ = ',';
    std::memcpy(out, field, fieldSize);
    out += fieldSize;
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

} // namespace edt::translate
