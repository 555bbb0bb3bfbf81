// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/translator_text.h"

#include "record/text_marks.h"
#include "record/utf8.h"

namespace edt::translate {

std::string toTranslatorText(std::string_view bytes, const CodePage& codePage) {
    const TextMarks marks = marksFor(codePage);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += '\n';
            ++i;
        } else if (b == '\r' || b == '\n') {
            appendUtf8(out, b == '\r' ? marks.loneCr : marks.loneLf);
        } else {
            out += codePage.utf8Of(b);
        }
    }
    return out;
}

Status fromTranslatorText(std::string_view utf8, const CodePage& codePage, std::string& bytes) {
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
            Status status = Status::error(StatusCode::BadUtf8);
            status.position = i + 1;
            return status;
        }
        if (cp == marks.loneCr || cp == marks.loneLf) {
            bytes += cp == marks.loneCr ? '\r' : '\n';
        } else if (const auto byte = codePage.fromUnicode(cp)) {
            bytes += static_cast<char>(*byte);
        } else {
            return codePage.notInCharacterSet(cp);
        }
    }
    return Status::success();
}

std::string shortView(std::string_view utf8, std::size_t most) {
    std::string out;
    std::size_t count = 0, i = 0;
    while (i < utf8.size() && count < most) {
        const std::size_t start = i;
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp))
            ++i;
        out += cp == '\n' ? std::string_view("\\n") : utf8.substr(start, i - start);
        ++count;
    }
    return i < utf8.size() ? out + "..." : out;
}

} // namespace edt::translate
