// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/charset.h"

#include <array>

#include "record/utf8.h"

namespace edt::charset {
namespace {

// 0x80-0x9F of Windows-1252; the undefined five keep their own number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

char32_t toUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> fromUnicode(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

bool isUndefined(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F && toUnicode(byte) == byte;
}

std::string toUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes)
        appendUtf8(out, toUnicode(b));
    return out;
}

Status notInCharacterSet(char32_t codePoint) {
    Status status = Status::error(StatusCode::NotInCharacterSet);
    status.character = codePoint;
    status.detail = "Windows-1252";
    return status;
}

Status fromUtf8(std::string_view utf8, std::string& bytes) {
    bytes.clear();
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp)) {
            Status status = Status::error(StatusCode::BadUtf8);
            status.position = i + 1;
            return status;
        }
        const auto byte = fromUnicode(cp);
        if (!byte)
            return notInCharacterSet(cp);
        bytes += static_cast<char>(*byte);
    }
    return Status::success();
}

} // namespace edt::charset
