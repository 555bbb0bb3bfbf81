// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/charset.h"
#include "record/message.h"

namespace edt {
namespace {

TEST(Charset, EveryByteRoundTripsThroughUnicode) {
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = charset::toUnicode(static_cast<unsigned char>(b));
        const auto back = charset::fromUnicode(cp);
        ASSERT_TRUE(back.has_value()) << "byte " << b;
        EXPECT_EQ(*back, b);
    }
}

TEST(Charset, WindowsCharactersAndUndefinedBytes) {
    EXPECT_EQ(charset::toUnicode(0x80), U'\u20AC'); // euro sign
    EXPECT_EQ(charset::toUnicode(0x9F), U'\u0178');
    EXPECT_EQ(charset::toUnicode(0xE9), U'\u00E9');
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(charset::toUnicode(static_cast<unsigned char>(b)), static_cast<char32_t>(b));
    // Latin-1's meaning of 0x80 is not Windows-1252's.
    EXPECT_FALSE(charset::fromUnicode(0x80).has_value());
    EXPECT_FALSE(charset::fromUnicode(0x4E2D).has_value());
}

TEST(Charset, Utf8ConversionBothWays) {
    const std::string bytes = "caf\xE9 \x80 \x81";
    const std::string utf8 = charset::toUtf8(bytes);
    EXPECT_EQ(utf8, "caf\xC3\xA9 \xE2\x82\xAC \xC2\x81");
    std::string back;
    ASSERT_TRUE(charset::fromUtf8(utf8, back).ok());
    EXPECT_EQ(back, bytes);
}

TEST(Charset, RefusesWhatItCannotHoldAndNamesIt) {
    std::string bytes;
    Status status = charset::fromUtf8("ab\xE4\xB8\xAD", bytes); // U+4E2D
    EXPECT_EQ(status.code, StatusCode::NotInCharacterSet);
    EXPECT_NE(describe(status).find("U+4E2D"), std::string::npos) << describe(status);

    for (const std::string bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xFF", "a\x80"}) {
        EXPECT_FALSE(charset::fromUtf8(bad, bytes).ok()) << "accepted malformed UTF-8";
    }
}

} // namespace
} // namespace edt
