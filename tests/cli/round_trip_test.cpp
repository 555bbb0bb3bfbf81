// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "record/code_page.h"
#include "record/reader.h"
#include "record/shown_text.h"
#include "record/text_codec.h"
#include "tests/cli/tool_run.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tests/translate/translation_files.h"
#include "tools/sample_files.h"
#include "translate/csv.h"
#include "translate/po.h"
#include "translate/translator_text.h"

namespace edt {
namespace {

using test::TempDir;

// Writes a PO translation by hand, the way a translation tool stores one.
std::string poQuoted(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\x04': // gettext's separator of context and text
            out += "\xE2\x90\x84";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

// Version 1.0.1's CSV form (key,text), or a PO whose originals are the file's texts.
std::string translationFile(const std::string& format, const std::vector<EntryLine>& entries,
                            const CodePage& codePage = test::codePage(),
                            const std::vector<EntryLine>* originals = nullptr) {
    std::string out = format == "csv" ? "key,text\r\n"
                                      : "msgid \"\"\nmsgstr \"Content-Type: text/plain; "
                                        "charset=UTF-8\\n\"\n";
    for (const EntryLine& e : entries) {
        const std::string text = shownUtf8(e.text, codePage);
        const std::string source =
            shownUtf8(originals ? (*originals)[&e - entries.data()].text : e.text, codePage);
        if (format == "csv") {
            out += formatKey(e.key) + ",";
            translate::csv::appendField(out, text);
            out += translate::csv::kRecordEnd;
        } else {
            out += "\nmsgctxt \"" + formatKey(e.key) + "\"\nmsgid " + poQuoted(source) +
                   "\nmsgstr " + poQuoted(text) + "\n";
        }
    }
    return out;
}

class RoundTrip : public testing::TestWithParam<std::tuple<const char*, const char*>> {
protected:
    void SetUp() override {
        name_ = std::get<0>(GetParam());
        format_ = std::get<1>(GetParam());
        const FileKind kind = kindForFileName(name_);
        // The tricky texts, then one text that fills its entry without a terminator.
        texts_ = test::trickyTexts();
        const EntryLayout layout(kind, 1u << 20);
        texts_.push_back(std::string(layout.lengthOf(texts_.size()) / 2, 'Z'));
        file_ = dir_.file(name_);
        original_ = samples::makeImage(kind, texts_, 0xAB);
        test::writeBytes(file_, original_);
    }

    std::string name_, format_, file_, original_;
    std::vector<std::string> texts_;
    TempDir dir_;
};

TEST_P(RoundTrip, ExportThenImportOfTheExportLeavesEveryByte) {
    const std::string exported = dir_.file("export." + format_);
    ASSERT_EQ(test::runTool({"export", file_, "--format", format_, "-o", exported}).code, 0);
    // A PO export is a template; the translation holds the same texts as msgstr.
    std::vector<EntryLine> entries = readFile(file_, kindForPath(name_)).entries;
    ASSERT_EQ(entries.size(), texts_.size());
    const std::string translation = dir_.file("same." + format_);
    test::writeBytes(translation, translationFile(format_, entries));
    if (format_ == "po") { // key as msgctxt, text as msgid, empty msgstr, limits
        translate::po::Catalog catalog;
        std::vector<translate::Problem> problems;
        const std::string content = test::readBytes(exported);
        ASSERT_TRUE(translate::po::read(content, catalog, problems).ok());
        ASSERT_EQ(catalog.messages.size(), entries.size());
        const EntryLayout layout(kindForFileName(name_), original_.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const translate::po::Message& m = catalog.messages[i];
            EXPECT_EQ(m.context, formatKey(entries[i].key));
            EXPECT_EQ(m.msgid, shownUtf8(entries[i].text, test::codePage()));
            EXPECT_EQ(m.msgstr, "");
            const int most = maxCharsForEntry(layout.lengthOf(i));
            const std::string limit =
                std::to_string(std::min(most, captionLimit(kindForFileName(name_), i % 2)));
            EXPECT_EQ(test::lineOf(content, m.line - 2), "#, max-length:" + limit);
            EXPECT_EQ(test::lineOf(content, m.line - 3),
                      "#. At most " + limit +
                          " characters, a line break counting as two (the "
                          "entry takes " +
                          std::to_string(most) + ").");
        }
    }

    for (const std::string& input : {exported, translation}) {
        const test::ToolRun run = test::runTool({"import", file_, input});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(test::fileDigest(file_), test::digest(original_)) << input;
    }
    // CSV of version 1.0.1 gives no originals: its texts count as translations, but the
    // empty one. A msgstr that is its msgid is untranslated, as an untouched CSV text.
    const test::ToolRun run = test::runTool({"import", file_, translation});
    const std::size_t total = texts_.size();
    EXPECT_TRUE(test::says(
        run.out, format_ == "csv"
                     ? ": 0 changed, " + std::to_string(total - 1) + " unchanged, 1 untranslated."
                     : ": 0 changed, 0 unchanged, " + std::to_string(total) + " untranslated."));
}

TEST_P(RoundTrip, TranslatedTextsLandInTheirEntriesAndNowhereElse) {
    const FileKind kind = kindForFileName(name_);
    std::vector<EntryLine> entries = readFile(file_, kind).entries;
    // Each tricky text moves to the next entry; the unterminated one stays.
    const std::size_t tricky = test::trickyTexts().size();
    std::vector<EntryLine> translated = entries;
    std::string expected = original_;
    const EntryLayout layout(kind, original_.size());
    std::size_t changed = 0;
    for (std::size_t i = 0; i < tricky; ++i) {
        translated[i].text = test::trickyTexts()[(i + 1) % tricky];
        if (translated[i].text.empty() || translated[i].text == entries[i].text) {
            translated[i].text = entries[i].text;
            continue;
        }
        const std::string bytes = encodeText(translated[i].text);
        expected.replace(layout.keyOf(i) - 1, bytes.size(), bytes);
        ++changed;
    }
    const std::string translation = dir_.file("de." + format_);
    test::writeBytes(translation, translationFile(format_, translated, test::codePage(), &entries));

    const test::ToolRun run = test::runTool({"import", file_, translation});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(test::says(run.out, ": " + std::to_string(changed) + " changed, "));
    EXPECT_TRUE(test::readBytes(file_) == expected) << "bytes outside the new texts changed";
    const std::vector<EntryLine> after = readFile(file_, kindForPath(name_)).entries;
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].text, translated[i].text) << i;
}

// Every byte 1..254 in every code page: listed, and written back by edt-tool from its
// own listing; exported to CSV and PO and imported back; all without changing a byte.
class EveryCodePage : public testing::TestWithParam<const char*> {};

TEST_P(EveryCodePage, EveryByteComesBackThroughTheListingAndTranslations) {
    TempDir dir;
    const std::string file = dir.file("strings.edt");
    std::string first, second;
    for (int b = 1; b < 255; ++b)
        (b < 128 ? first : second) += static_cast<char>(b);
    const std::string original =
        samples::makeImage(kindForFileName("strings.edt"), {first, second});
    test::writeBytes(file, original);
    const std::string cp = GetParam();
    const test::ToolRun list = test::runTool({"list", file, "--codepage", cp});
    ASSERT_EQ(list.code, 0) << list.err;
    for (const char* key : {"0000001", "0000481"}) {
        const std::size_t at = list.out.find(std::string("[") + key + "] ") + 10;
        const std::string shown = list.out.substr(at, list.out.find('\n', at) - at);
        EXPECT_EQ(test::runTool({"--codepage", cp, "write", file, key, shown}).code, 0);
    }
    // The CSV export imported as it is; a PO translation holding the same texts.
    const std::string csv = dir.file("all.csv"), po = dir.file("all.po");
    ASSERT_EQ(test::runTool({"--codepage", cp, "export", file, "-o", csv}).code, 0);
    test::writeBytes(po, translationFile("po", readFile(file, kindForPath("strings.edt")).entries,
                                         test::codePage(cp.c_str())));
    for (const std::string& translation : {csv, po}) {
        const test::ToolRun run = test::runTool({"--codepage", cp, "import", file, translation});
        EXPECT_TRUE(test::says(run.out, "0 changed, 0 unchanged, 2 untranslated")) << run.err;
    }
    // A PO export names its code page as the source's; another target is no refusal.
    ASSERT_EQ(test::runTool({"--codepage", cp, "export", file, "-o", po, "--force"}).code, 0);
    const std::string other = cp == "1252" ? "1251" : "1252";
    const test::ToolRun run = test::runTool({"--codepage", other, "import", file, po});
    EXPECT_NE(run.out.find("(originals in " + test::codePage(cp.c_str()).name() +
                           ", texts written in " + test::codePage(other.c_str()).name()),
              std::string::npos)
        << run.err;
    EXPECT_EQ(test::readBytes(file), original);
}

// A game folder of every kind, exported as CSV and as XLSX (one workbook per file) and
// imported back as it is: every file keeps every byte.
TEST(FolderRoundTrip, EveryKindComesBackThroughCsvAndXlsx) {
    TempDir dir;
    const std::string game = dir.file("game");
    ASSERT_EQ(test::runCommand("mkdir " + game), 0);
    const char* const names[] = {"EMAIL.EDT",  "aimbios.edt",   "mercbios.edt", "files.edt",
                                 "quests.edt", "civilians.edt", "strings.edt"};
    std::vector<std::string> originals;
    for (const char* name : names) {
        originals.push_back(samples::makeImage(kindForFileName(name), test::trickyTexts(), 0xAB));
        test::writeBytes(game + "/" + name, originals.back());
    }
    for (const std::string format : {"csv", "xlsx"}) {
        const std::string out = dir.file(format);
        ASSERT_EQ(test::runTool({"export", game, "--format", format, "-o", out}).code, 0);
        const test::ToolRun run = test::runTool({"import", game, out});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(test::says(run.out, "Imported 7 translations of \"" + out + "\" into \"" +
                                            game + "\": 0 changed, "))
            << run.out;
        for (std::size_t i = 0; i < originals.size(); ++i)
            EXPECT_TRUE(test::readBytes(game + "/" + names[i]) == originals[i]) << names[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Named, EveryCodePage, testing::ValuesIn(test::requiredCodePages()),
                         [](const auto& info) { return test::paramName(info.param, info.index); });

INSTANTIATE_TEST_SUITE_P(EveryKind, RoundTrip,
                         testing::Combine(testing::Values("email.edt", "aimbios.edt",
                                                          "mercbios.edt", "files.edt", "quests.edt",
                                                          "civilians.edt", "strings.edt"),
                                          testing::Values("csv", "po")),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param);
                             name = name.substr(0, name.find('.'));
                             return name + "_" + std::get<1>(info.param);
                         });

} // namespace
} // namespace edt
