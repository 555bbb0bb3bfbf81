#include "cli/escape.h"

#include <array>

#include "record/charset.h"

namespace edt::cli {
namespace {

bool needsHexEscape(unsigned char b) {
    return b < 32 || b == 127 || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// One output string per byte, computed once: listing a large file escapes every byte.
const std::array<std::string, 256>& escapeTable() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        static const char hex[] = "0123456789abcdef";
        for (int b = 0; b < 256; ++b) {
            const auto byte = static_cast<unsigned char>(b);
            std::string& s = t[b];
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
                charset::appendUtf8(s, charset::toUnicode(byte));
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

void appendEscaped(std::string& out, std::string_view text) {
    const auto& table = escapeTable();
    for (unsigned char b : text) {
        if (b >= 32 && b < 127 && b != '\\')
            out += static_cast<char>(b);
        else
            out += table[b];
    }
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
                return Status::error(StatusCode::UnstorableCharacter,
                                     "The escape \\x at character " + std::to_string(i + 1) +
                                         " needs two hexadecimal digits.");
            }
            text += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return Status::error(StatusCode::UnstorableCharacter,
                                 "Unknown escape at character " + std::to_string(i + 1) +
                                     " (use \\\\ \\r \\n \\t or \\xHH).");
        }
        ++i;
    }
    return flush();
}

} // namespace edt::cli
