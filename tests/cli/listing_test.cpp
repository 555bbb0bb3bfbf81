// SPDX-License-Identifier: GPL-3.0-or-later
// The listing's one-pass decode and escape, the escape table and the listing's output
// buffer, against the plain rules and the line-by-line form they replace, on every
// vector path this CPU runs.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli/list_command.h"
#include "cli/listed_text.h"
#include "record/escaped_text.h"
#include "record/reader.h"
#include "record/vector_path.h"
#include "tests/cli/tool_run.h"
#include "tests/support/entry_lines.h"
#include "tests/support/plain_rules.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

using test::decodeByTheRule;
using test::decodeEntries;
using test::regularPairsThen;

// The listing's decode-and-escape in one pass, with the input ending exactly at
// `available` and the room it is promised marked, so that over-reads (sanitizers) and
// writes past the room show.
std::string listFast(const std::string& bytes, std::size_t available, std::size_t entryLength,
                     const Escaper& escaper) {
    const std::vector<unsigned char> input(bytes.begin(), bytes.begin() + available);
    const std::size_t room = Escaper::kMaxEscapedChar * entryLength + Escaper::kSlack;
    std::string out(room + 8, '#');
    std::vector<char> scratch(entryLength);
    char* end = cli::writeListedText(out.data(), input.data(), available, entryLength,
                                     scratch.data(), escaper);
    EXPECT_EQ(out.substr(room), std::string(8, '#')) << "wrote past its room";
    return std::string(out.data(), end);
}

// What the listing must show: the text decoded by the rule, then escaped.
std::string listByTheRule(const std::string& bytes, std::size_t available, std::size_t entryLength,
                          const Escaper& escaper) {
    return escaper.escape(decodeByTheRule(bytes, available, entryLength));
}

class FastListedText : public ::testing::TestWithParam<VectorPath> {};

TEST_P(FastListedText, EveryShapeOfEntryListsLikeTheRule) {
    const Escaper escaper(test::codePage(), GetParam());
    for (const test::StoredEntry& e : test::entryShapes()) {
        SCOPED_TRACE(e.label);
        ASSERT_EQ(listFast(e.bytes, e.available, e.entryLength, escaper),
                  listByTheRule(e.bytes, e.available, e.entryLength, escaper));
    }
}

TEST_P(FastListedText, EveryByteAtEveryPositionOfARunListsLikeTheRule) {
    // Each stored byte as the character of a regular pair and as the high byte that
    // breaks the run, at each position of a run longer than two bulk steps, in code
    // pages whose forms differ in length (undefined bytes, three-byte UTF-8).
    for (const char* page : {"1252", "1253", "KOI8-R"}) {
        const Escaper escaper(test::codePage(page), GetParam());
        for (int b = 0; b < 256; ++b) {
            for (std::size_t position = 0; position < 20; ++position) {
                for (bool asHighByte : {false, true}) {
                    std::string bytes = regularPairsThen(20, std::string(4, '\0'));
                    bytes[2 * position + (asHighByte ? 1 : 0)] = static_cast<char>(b);
                    SCOPED_TRACE(std::string(page) + " byte " + std::to_string(b) + " at pair " +
                                 std::to_string(position) + (asHighByte ? " (high)" : " (low)"));
                    ASSERT_EQ(listFast(bytes, bytes.size(), bytes.size(), escaper),
                              listByTheRule(bytes, bytes.size(), bytes.size(), escaper));
                }
            }
        }
    }
}

TEST(FastEscape, EveryByteAtEveryPositionEscapesAsAlone) {
    // Each byte's escaped form must not depend on its neighbours, nothing may be
    // written past the promised room, and the text must come back.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= all.size(); length += 17)
        for (std::size_t start = 0; start + length <= all.size(); start += 61)
            texts.push_back(all.substr(start, length));
    for (std::size_t length = 1; length <= 20; ++length)
        texts.push_back(std::string(length, '\x81')); // the longest form only: "\x81"

    for (const std::string& text : texts) {
        std::string expected;
        for (char c : text)
            expected += test::escaper().escape(std::string(1, c));
        const std::size_t room = Escaper::kMaxEscapedChar * text.size() + Escaper::kSlack;
        std::string out(room + 8, '#');
        char* end = test::escaper().escapeInto(out.data(), text);
        EXPECT_EQ(out.substr(room), std::string(8, '#')) << "wrote past its room";
        ASSERT_EQ(std::string(out.data(), end), expected);
        std::string back;
        ASSERT_TRUE(test::escaper().unescape(expected, back).ok());
        EXPECT_EQ(back, text);
    }
}

TEST_P(FastListedText, LongListingsEqualTheLineByLineForm) {
    // Several read blocks and several output flushes, with unterminated entries and
    // texts full of characters that need escapes; for both kinds of layout.
    chooseVectorPath(pathName(GetParam()));
    for (const char* name : {"strings.edt", "aimbios.edt"}) {
        const FileKind kind = kindForFileName(name);
        std::vector<std::string> texts = samples::sampleTexts(kind, 12000);
        for (std::size_t i = 0; i < texts.size(); i += 97)
            texts[i] = std::string(400, static_cast<char>(i % 2 ? '\\' : '\x85')); // too long
        const std::string image = samples::makeImage(kind, texts);
        test::TempDir dir;
        const std::string path = dir.file(name);
        test::writeBytes(path, image);

        std::string expected = kind.limitCaption + "\n";
        for (const EntryLine& line : decodeEntries(
                 reinterpret_cast<const unsigned char*>(image.data()), image.size(), kind))
            expected += "[" + formatKey(line.key) + "] " + test::escaper().escape(line.text) + "\n";

        std::FILE* out = std::fopen(dir.file("listing").c_str(), "wb");
        ASSERT_NE(out, nullptr);
        StateFolder state(Backups(""), "");
        const cli::Settings settings{test::codePage(), state, false, ""};
        ASSERT_EQ(cli::listCommand(path, kind, settings, out, stderr), 0);
        std::fclose(out);
        const std::string listing = test::readBytes(dir.file("listing"));
        ASSERT_EQ(listing.size(), expected.size()) << name;
        EXPECT_TRUE(listing == expected) << name; // no 6 MB diff on failure
    }
    chooseVectorPath(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Paths, FastListedText, ::testing::ValuesIn(availablePaths()),
                         [](const auto& info) { return pathName(info.param); });

TEST(FastListing, TheSwitchChoosesAPathThisCpuRuns) {
    const VectorPath fastest = availablePaths().back();
    EXPECT_EQ(chooseVectorPath("scalar"), VectorPath::Scalar);
    EXPECT_EQ(vectorPath(), VectorPath::Scalar);
    EXPECT_EQ(chooseVectorPath("no-such-path"), fastest);
    EXPECT_EQ(chooseVectorPath(nullptr), fastest);
}

} // namespace
} // namespace edt
