// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/escape.h"

#include <array>
#include <cstring>

#include "record/charset.h"
#include "record/utf8.h"

namespace edt::cli {
namespace {

bool needsHexEscape(unsigned char b) {
    return b < 32 || b == 127 || charset::isUndefined(b);
}

// The escaped form of each byte, computed once: listing a large file escapes every
// byte. Bytes 32-126 other than the backslash stand for themselves. Eight bytes per
// entry, so that escaping a character is one load and one store, with no branch.
struct EscapedByte {
    char bytes[7];
    unsigned char length;
};
static_assert(sizeof(EscapedByte) == 8 && kMaxEscapedChar <= 7);

const std::array<EscapedByte, 256>& escapeTable() {
    static const std::array<EscapedByte, 256> table = [] {
        std::array<EscapedByte, 256> t{};
        static const char hex[] = "0123456789abcdef";
        for (int b = 0; b < 256; ++b) {
            const auto byte = static_cast<unsigned char>(b);
            std::string s;
            if (byte == '\\')
                s = "\\\\";
            else if (byte == '\r')
                s = "\\r";
            else if (byte == '\n')
                s = "\\n";
            else if (byte == '\t')
                s = "\\t";
            else if (needsHexEscape(byte))
                s = std::string("\\x") + hex[byte >> 4] + hex[byte & 15];
            else
                appendUtf8(s, charset::toUnicode(byte));
            s.copy(t[b].bytes, sizeof t[b].bytes);
            t[b].length = static_cast<unsigned char>(s.size());
        }
        return t;
    }();
    return table;
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

char* escapeInto(char* out, std::string_view text) {
    const auto& table = escapeTable();
    for (const char c : text) {
        const EscapedByte& e = table[static_cast<unsigned char>(c)];
        std::memcpy(out, &e, sizeof e); // the bytes past e.length are overwritten next
        out += e.length;
    }
    return out;
}

void appendEscaped(std::string& out, std::string_view text) {
    const std::size_t used = out.size();
    out.resize(used + kMaxEscapedChar * text.size() + kEscapeSlack);
    out.resize(static_cast<std::size_t>(escapeInto(out.data() + used, text) - out.data()));
}

std::string escape(std::string_view text) {
    std::string out;
    appendEscaped(out, text);
    return out;
}

Status unescape(std::string_view escaped, std::string& text) {
    text.clear();
    std::string plain; // a run of UTF-8 between escapes
    auto flush = [&]() -> Status {
        std::string bytes;
        Status status = charset::fromUtf8(plain, bytes);
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

} // namespace edt::cli
