// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tests/translate/translation_files.h"
#include "translate/po.h"
#include "translate/translation.h"

namespace edt::translate::po {
namespace {

TEST(Po, WrittenMessagesReadBackWithTheLinesOfTheirMsgid) {
    std::vector<std::string> texts;
    for (char32_t c = 1; c < 0xA0; c += 7) { // controls, ASCII and the C1 range
        std::string text = "x";
        const char32_t cp = c;
        if (cp < 0x80) {
            text += static_cast<char>(cp);
        } else {
            text += static_cast<char>(0xC0 | (cp >> 6));
            text += static_cast<char>(0x80 | (cp & 0x3F));
        }
        texts.push_back(text);
    }
    for (const std::string& tricky : {std::string("a\r\nb\rc\nd"), std::string("\"\\,\n"),
                                      std::string(""), std::string("\nmsgid \"x\"")})
        texts.push_back(tricky);

    Writer writer(Header{{"Content-Type", "text/plain; charset=UTF-8"}});
    for (std::size_t i = 0; i < texts.size(); ++i)
        writer.add(std::to_string(i), texts[i], "at most 9 characters");
    std::string content;
    ASSERT_TRUE(writer.render(content).ok());

    Catalog catalog;
    std::vector<Problem> problems;
    ASSERT_TRUE(read(content, catalog, problems).ok());
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(catalog.charset, "UTF-8");
    ASSERT_EQ(catalog.messages.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Message& m = catalog.messages[i];
        EXPECT_EQ(m.context, std::to_string(i));
        EXPECT_EQ(m.msgid, texts[i]);
        EXPECT_EQ(m.msgstr, "");
        EXPECT_EQ(test::lineOf(content, m.line).rfind("msgid ", 0), 0u) << m.line;
        EXPECT_EQ(test::lineOf(content, m.line - 1), "msgctxt \"" + std::to_string(i) + "\"");
        EXPECT_EQ(test::lineOf(content, m.line - 2), "#. at most 9 characters");
    }
}

TEST(Po, ReadsWhatTranslationToolsWrite) {
    const std::string content = "# translator's comment\n"
                                "msgid \"\"\n"
                                "msgstr \"\"\n"
                                "\"Content-Type: text/plain; charset=utf-8\\n\"\n"
                                "\n"
                                "#, fuzzy\n"
                                "#| msgctxt \"0000001\"\n"
                                "#| msgid \"old\"\n"
                                "msgctxt \"0000001\"\n"
                                "msgid \"new\"\n"
                                "msgstr \"neu\"\n"
                                "\n"
                                "#~ msgctxt \"0000481\"\n"
                                "#~ msgid \"gone\"\n"
                                "#~ msgstr \"weg\"\n"
                                "\n"
                                "msgctxt \"0000961\"\n"
                                "msgid \"\"\n"
                                "\"two\\r\\n\"\n"
                                "\"lines\"\n"
                                "msgstr \"\"\n"
                                "\"zwei\\r\\n\"\n"
                                "\"Zeilen\"\n"
                                "\n"
                                "msgid \"one\"\n"
                                "msgid_plural \"many\"\n"
                                "msgstr[0] \"eins\"\n"
                                "msgstr[1] \"viele\"\n";
    Catalog catalog;
    std::vector<Problem> problems;
    ASSERT_TRUE(read(content, catalog, problems).ok());
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(catalog.charset, "utf-8");
    ASSERT_EQ(catalog.messages.size(), 3u); // no header, no obsolete message
    EXPECT_TRUE(catalog.messages[0].fuzzy);
    EXPECT_EQ(catalog.messages[0].line, 10u);
    EXPECT_EQ(catalog.messages[0].msgstr, "neu");
    EXPECT_EQ(catalog.messages[1].line, 18u);
    EXPECT_EQ(catalog.messages[1].msgstr, "zwei\r\nZeilen");
    EXPECT_FALSE(catalog.messages[1].fuzzy);
    EXPECT_EQ(catalog.messages[2].line, 25u);
    EXPECT_TRUE(catalog.messages[2].hasPlural);
    EXPECT_FALSE(catalog.messages[2].context);
}

TEST(Po, SyntaxErrorsComeBackAsProblemsWithGettextsLine) {
    Catalog catalog;
    std::vector<Problem> problems;
    ASSERT_TRUE(read("msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"b\"\n\n"
                     "msgctxt \"2\"\nmsgid \"a\"\nmsgstr bogus\n",
                     catalog, problems)
                    .ok());
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].line, 7u);
    EXPECT_NE(problems[0].status.detail.find("bogus"), std::string::npos);
}

} // namespace
} // namespace edt::translate::po
