// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "record/reader.h"
#include "record/shown_text.h"
#include "tests/translate/translation_files.h"
#include "tools/sample_files.h"
#include "translate/export.h"
#include "translate/translator_text.h"

namespace edt::translate {
namespace {

// Every text of every code page leaves through an export and comes back, as the text
// and as its original, byte for byte: every byte 1..254 (undefined ones and the
// stand-ins, where a code page has them, among them), lone CR and LF, CR LF.
class TranslatorText : public testing::TestWithParam<const char*> {};

TEST_P(TranslatorText, EveryTextComesBackByteExactThroughCsvAndPo) {
    const CodePage& page = test::codePage(GetParam());
    std::vector<std::string> texts = test::trickyTexts();
    std::string everyByte;
    for (int b = 1; b < 255; ++b)
        everyByte += static_cast<char>(b);
    texts.insert(texts.end(), {everyByte, "\r", "\n", "\r\n", "\n\r", "\r\r\n\n", "a\r\nb\nc\rd"});
    test::TempDir dir;
    const std::string path = dir.file("files.edt");
    test::writeBytes(path, samples::makeImage(kindForFileName("files.edt"), texts));
    const ReadResult file = readFile(path, kindForPath("files.edt"));
    for (const TranslationFormat format : {TranslationFormat::Csv, TranslationFormat::Po}) {
        std::string content;
        ASSERT_TRUE(exportTexts(file, "files.edt", format, page, content).ok());
        if (format == TranslationFormat::Po) { // gettext's tools warn of the \r escape
            EXPECT_EQ(content.find("\\r"), std::string::npos);
        }
        Translation translation;
        ASSERT_TRUE(parseTranslation(content, format, translation).ok());
        ASSERT_TRUE(translation.problems.empty()) << translation.problems[0].status.detail;
        EXPECT_EQ(translation.codePage, page.name());
        ASSERT_EQ(translation.items.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const TranslationItem& item = translation.items[i];
            std::string text, source;
            ASSERT_TRUE(storedFromUtf8(item.text, page, text).ok());
            ASSERT_TRUE(storedFromUtf8(item.source.value_or(""), page, source).ok());
            EXPECT_EQ(source, texts[i]) << i;
            EXPECT_EQ(text, format == TranslationFormat::Po ? "" : texts[i]) << i; // PO: msgstr
        }
    }
    // A line break a translator types, or version 1.0.1's CR LF, is CR LF.
    std::string bytes;
    ASSERT_TRUE(storedFromUtf8("a\r\nb\nc", page, bytes).ok());
    EXPECT_EQ(bytes, "a\r\nb\r\nc");
}

INSTANTIATE_TEST_SUITE_P(Named, TranslatorText, testing::ValuesIn(test::requiredCodePages()),
                         [](const auto& info) { return test::paramName(info.param, info.index); });

} // namespace
} // namespace edt::translate
