// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows-1252 table: bytes -> UTF-8 -> bytes, and UTF-8 -> bytes -> UTF-8.
#include "fuzz/fuzz_support.h"
#include "record/charset.h"
#include "record/message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    namespace charset = edt::charset;

    // Every byte string survives the trip through UTF-8.
    std::string bytes;
    FUZZ_CHECK(charset::fromUtf8(charset::toUtf8(input), bytes).ok());
    FUZZ_CHECK(bytes == input);

    // Any input taken as UTF-8: either refused with a message, or it comes back as it
    // was (so nothing is silently changed on the way into a file).
    const edt::Status status = charset::fromUtf8(input, bytes);
    if (status.ok()) {
        FUZZ_CHECK(bytes.size() <= input.size());
        FUZZ_CHECK(charset::toUtf8(bytes) == input);
    } else {
        FUZZ_CHECK(status.code == edt::StatusCode::BadUtf8 ||
                   status.code == edt::StatusCode::NotInCharacterSet);
        FUZZ_CHECK(!edt::describe(status).empty());
    }

    // Naming any code point in a message is safe.
    edt::fuzz::ByteStream stream(data, size);
    const auto codePoint = static_cast<char32_t>(stream.u64() & 0xFFFFFFFF);
    FUZZ_CHECK(!edt::describeCharacter(codePoint).empty());
    if (const auto byte = charset::fromUnicode(codePoint))
        FUZZ_CHECK(charset::toUnicode(*byte) == codePoint);
    return 0;
}
