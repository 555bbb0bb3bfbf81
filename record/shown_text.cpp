// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/shown_text.h"

#include "record/utf8.h"

namespace edt {
namespace {

// Hands each character of `bytes` to `put` as a code point, and each CR LF to
// `lineBreak`.
template <typename Put, typename LineBreak>
void show(std::string_view bytes, const CodePage& codePage, Put put, LineBreak lineBreak) {
    const TextMarks marks = marksFor(codePage);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            lineBreak();
            ++i;
        } else if (b == '\r' || b == '\n') {
            put(b == '\r' ? marks.loneCr : marks.loneLf);
        } else {
            put(codePage.toUnicode(b));
        }
    }
}

// Appends the stored byte of one character that is not a line break.
Status store(char32_t cp, const CodePage& codePage, const TextMarks& marks, std::string& bytes) {
    if (cp == marks.loneCr || cp == marks.loneLf) {
        bytes += cp == marks.loneCr ? '\r' : '\n';
    } else if (const auto byte = codePage.fromUnicode(cp)) {
        bytes += static_cast<char>(*byte);
    } else {
        bytes.clear();
        return codePage.notInCharacterSet(cp);
    }
    return Status::success();
}

} // namespace

TextMarks marksFor(const CodePage& codePage) {
    const auto free = [&](char16_t mark, char16_t otherwise) {
        return codePage.fromUnicode(mark) ? otherwise : mark;
    };
    return {free(kLoneCrMark, u'\u240D'), free(kLoneLfMark, u'\u240A'),
            free(kLineBreakMark, u'\u23CE')};
}

std::u16string shownUtf16(std::string_view bytes, const CodePage& codePage,
                          std::u16string_view lineBreak) {
    std::u16string text;
    text.reserve(bytes.size() + 16);
    // Single-byte code pages lie in the BMP.
    show(
        bytes, codePage, [&](char32_t c) { text += static_cast<char16_t>(c); },
        [&] { text += lineBreak; });
    return text;
}

Status storedFromUtf16(std::u16string_view text, const CodePage& codePage, std::string& bytes) {
    const TextMarks marks = marksFor(codePage);
    bytes.clear();
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char16_t c = text[i++];
        if (c == u'\u2029' || c == u'\u2028' || c == u'\n' || c == u'\r') {
            if (c == u'\r' && i < text.size() && text[i] == u'\n')
                ++i;
            bytes += "\r\n";
            continue;
        }
        char32_t cp = c;
        if (c >= 0xD800 && c < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000)
            cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i++] - 0xDC00);
        Status status = store(cp, codePage, marks, bytes);
        if (!status.ok())
            return status;
    }
    return Status::success();
}

std::string shownUtf8(std::string_view bytes, const CodePage& codePage) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    show(
        bytes, codePage, [&](char32_t c) { appendUtf8(out, c); }, [&] { out += '\n'; });
    return out;
}

Status storedFromUtf8(std::string_view utf8, const CodePage& codePage, std::string& bytes) {
    const TextMarks marks = marksFor(codePage);
    bytes.clear();
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (utf8[i] == '\n' || (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) {
            i += utf8[i] == '\r' ? 2 : 1;
            bytes += "\r\n";
            continue;
        }
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp)) {
            bytes.clear();
            Status status = Status::error(StatusCode::BadUtf8);
            status.position = i + 1;
            return status;
        }
        Status status = store(cp, codePage, marks, bytes);
        if (!status.ok())
            return status;
    }
    return Status::success();
}

} // namespace edt
