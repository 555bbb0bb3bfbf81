// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/escaped_text.h"

#include <array>
#include <cstring>

#include "record/text_codec.h"

namespace edt {
namespace {

// Characters that must not reach a terminal as they are: C0 and C1 controls, and the
// stand-ins of bytes the code page leaves undefined.
bool needsHexEscape(const CodePage& codePage, unsigned char b) {
    const char32_t c = codePage.toUnicode(b);
    return c < 32 || (c >= 127 && c < 0xA0) || !codePage.isDefined(b);
}

std::string escapedText(const CodePage& codePage, unsigned char byte) {
    static const char hex[] = "0123456789abcdef";
    std::string s;
    if (byte == '\\')
        s = "\\\\";
    else if (byte == '\r')
        s = "\\r";
    else if (byte == '\n')
        s = "\\n";
    else if (byte == '\t')
        s = "\\t";
    else if (needsHexEscape(codePage, byte))
        s = std::string("\\x") + hex[byte >> 4] + hex[byte & 15];
    else
        s = codePage.utf8Of(byte);
    return s;
}

std::array<std::string, 256> formsOf(const CodePage& codePage) {
    std::array<std::string, 256> forms;
    for (int c = 0; c < 256; ++c)
        forms[c] = escapedText(codePage, static_cast<unsigned char>(c));
    return forms;
}

Escaper::Escaped escapedForm(const CodePage& codePage, unsigned char byte) {
    const std::string s = escapedText(codePage, byte);
    Escaper::Escaped e{};
    s.copy(e.bytes, sizeof e.bytes);
    e.length = static_cast<unsigned char>(s.size());
    return e;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

static_assert(sizeof(Escaper::Escaped) == 8 && Escaper::kMaxEscapedChar <= 7);

Escaper::Escaper(const CodePage& codePage, VectorPath path)
    : codePage_(codePage), storedForms_(formsOf(codePage), path) {
    for (int b = 0; b < 256; ++b)
        byChar_[b] = escapedForm(codePage, static_cast<unsigned char>(b));
}

char* Escaper::escapeInto(char* out, std::string_view text) const {
    for (const char c : text) {
        const Escaped& e = byChar_[static_cast<unsigned char>(c)];
        std::memcpy(out, &e, sizeof e); // the bytes past e.length are overwritten next
        out += e.length;
    }
    return out;
}

void Escaper::append(std::string& out, std::string_view text) const {
    const std::size_t used = out.size();
    out.resize(used + kMaxEscapedChar * text.size() + kSlack);
    out.resize(static_cast<std::size_t>(escapeInto(out.data() + used, text) - out.data()));
}

std::string Escaper::escape(std::string_view text) const {
    std::string out;
    append(out, text);
    return out;
}

Status Escaper::unescape(std::string_view escaped, std::string& text) const {
    text.clear();
    std::string plain; // a run of UTF-8 between escapes
    auto flush = [&]() -> Status {
        std::string bytes;
        Status status = codePage_.fromUtf8(plain, bytes);
        plain.clear();
        text += bytes;
        return status;
    };
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\') {
            plain += escaped[i];
            continue;
        }
        Status status = flush();
        if (!status.ok())
            return status;
        const char next = i + 1 < escaped.size() ? escaped[i + 1] : '\0';
        switch (next) {
        case '\\':
            text += '\\';
            break;
        case 'r':
            text += '\r';
            break;
        case 'n':
            text += '\n';
            break;
        case 't':
            text += '\t';
            break;
        case 'x': {
            const int high = i + 2 < escaped.size() ? hexValue(escaped[i + 2]) : -1;
            const int low = i + 3 < escaped.size() ? hexValue(escaped[i + 3]) : -1;
            if (high < 0 || low < 0) {
                Status bad = Status::error(StatusCode::BadHexEscape);
                bad.position = i + 1;
                return bad;
            }
            text += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: {
            Status bad = Status::error(StatusCode::BadEscape);
            bad.position = i + 1;
            return bad;
        }
        }
        ++i;
    }
    return flush();
}

} // namespace edt
