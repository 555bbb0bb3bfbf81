// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/code_page.h"
#include "record/message.h"
#include "record/text_codec.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"

namespace edt {
namespace {

class EveryCodePage : public testing::TestWithParam<const char*> {};

// Every byte 1..254 stands for one character of its own and comes back, alone and in
// a text through UTF-8; code 255 is refused by the name it has in the code page.
TEST_P(EveryCodePage, EveryByteComesBackAndCode255IsNamed) {
    const CodePage& page = test::codePage(GetParam());
    std::string all;
    for (int b = 1; b < 255; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        ASSERT_EQ(page.fromUnicode(page.toUnicode(byte)), byte) << "byte " << b;
        all += static_cast<char>(b);
    }
    std::string back;
    ASSERT_TRUE(page.fromUtf8(page.toUtf8(all), back).ok());
    EXPECT_EQ(back, all);
    const std::string refused = describe(checkStorable("ab\xFF", page));
    EXPECT_TRUE(test::says(refused, describeCharacter(page.toUnicode(255)) +
                                        " (character 3 of the text) "
                                        "cannot be stored in an EDT file: its code in " +
                                        page.name() + " is 255"));
}

INSTANTIATE_TEST_SUITE_P(Named, EveryCodePage, testing::ValuesIn(test::requiredCodePages()),
                         [](const auto& info) { return test::paramName(info.param, info.index); });

TEST(CodePage, KnowsItsLettersAndItsUndefinedBytes) {
    const struct {
        const char* name;
        unsigned char byte;
        char32_t character;
    } rows[] = {{"cp1251", 0xFF, U'я'},      {"windows-1250", 0xFF, U'˙'}, {"1252", 0xFF, U'ÿ'},
                {"1252", 0x80, U'€'},        {"1252", 0x81, 0x81},         {"866", 0xEF, U'я'},
                {"koi8-r", 0xF1, U'Я'},      {"iso8859-2", 0xB1, U'ą'},    {"1253", 0xAA, 0xF7AA},
                {"WINDOWS-874", 0xA1, U'ก'}, {"1258", 0xCC, 0x0300}};
    for (const auto& row : rows)
        EXPECT_EQ(test::codePage(row.name).toUnicode(row.byte), row.character) << row.name;
}

TEST(CodePage, NamesAreTakenInEveryUsualFormAndOthersAreRefused) {
    constexpr StatusCode kOk = StatusCode::Ok, kMulti = StatusCode::MultiByteCodePage;
    const struct {
        const char *given, *name;
        StatusCode code;
    } rows[] = {{"1251", "Windows-1251", kOk},
                {"cp1251", "Windows-1251", kOk},
                {"Windows-1251", "Windows-1251", kOk},
                {"874", "Windows-874", kOk},
                {"ibm866", "CP866", kOk},
                {"CP437", "CP437", kOk},
                {"koi8r", "KOI8-R", kOk},
                {"iso_8859-15", "ISO-8859-15", kOk},
                {"932", "", kMulti},
                {"UTF-8", "", kMulti},
                {"cp936", "", kMulti},
                {"klingon", "", StatusCode::UnknownCodePage}};
    for (const auto& row : rows) {
        const CodePage* page = nullptr;
        const Status status = CodePage::named(row.given, page);
        EXPECT_EQ(status.code, row.code) << row.given;
        EXPECT_TRUE(status.ok() ? page->name() == row.name
                                : describe(status).find(row.given) != std::string::npos);
    }
    const std::vector<std::string> offered = CodePage::available();
    for (const char* name : test::requiredCodePages())
        EXPECT_NE(std::find(offered.begin(), offered.end(), test::codePage(name).name()),
                  offered.end())
            << name;
    EXPECT_EQ(offered.front(), "Windows-874");
}

TEST(CodePage, TheLocalesLanguageGivesTheDefault) {
    // clang-format off
    const struct {
        const char *all, *ctype, *lang, *name;
    } rows[] = {{nullptr, nullptr, "pl_PL.UTF-8", "Windows-1250"},
                {"", "ru_RU.UTF-8", "de_DE", "Windows-1251"}, {"el_GR", "ru", 0, "Windows-1253"},
                {0, 0, "tr_TR", "Windows-1254"},  {0, 0, "he_IL", "Windows-1255"},
                {0, 0, "fa_IR", "Windows-1256"},  {0, 0, "lt_LT", "Windows-1257"},
                {0, 0, "vi_VN", "Windows-1258"},  {0, 0, "th_TH.UTF-8", "Windows-874"},
                {0, "sr_RS@latin", 0, "Windows-1250"}, {0, 0, "sr_RS.UTF-8@latin", "Windows-1250"},
                {0, 0, "sr@cyrillic", "Windows-1251"}, {0, 0, "sr", "Windows-1251"},
                {0, 0, "sr_Latn", "Windows-1250"},     {0, 0, "uz-Cyrl-UZ", "Windows-1251"},
                {0, 0, "uz@cyrillic", "Windows-1251"}, {0, 0, "uz@latin", "Windows-1252"},
                {0, 0, "uz", "Windows-1252"},          {0, 0, "bs@cyrillic", "Windows-1251"},
                {0, 0, "de_DE.UTF-8", "Windows-1252"},
                {"C", 0, "pl_PL", "Windows-1252"}, {0, 0, "POSIX", "Windows-1252"},
                {0, 0, 0, "Windows-1252"}};
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(localeCodePageName(row.all, row.ctype, row.lang), row.name)
            << (row.lang ? row.lang : "-");
}

} // namespace
} // namespace edt
