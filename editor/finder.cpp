// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/finder.h"

#include <algorithm>

#include "platform/text_case.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace edt {

Finder::Finder(std::u16string_view query, const CodePage& codePage) : codePage_(codePage) {
    inTexts_ = !query.empty();
    for (const char16_t c : query) {
        const auto byte = codePage.fromUnicode(os::lowerCase(c));
        if (!byte || *byte == 0) {
            inTexts_ = false;
            break;
        }
        folded_ += static_cast<char>(codePage.folded(*byte));
    }
    for (int b = 1; inTexts_ && b < 256; ++b) {
        if (codePage.folded(static_cast<unsigned char>(b)) ==
            static_cast<unsigned char>(folded_[0]))
            starts_.push_back(static_cast<unsigned char>(b));
    }
    // A key as the list shows it: digits, in brackets or not.
    std::u16string_view key = query;
    if (key.size() >= 2 && key.front() == u'[' && key.back() == u']')
        key = key.substr(1, key.size() - 2);
    if (!key.empty() &&
        std::all_of(key.begin(), key.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        digits_.assign(key.begin(), key.end());
}

bool Finder::inText(std::string_view text) const {
    const std::size_t last = text.size() - folded_.size(); // text is at least as long
    const auto rest = [&](std::size_t at) {
        for (std::size_t k = 1; k < folded_.size(); ++k) {
            if (codePage_.folded(static_cast<unsigned char>(text[at + k])) !=
                static_cast<unsigned char>(folded_[k]))
                return false;
        }
        return true;
    };
    std::size_t at = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time against each byte that may start a match.
    if (starts_.size() <= 4) {
        for (; at + 16 <= text.size() && at <= last; at += 16) {
            const __m128i chunk =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
            __m128i hits = _mm_setzero_si128();
            for (const unsigned char start : starts_) {
                hits = _mm_or_si128(hits,
                                    _mm_cmpeq_epi8(chunk, _mm_set1_epi8(static_cast<char>(start))));
            }
            for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits)); mask != 0;
                 mask &= mask - 1) {
                const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(mask));
                if (candidate <= last && rest(candidate))
                    return true;
            }
        }
    }
#endif
    for (; at <= last; ++at) {
        if (codePage_.folded(static_cast<unsigned char>(text[at])) ==
                static_cast<unsigned char>(folded_[0]) &&
            rest(at))
            return true;
    }
    return false;
}

bool Finder::matches(const EntryLine& entry) const {
    if (inTexts_ && entry.text.size() >= folded_.size() && inText(entry.text))
        return true;
    if (digits_.empty())
        return false;
    char key[24];
    const char* end = writeKey(key, entry.key);
    return std::string_view(key, static_cast<std::size_t>(end - key)).find(digits_) !=
           std::string_view::npos;
}

} // namespace edt
