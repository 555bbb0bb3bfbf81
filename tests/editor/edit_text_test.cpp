// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "editor/edit_text.h"
#include "record/message.h"
#include "record/shown_text.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"

namespace edt {
namespace {

std::string back(std::u16string_view text, const CodePage& codePage = test::codePage()) {
    std::string bytes;
    const Status status = storedFromUtf16(text, codePage, bytes);
    EXPECT_TRUE(status.ok()) << describe(status);
    return bytes;
}

TEST(RowText, KeyInBracketsBlankThenText) {
    EXPECT_EQ(rowText({641, "Hi!"}, test::codePage()), u"[0000641] Hi!");
    EXPECT_EQ(rowText({641, ""}, test::codePage()), u"[0000641] ");
    EXPECT_EQ(rowText({1, "  two blanks"}, test::codePage()), u"[0000001]   two blanks");
    EXPECT_EQ(rowText({15999841, "x"}, test::codePage()), u"[15999841] x");
}

TEST(RowText, ShowsWindows1252AndMarksLineBreaks) {
    EXPECT_EQ(rowText({1, "\x80 caf\xE9 \xA0."}, test::codePage()), u"[0000001] € café \u00A0.");
    EXPECT_EQ(rowText({1, "a\r\nb"}, test::codePage()), u"[0000001] a\u21B5b");
    EXPECT_EQ(rowText({1, "a\rb\nc"}, test::codePage()), u"[0000001] a\u2190b\u2193c");
    EXPECT_EQ(rowText({1, "\n\r"}, test::codePage()), u"[0000001] \u2193\u2190");
}

class EveryCodePage : public testing::TestWithParam<const char*> {};

TEST_P(EveryCodePage, EveryByteAloneAndWithItsNeighboursRoundTripsInBothLineBreakForms) {
    const CodePage& page = test::codePage(GetParam());
    std::string all;
    for (int c = 1; c <= 255; ++c)
        all += static_cast<char>(c);
    for (const std::u16string_view lineBreak : {u"\n", u"\r\n"}) {
        for (int c = 1; c <= 255; ++c) {
            const std::string text(1, static_cast<char>(c));
            EXPECT_EQ(back(shownUtf16(text, page, lineBreak), page), text) << "byte " << c;
        }
        for (const std::string& text : {all, std::string("\r\r\n\n\r\r\n")})
            EXPECT_EQ(back(shownUtf16(text, page, lineBreak), page), text);
    }
    EXPECT_EQ(rowText({1, all}, page).find_first_of(u"\r\n"), std::u16string::npos);
}

INSTANTIATE_TEST_SUITE_P(Named, EveryCodePage, testing::ValuesIn(test::requiredCodePages()),
                         [](const auto& info) { return test::paramName(info.param, info.index); });

TEST(EditText, EveryLineBreakATextBoxMakesIsCrLfAndCountsTwo) {
    // Qt's paragraph and line separators and "\n"; the Windows edit control's "\r\n",
    // and a lone CR or LF pasted into it.
    for (const std::u16string_view text :
         {u"ab\u2029c\u2028d", u"ab\nc\nd", u"ab\r\nc\r\nd", u"ab\rc\nd", u"ab\r\nc\rd"}) {
        EXPECT_EQ(back(text), "ab\r\nc\r\nd");
        EXPECT_EQ(editTextLength(text), 8);
    }
    EXPECT_EQ(back(u"x\u2190y\u2193z"), "x\ry\nz"); // the marks typed by the user
}

TEST(EditText, RefusesCharactersTheCodePageLacksByName) {
    for (const auto& [text, named] :
         {std::pair{u"Greek \u03A9 here", "U+03A9"}, std::pair{u"\U0001F600", "U+1F600"}}) {
        std::string bytes = "old";
        const Status status = storedFromUtf16(text, test::codePage(), bytes);
        EXPECT_EQ(status.code, StatusCode::NotInCharacterSet);
        EXPECT_TRUE(bytes.empty());
        EXPECT_TRUE(test::says(status, named));
        EXPECT_TRUE(test::says(status, "Windows-1252"));
    }
}

TEST(EditText, CountsEveryCharacterOnceButLineBreaksTwice) {
    EXPECT_EQ(editTextLength(u""), 0);
    EXPECT_EQ(editTextLength(u"Hi!"), 3);
    EXPECT_EQ(editTextLength(u"\u2190\u2193"), 2);
    EXPECT_EQ(editTextLength(u"\U0001F600"), 1);
    EXPECT_EQ(editTextLength(u"\u03A9"), 1);
}

} // namespace
} // namespace edt
