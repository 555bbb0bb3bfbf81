// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "translate/csv.h"
#include "translate/spreadsheet_forms.h"
#include "translate/translate_status.h"

namespace edt::translate::csv {
namespace {

TEST(CsvField, QuotedOnlyWhenNeededWithQuotesDoubled) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "plain text"}, {"", ""},
        {"a,b", "\"a,b\""},           {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"a\r\nb", "\"a\r\nb\""},     {"lone\r", "\"lone\r\""},
        {"lone\n", "\"lone\n\""},     {"caf\xC3\xA9", "caf\xC3\xA9"},
    };
    for (const auto& [field, expected] : cases) {
        std::string out;
        appendField(out, field);
        EXPECT_EQ(out, expected) << field;
    }
}

// What a spreadsheet makes of a source cell it does not keep as text, and what it
// does not: a changed original is stale, not reformatted.
TEST(CsvField, ASpreadsheetsRenderingOfTheOriginalIsToldFromAnotherText) {
    const struct {
        const char *original, *cell;
        bool reformatted;
    } rows[] = {
        {"0641", "641", true},        {"1.50", "1.5", true},        {"1,5", "1.5", true},
        {"10%", "10.00%", true},      {"10%", "0.1", true},         {"1e3", "1000", true},
        {"1.2.26", "01/02/26", true}, {"1.2.", "01.02.2026", true}, {"2026-02-01", "1/2/26", true},
        {"=A1", "key", true},         {"=1+", "Err:507", true},     {"0641", "0641", false},
        {"0641", "642", false},       {"10%", "20%", false},        {"1.2.26", "1/3/26", false},
        {"Hello", "Hallo", false},    {"A-12", "A-13", false},      {"12", "12 guards", false}};
    for (const auto& row : rows)
        EXPECT_EQ(looksReformatted(row.original, row.cell), row.reformatted)
            << row.original << " / " << row.cell;
}

struct ParseCase {
    std::string data;
    std::vector<Record> records;
};

TEST(CsvParse, RecordsFieldsAndTheirLines) {
    const ParseCase cases[] = {
        {"", {}},
        {"key,text\r\n1,a\r\n", {{1, {"key", "text"}}, {2, {"1", "a"}}}},
        {"a,b\n1,2", {{1, {"a", "b"}}, {2, {"1", "2"}}}}, // LF and no last break
        {"a\rb\r\nc", {{1, {"a"}}, {2, {"b"}}, {3, {"c"}}}},
        {"\xEF\xBB\xBFkey,text\r\n", {{1, {"key", "text"}}}},
        {"1,\"x\r\ny\rz\nw\"\r\n2,v\r\n", {{1, {"1", "x\r\ny\rz\nw"}}, {5, {"2", "v"}}}},
        {"1,\"he said \"\"no\"\", twice\"", {{1, {"1", "he said \"no\", twice"}}}},
        {",\r\n\r\n1,", {{1, {"", ""}}, {2, {""}}, {3, {"1", ""}}}},
        {"\"\",\"\"\"\"", {{1, {"", "\""}}}},
    };
    for (const ParseCase& c : cases) {
        std::vector<Problem> problems;
        const std::vector<Record> records = parse(c.data, problems);
        EXPECT_TRUE(problems.empty()) << c.data;
        ASSERT_EQ(records.size(), c.records.size()) << c.data;
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].line, c.records[i].line) << c.data;
            EXPECT_EQ(records[i].fields, c.records[i].fields) << c.data;
        }
    }
}

TEST(CsvParse, MalformedQuotingIsReportedAtItsLine) {
    std::vector<Problem> problems;
    parse("a,b\r\n1,say \"hi\"\r\n2,\"x\"y\r\n3,\"never\r\nclosed\r\n", problems);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].line, 2u);
    EXPECT_EQ(problems[0].status.code, translate::Code::BareQuote);
    EXPECT_EQ(problems[1].line, 3u);
    EXPECT_EQ(problems[1].status.code, translate::Code::TextAfterQuote);
    EXPECT_EQ(problems[2].line, 4u); // where the unclosed field starts
    EXPECT_EQ(problems[2].status.code, translate::Code::UnclosedQuote);
}

TEST(CsvParse, ReadsBackWhatItWroteForAnyBytes) {
    std::mt19937 random(7);
    const std::string alphabet = std::string("ab ,\"\r\n\t\\") + "\xC3\xA9";
    for (int round = 0; round < 200; ++round) {
        std::vector<std::vector<std::string>> rows(1 + random() % 5);
        std::string data;
        for (auto& row : rows) {
            row.resize(2);
            for (std::string& field : row) {
                for (unsigned n = random() % 12; n > 0; --n)
                    field += alphabet[random() % alphabet.size()];
                if (&field != &row.front())
                    data += ',';
                appendField(data, field);
            }
            data += kRecordEnd;
        }
        std::vector<Problem> problems;
        const std::vector<Record> records = parse(data, problems);
        ASSERT_TRUE(problems.empty());
        ASSERT_EQ(records.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(records[i].fields, rows[i]);
    }
}

} // namespace
} // namespace edt::translate::csv
