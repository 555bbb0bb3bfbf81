#include <gtest/gtest.h>

#include "cli/po.h"
#include "tests/translate/translate_support.h"

namespace edt::cli::po {
namespace {

using test::TempDir;

TEST(Po, WrittenMessagesReadBackWithTheLinesOfTheirMsgid) {
    TempDir dir;
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
    ASSERT_TRUE(writer.save(dir.file("a.po")).ok());

    Catalog catalog;
    std::vector<Problem> problems;
    ASSERT_TRUE(read(dir.file("a.po"), catalog, problems).ok());
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(catalog.charset, "UTF-8");
    ASSERT_EQ(catalog.messages.size(), texts.size());
    const std::string content = test::readBytes(dir.file("a.po"));
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
    TempDir dir;
    test::writeBytes(dir.file("t.po"), "# translator's comment\n"
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
                                       "msgstr[1] \"viele\"\n");
    Catalog catalog;
    std::vector<Problem> problems;
    ASSERT_TRUE(read(dir.file("t.po"), catalog, problems).ok());
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
    TempDir dir;
    test::writeBytes(dir.file("bad.po"), "msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"b\"\n\n"
                                         "msgctxt \"2\"\nmsgid \"a\"\nmsgstr bogus\n");
    Catalog catalog;
    std::vector<Problem> problems;
    ASSERT_TRUE(read(dir.file("bad.po"), catalog, problems).ok());
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].line, 7u);
    EXPECT_NE(problems[0].message.find("bogus"), std::string::npos);

    const Status missing = read(dir.file("missing.po"), catalog, problems);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message.find("No such file"), std::string::npos);
}

} // namespace
} // namespace edt::cli::po
