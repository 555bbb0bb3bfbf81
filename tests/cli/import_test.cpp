// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include "record/code_page.h"
#include "record/message.h"
#include "record/reader.h"
#include "record/writer.h"
#include "tests/cli/tool_run.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tests/translate/translation_files.h"
#include "tools/sample_files.h"
#include "translate/csv.h"
#include "translate/import_plan.h"

namespace edt {
namespace {

const FileKind kStrings = kindForFileName("strings.edt");

using test::TempDir;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Import : public testing::Test {
protected:
    // A default-kind file (480-byte entries, 238 characters) of `count` sample texts.
    std::string makeFile(std::uint64_t count) {
        const FileKind kind = kindForFileName("strings.edt");
        const std::string path = dir_.file("strings.edt");
        test::writeBytes(path, samples::makeImage(kind, samples::sampleTexts(kind, count)));
        return path;
    }
    TempDir dir_;
};

TEST_F(Import, OneOverlongTextAmongThousandsIsRefusedWholeNamingItsLine) {
    const std::string file = makeFile(5000);
    const std::uint64_t before = test::fileDigest(file);
    // Every text changes; entry 3217 gets 239 characters, one more than it holds.
    std::string csv = "key,text\r\n";
    std::size_t line = 2, overlongLine = 0;
    for (std::uint64_t i = 0; i < 5000; ++i) {
        std::string text = i == 3217 ? std::string(239, 'x') : samples::sampleText(i + 1, 200);
        if (i == 3217)
            overlongLine = line;
        csv += formatKey(1 + i * 480) + ",";
        translate::csv::appendField(csv, test::codePage().toUtf8(text + "!"));
        csv += "\r\n";
        for (char c : text)
            line += c == '\n';
        ++line;
    }
    test::writeBytes(dir_.file("de.csv"), csv);

    const test::ToolRun run = test::runTool({"import", file, dir_.file("de.csv")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(contains(run.err, "de.csv:" + std::to_string(overlongLine) +
                                      ": The text has 240 characters, but entry " +
                                      formatKey(1 + 3217 * 480) + " of \"" + file +
                                      "\" holds at most 238 (480 bytes with the terminator); a "
                                      "line break counts as two characters."))
        << run.err;
    EXPECT_TRUE(contains(run.err, "1 problem in")) << run.err;
    EXPECT_EQ(test::fileDigest(file), before);
    EXPECT_TRUE(run.out.empty());
}

TEST_F(Import, EveryProblemIsListedInLineOrderAndNothingIsWritten) {
    const std::string file = makeFile(4);
    const std::uint64_t before = test::fileDigest(file);
    test::writeBytes(dir_.file("bad.csv"), "key,text\r\n"
                                           "0000001,fine\r\n"
                                           "0000002,not an entry\r\n"
                                           "abc,no key\r\n"
                                           "0000481,\"smile \xE2\x98\xBA\"\r\n"
                                           "0000001,twice\r\n"
                                           "0001441,\xC3\xBF\r\n"
                                           "0001441,\"three\",fields\r\n"
                                           "9999999999,x\r\n");
    const test::ToolRun run =
        test::runTool({"check", file, dir_.file("bad.csv"), "--codepage=1252"});
    EXPECT_EQ(run.code, 1);
    const std::string endOfCheck = "7 problems in \"" + dir_.file("bad.csv") + "\".\n";
    const char* const expected[] = {
        "bad.csv:3: Key 0000002 is not the start",
        "bad.csv:4: \"abc\" is not a key",
        "bad.csv:5: Entry 0000481: The character '\xE2\x98\xBA' (U+263A) has no place in "
        "Windows-1252, the code page the texts are written in. Windows-1252 was given with "
        "--codepage; choose another with --codepage NAME (edt-tool --list-codepages",
        "bad.csv:6: Entry 0000001 already has a text, at line 2.",
        "bad.csv:7: Entry 0001441: The character '\xC3\xBF' (U+00FF)",
        "bad.csv:8: The line has more fields than the header",
        "bad.csv:9: Key 9999999999 is not the start",
        endOfCheck.c_str(),
    };
    std::size_t at = 0;
    for (const char* part : expected) {
        const std::size_t found = run.err.find(part, at);
        ASSERT_NE(found, std::string::npos) << part << "\n" << run.err;
        at = found;
    }
    EXPECT_EQ(test::fileDigest(file), before);
    // Spreadsheets separate fields with semicolons or tabs, and order columns as they like.
    for (const char* csv : {"key;text\r\n0000001;fine\r\n", "text\tmax\tkey\r\nfine\t9\t1\r\n"}) {
        test::writeBytes(dir_.file("semi.csv"), csv);
        const test::ToolRun semi = test::runTool({"import", file, dir_.file("semi.csv")});
        EXPECT_TRUE(contains(semi.out, "1 changed") || contains(semi.out, "1 unchanged"))
            << semi.err;
    }
    EXPECT_EQ(readFile(file, kStrings).entries[0].text, "fine");
}

TEST_F(Import, PoProblemsAreListedWithTheirLines) {
    const std::string file = makeFile(2);
    // gettext drops the first message for its syntax error; the others keep their lines.
    test::writeBytes(dir_.file("bad.po"), "msgid \"\"\n"
                                          "msgstr \"\"\n"
                                          "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                                          "\n"
                                          "msgctxt \"0000001\"\n"
                                          "msgid \"x\"\n"
                                          "msgstr \"\" bogus\n" // 7
                                          "\n"
                                          "msgid \"no context\"\n" // 9
                                          "msgstr \"ohne Schl\xC3\xBCssel\"\n"
                                          "\n"
                                          "msgctxt \"0000481\"\n"
                                          "msgid \"one\"\n" // 13
                                          "msgid_plural \"many\"\n"
                                          "msgstr[0] \"eins\"\n");
    const test::ToolRun run = test::runTool({"import", file, dir_.file("bad.po")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(contains(run.err, "bad.po:7: keyword \"bogus\" unknown")) << run.err;
    EXPECT_TRUE(contains(run.err, "bad.po:9: The message has no msgctxt")) << run.err;
    EXPECT_TRUE(contains(run.err, "bad.po:13: The message has plural forms")) << run.err;

    test::writeBytes(dir_.file("latin.po"),
                     "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n\n"
                     "msgctxt \"0000001\"\nmsgid \"a\"\nmsgstr \"\xE9\"\n");
    const test::ToolRun latin = test::runTool({"import", file, dir_.file("latin.po")});
    EXPECT_EQ(latin.code, 1);
    EXPECT_TRUE(contains(latin.err, "msgconv --to-code=UTF-8")) << latin.err;
}

TEST_F(Import, EmptyAndFuzzyTextsLeaveEntriesAloneAndAreCounted) {
    const std::string file = dir_.file("strings.edt");
    test::writeBytes(file, samples::makeImage(kindForFileName(file), {"a", "b", "c", "d"}));
    test::writeBytes(dir_.file("de.po"), "msgid \"\"\n"
                                         "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                                         "msgctxt \"0000001\"\nmsgid \"a\"\nmsgstr \"neu\"\n\n"
                                         "#, fuzzy\n"
                                         "msgctxt \"0000481\"\nmsgid \"b\"\nmsgstr \"unsicher\"\n\n"
                                         "msgctxt \"0000961\"\nmsgid \"c\"\nmsgstr \"\"\n");
    const std::vector<EntryLine> before = readFile(file, kStrings).entries;
    const test::ToolRun dry = test::runTool({"import", file, dir_.file("de.po"), "--dry-run"});
    EXPECT_EQ(dry.code, 0);
    EXPECT_TRUE(contains(dry.out, "1 changed, 0 unchanged, 3 untranslated (1 fuzzy message "
                                  "left out: 0000481). Nothing was written."))
        << dry.out;
    EXPECT_EQ(readFile(file, kStrings).entries, before);

    const test::ToolRun run = test::runTool({"import", file, dir_.file("de.po")});
    EXPECT_EQ(run.code, 0) << run.err;
    std::vector<EntryLine> expected = before;
    expected[0].text = "neu";
    EXPECT_EQ(readFile(file, kStrings).entries, expected);

    // CSV: an empty text and a missing row leave their entries alone too.
    test::writeBytes(dir_.file("de.csv"), "key,text\r\n1,neu\r\n481,\r\n961,anders\r\n");
    const test::ToolRun csv = test::runTool({"import", file, dir_.file("de.csv")});
    EXPECT_TRUE(contains(csv.out, "1 changed, 1 unchanged, 2 untranslated.")) << csv.out;
    expected[2].text = "anders";
    EXPECT_EQ(readFile(file, kStrings).entries, expected);
}

TEST_F(Import, AFileChangedBetweenCheckAndWriteIsRefused) {
    const std::string file = makeFile(3);
    translate::Translation translation;
    translation.items.push_back({2, "0000481", "neu", false, std::nullopt});
    translate::ImportPlan plan;
    OpenFile open;
    ASSERT_TRUE(open.open(file, kStrings, nullptr).ok());
    ASSERT_TRUE(translate::planImport(open, translation, test::codePage(), plan).ok());
    ASSERT_EQ(plan.writes.size(), 1u);

    open.release(); // as a program that ignores the lock
    ASSERT_TRUE(writeRecord(file, kStrings, 1, "another program", test::codePage()).status.ok());
    const std::string changed = test::readBytes(file);
    const Status status = open.write(plan.writes, test::codePage()).status;
    EXPECT_EQ(status.code, StatusCode::FileChanged);
    EXPECT_EQ(status.undo, Undo::None);
    EXPECT_EQ(test::readBytes(file), changed);
}

TEST_F(Import, ExportGoesToOutOrAFileButNeverOverTheEdtFile) {
    const std::string file = makeFile(3);
    const std::uint64_t before = test::fileDigest(file);
    for (const char* format : {"csv", "po"}) {
        const std::string named = dir_.file(std::string("out.") + format);
        EXPECT_EQ(test::runTool({"export", file, "-o", named}).code, 0); // format from name
        const test::ToolRun printed = test::runTool({"export", "--format", format, file});
        EXPECT_EQ(printed.code, 0);
        EXPECT_EQ(printed.out, test::readBytes(named));
    }
    ASSERT_EQ(::link(file.c_str(), dir_.file("linked.po").c_str()), 0);
    const test::ToolRun refused = test::runTool({"export", file, "-o", dir_.file("linked.po")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(contains(refused.err, "is the file being exported")) << refused.err;
    EXPECT_EQ(test::fileDigest(file), before);
}

TEST_F(Import, ATranslationComesFromAPipeOrAnyNameWithItsFormatGiven) {
    const std::string file = dir_.file("strings.edt");
    test::writeBytes(file, samples::makeImage(kindForFileName(file), {"eins", "zwei", "drei"}));
    const std::string tool = EDT_TOOL_PROGRAM;
    ASSERT_EQ(test::runCommand(tool + " export " + file + " --format csv | sed s/zwei/neu/2 | " +
                               tool + " import " + file + " - --format csv"),
              0);
    test::writeBytes(dir_.file("de.txt"), "key,text\r\n961,drei\r\n");
    EXPECT_NE(test::runTool({"check", file, dir_.file("de.txt"), "--format=csv"})
                  .out.find("0 changed, 1 unchanged, 2 untranslated"),
              std::string::npos);
    EXPECT_EQ(readFile(file, kStrings).entries[1].text, "neu");
    EXPECT_NE(test::runTool({"import", file, "-"}).err.find("give --format csv"),
              std::string::npos);
    // One larger than any translation of the file could be is refused, endless or not.
    EXPECT_EQ(test::runCommand("yes 961,abc | " + tool + " check " + file +
                               " - --format csv 2>/dev/null"),
              1);
    test::writeBytes(dir_.file("large.csv"), "key,text\r\n" + std::string(12900, 'x'));
    const test::ToolRun large = test::runTool({"import", file, dir_.file("large.csv")});
    EXPECT_EQ(large.code, 1);
    EXPECT_TRUE(contains(large.err, "is more than 12892 bytes long: larger than any translation "
                                    "of \"" +
                                        file + "\""))
        << large.err;
}

// One translation through CSV and through PO, into copies of one Windows-1252 file
// written in Windows-1251: the same bytes. Untranslated texts (empty, fuzzy, still the
// original) stay as the file holds them, never refused, even where Windows-1251 lacks
// a character; --recode-untranslated writes in Windows-1251 those it can.
TEST_F(Import, OneTranslationGivesTheSameBytesThroughCsvAndPo) {
    const std::vector<std::string> originals{"caf\xE9", "na\xEFve", "\x80\x35", "hello", "0641"};
    const std::string image = samples::makeImage(kStrings, originals);
    const struct {
        const char *csv, *po;
        bool fuzzy;
    } rows[] = {{"кафе", "кафе", false},
                {"naïve", "naïve", false}, // still the original in both
                {"", "5 €", true},
                {"привет", "привет", false},
                {"0641", "", false}};
    std::string csv = "key,max,source (Windows-1252),text\r\n";
    std::string po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                     "\"X-EDT-Code-Page: Windows-1252\\n\"\n";
    for (std::size_t i = 0; i < originals.size(); ++i) {
        const std::string key = formatKey(1 + i * 480);
        const std::string source = test::codePage().toUtf8(originals[i]);
        csv += key + ",238," + source + "," + rows[i].csv + "\r\n";
        po += std::string("\n") + (rows[i].fuzzy ? "#, fuzzy\n" : "") + "msgctxt \"" + key +
              "\"\nmsgid \"" + source + "\"\nmsgstr \"" + rows[i].po + "\"\n";
    }
    test::writeBytes(dir_.file("ru.csv"), csv);
    test::writeBytes(dir_.file("ru.po"), po);
    for (const bool recode : {false, true}) {
        const std::string expected = samples::makeImage(
            kStrings, {"\xEA\xE0\xF4\xE5", originals[1], recode ? "\x88\x35" : originals[2],
                       "\xEF\xF0\xE8\xE2\xE5\xF2", originals[4]});
        for (const char* route : {"ru.csv", "ru.po"}) {
            const std::string file = dir_.file("strings.edt");
            test::writeBytes(file, image);
            std::vector<std::string> args{"--codepage", "1251", "import", file, dir_.file(route)};
            if (recode)
                args.push_back("--recode-untranslated");
            const test::ToolRun run = test::runTool(args);
            EXPECT_EQ(run.code, 0) << run.err;
            EXPECT_TRUE(test::readBytes(file) == expected) << route << (recode ? " recoded" : "");
            EXPECT_TRUE(test::says(
                run.err, recode ? "note: 1 untranslated entry keeps its original as the file "
                                  "holds it, as Windows-1251 lacks a character of it: 0000481 'ï'."
                                : "note: 2 untranslated entries (0000481, 0000961) hold originals "
                                  "that read differently in Windows-1251, the code page the texts "
                                  "are written in: 'ï' (U+00EF) shows as 'п'."));
            EXPECT_TRUE(test::says(run.out, recode ? "2 changed, 0 unchanged, 3 untranslated (1 "
                                                     "recoded; 1 left as it is"
                                                   : "2 changed, 0 unchanged, 3 untranslated (2 "
                                                     "reading differently in Windows-1251"));
        }
    }
}

// A source cell that a spreadsheet turned into a number, a date or a formula's value
// is refused with the way out, even with --force; a stale text of another kind is
// written with --force. check says nothing of writing.
TEST_F(Import, ASourceCellASpreadsheetReformattedIsNeverWritten) {
    const std::string file = dir_.file("strings.edt");
    test::writeBytes(file, samples::makeImage(kStrings, {"0641", "1.2.26", "=A1", "Hello"}));
    const std::uint64_t before = test::fileDigest(file);
    test::writeBytes(dir_.file("de.csv"), "key,source,text\r\n1,641,W\r\n481,01/02/26,X\r\n"
                                          "961,key,Y\r\n1441,Hallo,Z\r\n");
    const test::ToolRun forced = test::runTool({"import", file, dir_.file("de.csv"), "--force"});
    EXPECT_EQ(forced.code, 1);
    for (const char* part : {"de.csv:2: Entry 0000001 of \"",
                             "\" holds \"0641\", but its source cell reads \"641\": "
                             "a spreadsheet took the cell for a number",
                             "every column imported as Text", "de.csv:3: Entry 0000481",
                             "de.csv:4: Entry 0000961", "3 problems in"})
        EXPECT_TRUE(test::says(forced.err, part));
    EXPECT_FALSE(test::says(forced.err, "de.csv:5"));
    EXPECT_EQ(test::fileDigest(file), before);

    test::writeBytes(dir_.file("de.csv"), "key,source,text\r\n1441,Hallo,Z\r\n");
    const test::ToolRun check = test::runTool({"check", file, dir_.file("de.csv")});
    EXPECT_TRUE(test::says(check.err, "no longer holds the original"));
    EXPECT_TRUE(test::says(check.err, "edt-tool: 1 problem in \"" + dir_.file("de.csv") + "\".\n"));
    const test::ToolRun dry =
        test::runTool({"import", file, dir_.file("de.csv"), "--force", "--dry-run"});
    EXPECT_TRUE(test::says(dry.out, "1 stale entry to be written anyway. Nothing was written."));
    EXPECT_EQ(test::fileDigest(file), before);
}

// A game folder of three files through export, update, check and import, matched by
// name in any case; a problem in any file writes none of them.
TEST_F(Import, AGameFolderGoesThroughExportUpdateCheckAndImportAllOrNothing) {
    const std::string game = dir_.file("game"), po = dir_.file("po");
    ASSERT_EQ(test::runCommand("mkdir " + game + " && echo x >" + game + "/notes.txt"), 0);
    const auto make = [&](const std::string& name, const std::vector<std::string>& texts) {
        test::writeBytes(game + "/" + name, samples::makeImage(kindForFileName(name), texts));
    };
    const auto translate = [&](const std::string& name, const std::string& from,
                               const std::string& to) {
        std::string content = test::readBytes(po + "/" + name);
        const auto at = content.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        test::writeBytes(po + "/" + name, content.replace(at, from.size(), to));
    };
    make("EMAIL.EDT", {"one", "two"});
    make("quests.edt", {"a", "b"});
    make("civ.edt", {"x"});
    const test::ToolRun exported = test::runTool({"export", game, "--language", "de", "-o", po});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_TRUE(test::says(exported.out, "Exported 3 EDT files of \"" + game + "\""));
    EXPECT_EQ(test::runCommand("for f in " + po +
                               "/*.po; do msgfmt --check -o /dev/null $f || "
                               "exit 1; done"),
              0);
    EXPECT_EQ(test::runTool({"export", game, "--language", "de", "-o", po}).code, 1);
    ASSERT_EQ(std::rename((po + "/EMAIL.po").c_str(), (po + "/email.po").c_str()), 0);
    translate("email.po", "msgid \"one\"\nmsgstr \"\"", "msgid \"one\"\nmsgstr \"eins\"");
    translate("quests.po", "msgid \"a\"\nmsgstr \"\"", "msgid \"a\"\nmsgstr \"A\"");
    translate("quests.po", "msgid \"b\"\nmsgstr \"\"", "msgid \"b\"\nmsgstr \"B\"");

    // A new version: a changed original, a new file, a file gone.
    ASSERT_TRUE(
        writeRecord(game + "/quests.edt", kindForFileName("quests.edt"), 161, "c", test::codePage())
            .status.ok());
    make("files.edt", {"new"});
    ASSERT_EQ(std::remove((game + "/civ.edt").c_str()), 0);
    // One PO gettext cannot read: no PO is written, none made.
    const std::string email = test::readBytes(po + "/email.po");
    test::writeBytes(po + "/email.po", email + "msgstr \"");
    EXPECT_EQ(test::runTool({"update", game, po}).code, 1);
    EXPECT_EQ(test::runCommand("test ! -e " + po + "/files.po -a ! -e " + po + "/quests.po~"), 0);
    test::writeBytes(po + "/email.po", email);
    const test::ToolRun updated = test::runTool({"update", game, po});
    ASSERT_EQ(updated.code, 0) << updated.err;
    EXPECT_TRUE(test::says(updated.out, "quests.po\" from \"" + game +
                                            "/quests.edt\": 1 kept, 1 fuzzy (changed original)"));
    EXPECT_TRUE(test::says(updated.out, "Made \"" + po + "/files.po\""));
    EXPECT_TRUE(test::says(updated.err, "civ.po\" has no EDT file civ.edt in"));
    EXPECT_TRUE(test::says(updated.out, "3 POs (1 new), 3 kept, 1 fuzzy (changed original), "
                                        "1 new, 0 obsolete."));
    EXPECT_TRUE(test::says(test::readBytes(po + "/files.po"), "Language: de\\n"));

    // An overlong text in one file: nothing is written to any.
    translate("files.po", "msgid \"new\"\nmsgstr \"\"", "msgid \"new\"\nmsgstr \"neu\"");
    translate("quests.po", "msgstr \"A\"", "msgstr \"" + std::string(79, 'A') + "\"");
    ASSERT_EQ(test::runCommand("cd " + game + " && sha256sum *.EDT *.edt >../sums"), 0);
    const test::ToolRun refused = test::runTool({"import", game, po});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(test::says(refused.err, "quests.po:"));
    EXPECT_TRUE(test::says(refused.err, "1 problem in 1 file of \"" + game +
                                            "\"; nothing was written to any file."));
    EXPECT_EQ(test::runCommand("cd " + game + " && sha256sum --quiet -c ../sums"), 0);

    translate("quests.po", std::string(79, 'A'), "A");
    const test::ToolRun checked = test::runTool({"check", game, po});
    EXPECT_EQ(checked.code, 0) << checked.err;
    EXPECT_TRUE(test::says(checked.out, "Checked 3 translations of \"" + po + "\" against \"" +
                                            game +
                                            "\": 3 changed, 0 unchanged, 2 untranslated "
                                            "(1 fuzzy message).\n"));
    EXPECT_TRUE(test::says(checked.err, "note: \"" + po + "/civ.po\" has no EDT file"));
    EXPECT_EQ(test::runCommand("cd " + game + " && sha256sum --quiet -c ../sums"), 0);
    const test::ToolRun imported = test::runTool({"import", game, po});
    EXPECT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(readFile(game + "/EMAIL.EDT", kindForFileName("email.edt")).entries[0].text, "eins");
    EXPECT_EQ(readFile(game + "/files.edt", kindForFileName("files.edt")).entries[0].text, "neu");
    const std::vector<EntryLine> quests =
        readFile(game + "/quests.edt", kindForFileName("quests.edt")).entries;
    EXPECT_EQ(quests[0].text + quests[1].text, "Ac"); // the fuzzy one left out
}

TEST(ToolUsage, NewCommandsAreDocumentedAndWrongUseIsAUsageError) {
    const test::ToolRun help = test::runTool({"--help"});
    for (const char* part : {"export FILE --format csv|po|xlsx [-o OUT]",
                             "import FILE TRANSLATION [--format csv|po|xlsx]",
                             "check FILE TRANSLATION", "--recode-untranslated"})
        EXPECT_TRUE(contains(help.out, part)) << part;
    EXPECT_EQ(test::runTool({"export"}).code, 2);
    EXPECT_EQ(test::runTool({"export", "a.edt"}).code, 2); // no format
    EXPECT_EQ(test::runTool({"export", "a.edt", "--format", "xml"}).code, 2);
    EXPECT_EQ(test::runTool({"export", "a.edt", "--format", "xlsx"}).code, 2); // binary, no -o
    EXPECT_EQ(test::runTool({"import", "a.edt"}).code, 2);
    EXPECT_EQ(test::runTool({"check", "a.edt", "b.po", "c"}).code, 2);
    for (const char* option : {"--force", "--dry-run", "-o", "--no-backup"}) // check writes none
        EXPECT_EQ(test::runTool({"check", "a.edt", "b.po", option}).code, 2) << option;
    const test::ToolRun swapped = test::runTool({"import", "de.po", "strings.edt"});
    EXPECT_EQ(swapped.code, 1);
    EXPECT_TRUE(contains(swapped.err, "Cannot tell the format")) << swapped.err;
}

} // namespace
} // namespace edt
