// SPDX-License-Identifier: GPL-3.0-or-later
// PO files as gettext's own tools write them must import back. The tools come from
// Debian's gettext package.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/file.h"
#include "record/reader.h"
#include "record/writer.h"
#include "tests/cli/tool_run.h"
#include "tests/support/entry_lines.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tests/translate/translation_files.h"
#include "tools/sample_files.h"
#include "translate/po.h"

namespace edt {
namespace {

using test::decodeEntries;
using test::TempDir;

class GettextTools : public testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.file("email.edt");
        texts_ = samples::sampleTexts(kind_, 300);
        texts_.insert(texts_.end(), test::trickyTexts().begin(), test::trickyTexts().end());
        test::writeBytes(file_, samples::makeImage(kind_, texts_, 0xC3));
        original_ = test::readBytes(file_);
        ASSERT_EQ(test::runTool({"export", file_, "-o", path("template.po")}).code, 0);
    }
    std::string path(const std::string& name) const { return dir_.file(name); }
    int tool(const std::string& arguments) {
        return test::runCommand(arguments + " 2>>" + path("gettext.log"));
    }

    size_t count(const std::string& name, const std::string& words) const {
        const std::string content = test::readBytes(path(name));
        size_t n = 0;
        for (auto at = content.find(words); at != std::string::npos;
             at = content.find(words, at + 1))
            ++n;
        return n;
    }

    TempDir dir_;
    const FileKind kind_ = kindForFileName("email.edt");
    std::vector<std::string> texts_;
    std::string file_, original_;
};

// Each message's translation, fuzzy state, translator's comments and previous
// original, by key (obsolete ones after "~"); the header's fields under "".
std::map<std::string, std::string> stateOf(const std::string& content) {
    translate::po::Catalog catalog;
    std::vector<translate::Problem> problems;
    EXPECT_TRUE(translate::po::read(content, catalog, problems).ok() && problems.empty());
    std::map<std::string, std::string> state{{"", catalog.header.msgstr}};
    for (const auto* list : {&catalog.messages, &catalog.obsolete})
        for (const translate::po::Message& m : *list)
            state[(m.obsolete ? "~" : "") + m.context.value_or("?")] =
                m.msgstr + (m.fuzzy ? "|fuzzy|" : "||") + m.comments + "|" +
                m.previousMsgid.value_or("-");
    return state;
}

TEST_F(GettextTools, TranslationsRewrittenByMsgenMsgcatAndMsgfilterImportBack) {
    // msgen fills every msgstr with its msgid; msgcat rewraps and sorts: the file's own
    // texts, through gettext's writer, leave every byte as it was.
    ASSERT_EQ(tool("msgen -o " + path("en.po") + " " + path("template.po")), 0);
    ASSERT_EQ(tool("msgcat --sort-output --width=20 -o " + path("sorted.po") + " " + path("en.po")),
              0);
    for (const char* name : {"en.po", "sorted.po"}) {
        const test::ToolRun run = test::runTool({"import", file_, path(name)});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(test::says(run.out, " 0 changed, "));
        EXPECT_EQ(test::fileDigest(file_), test::digest(original_)) << name;
    }
    // msgfilter changes translations (keeping their lengths, so that all still fit).
    ASSERT_EQ(tool("msgfilter -i " + path("en.po") + " -o " + path("de.po") +
                   " sed -e s/the/die/g -e s/gate/Tor!/g"),
              0);
    const test::ToolRun run = test::runTool({"import", file_, path("de.po")});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<EntryLine> before =
        decodeEntries(reinterpret_cast<const unsigned char*>(original_.data()), original_.size(),
                      kindForFileName("email.edt"));
    const std::vector<EntryLine> after = readFile(file_, kindForPath("email.edt")).entries;
    ASSERT_EQ(after.size(), before.size());
    std::size_t changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
        std::string expected = before[i].text;
        for (auto [from, to] :
             {std::pair<std::string, std::string>{"the", "die"}, {"gate", "Tor!"}})
            for (auto at = expected.find(from); at != std::string::npos;
                 at = expected.find(from, at + to.size()))
                expected.replace(at, from.size(), to);
        changed += expected != before[i].text;
        EXPECT_EQ(after[i].text, expected) << i;
    }
    EXPECT_GT(changed, 50u);
    EXPECT_TRUE(test::says(run.out, " " + std::to_string(changed) + " changed, "));
}

// An export passes gettext's own tools without a warning (no \r escapes, a full
// header); msgfmt checks the translation msginit makes of it. (Bell, backspace,
// vertical tab and form feed would still draw gettext's warning on their escapes.)
TEST_F(GettextTools, ExportsPassGettextsToolsWithoutAWarning) {
    const FileKind kind = kindForFileName("email.edt");
    std::vector<std::string> texts = samples::sampleTexts(kind, 30);
    for (const std::string& text : test::trickyTexts())
        if (text.find_first_of("\a\b\v\f") == std::string::npos)
            texts.push_back(text);
    test::writeBytes(file_, samples::makeImage(kind, texts));
    const std::string pot = path("email.pot");
    ASSERT_EQ(test::runTool({"export", file_, "-o", pot}).code, 0);
    for (const std::string& command :
         {"msgcat -o " + path("cat.po") + " " + pot,
          "msgmerge --quiet -o " + path("merged.po") + " " + pot + " " + pot,
          "msginit -l pl --no-translator -i " + pot + " -o " + path("pl.po") + " >/dev/null",
          "msgfmt --check -o /dev/null " + path("pl.po"), "msgcat -o /dev/null " + path("pl.po")})
        ASSERT_EQ(tool(command), 0) << command;
    EXPECT_EQ(test::readBytes(path("gettext.log")), "Created " + path("pl.po") + ".\n");
    EXPECT_NE(test::readBytes(pot).find("#, max-length:315\n"), std::string::npos);
}

TEST_F(GettextTools, MsgmergeOfAnOldTranslationKeepsItsLinesAndLeavesFuzzyOut) {
    ASSERT_EQ(tool("msgen -o " + path("de.po") + " " + path("template.po")), 0);
    // The file changes after the translator started: one entry gets a new text.
    const std::vector<EntryLine> entries = readFile(file_, kindForPath("email.edt")).entries;
    const auto changed = std::find_if(entries.begin(), entries.end(),
                                      [](const EntryLine& e) { return !e.text.empty(); });
    ASSERT_TRUE(writeRecord(file_, kindForPath("email.edt"), changed->key,
                            "a brand new source text", test::codePage())
                    .status.ok());
    ASSERT_EQ(test::runTool({"export", file_, "-o", path("new.pot")}).code, 0);
    ASSERT_EQ(tool("msgmerge --quiet -o " + path("merged.po") + " " + path("de.po") + " " +
                   path("new.pot")),
              0);
    const test::ToolRun check = test::runTool({"check", file_, path("merged.po")});
    ASSERT_EQ(check.code, 0) << check.err;
    // msgmerge marks the changed message fuzzy or leaves it untranslated; the texts msgen
    // copied from their msgid are untranslated too, so nothing is left to write.
    EXPECT_TRUE(test::says(check.out, ": 0 changed, 0 unchanged, " +
                                          std::to_string(entries.size()) + " untranslated."));

    // An overlong text in the merged file is named by the line of its msgid there.
    const std::string merged = test::readBytes(path("merged.po"));
    const std::string context = "msgctxt \"0019201\"\n";
    const auto at = merged.find(context);
    ASSERT_NE(at, std::string::npos);
    const auto msgstr = merged.find("msgstr ", at);
    std::string overlong = merged;
    overlong.replace(msgstr, merged.find("\n\n", msgstr) - msgstr,
                     "msgstr \"" + std::string(319, 'x') + "\"");
    test::writeBytes(path("overlong.po"), overlong);
    const std::size_t line = 1 + std::count(merged.begin(), merged.begin() + at, '\n') + 1;
    const test::ToolRun run = test::runTool({"import", file_, path("overlong.po")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(test::says(run.err, "overlong.po:" + std::to_string(line) +
                                        ": The text has 319 characters, but entry 0019201 of"));
}

// The translation msginit makes, but with the limits that msginit drops.
TEST_F(GettextTools, LanguageExportIsMsginitsTranslationWithTheLimits) {
    for (const std::string language : {"pl", "pt_BR", "ru", "cs", "sl", "fr", "ja", "sr@latin",
                                       "de_AT", "lv", "ro", "ga", "lt"}) {
        const test::ToolRun run = test::runTool({"export", file_, "--language", language});
        ASSERT_EQ(run.code, 0) << run.err;
        ASSERT_EQ(tool("msginit --no-translator -l " + language + " -i " + path("template.po") +
                       " -o " + path(language + ".po")),
                  0);
        std::string ours = run.out;
        for (auto at = ours.find("#, max-length:"); at != std::string::npos;
             at = ours.find("#, max-length:"))
            ours.erase(at, ours.find('\n', at) + 1 - at);
        EXPECT_EQ(ours, test::readBytes(path(language + ".po"))) << language;
    }
    // gettext's table lacks Xhosa: the Germanic rule.
    EXPECT_TRUE(test::says(test::runTool({"export", file_, "--language", "xh"}).out,
                           "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\""));
}

// Translate Toolkit and gettext take both kinds of export. pofilter's findings on a
// translation's progress (untranslated, unchanged) are left out; any other (escapes,
// newlines, quoting, printf, punctuation ...) would mean a text garbled on its way.
TEST_F(GettextTools, TranslateToolkitAndGettextTakeBothExports) {
    if (test::runCommand("pofilter --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Translate Toolkit is not installed";
    ASSERT_EQ(test::runTool({"export", file_, "--language", "de", "-o", path("de.po")}).code, 0);
    ASSERT_EQ(tool("msgen -o " + path("en.po") + " " + path("de.po")), 0);
    for (const std::string name : {"template.po", "de.po", "en.po"}) {
        for (const std::string& command :
             {std::string("msgfmt --check -o /dev/null "), std::string("msgcat -o /dev/null "),
              "pofilter --excludefilter=untranslated --excludefilter=unchanged -o " +
                  path("found.po") + " "})
            ASSERT_EQ(tool(command + path(name)), 0) << command << name;
        // pofilter writes a file only when it finds something.
        os::FileIdentity found;
        EXPECT_FALSE(os::identityAt(path("found.po"), found)) << test::readBytes(path("found.po"));
    }
    // pot2po fills a template (.pot, else it does nothing) from a translation and keeps
    // the limits.
    ASSERT_EQ(test::runTool({"export", file_, "-o", path("template.pot")}).code, 0);
    ASSERT_EQ(
        tool("pot2po -t " + path("en.po") + " -i " + path("template.pot") + " -o " + path("p2.po")),
        0);
    EXPECT_EQ(count("p2.po", "#, max-length:"), texts_.size());
    // Through a spreadsheet: po2csv, then csv2po onto the translation. po2csv writes a
    // backslash, and the controls PO escapes (\a \b \v \f), as PO escapes that csv2po
    // keeps as they are (Translate Toolkit 3.8.4): texts holding them stay out here.
    std::vector<std::string> texts;
    std::copy_if(texts_.begin(), texts_.end(), std::back_inserter(texts), [](const std::string& t) {
        return t.find_first_of("\\\a\b\v\f") == std::string::npos;
    });
    test::writeBytes(file_, samples::makeImage(kind_, texts, 0xC3));
    const std::string original = test::readBytes(file_);
    ASSERT_EQ(
        test::runTool({"export", file_, "--language", "de", "-o", path("de.po"), "--force"}).code,
        0);
    ASSERT_EQ(tool("msgen " + path("de.po") + " | msgfilter --keep-header -o " +
                   path("filtered.po") + " sed -e s/the/die/g"),
              0);
    ASSERT_EQ(tool("po2csv -i " + path("filtered.po") + " -o " + path("filtered.csv")), 0);
    ASSERT_EQ(tool("csv2po -t " + path("de.po") + " -i " + path("filtered.csv") + " -o " +
                   path("back.po")),
              0);
    std::vector<std::uint64_t> digests;
    for (const char* name : {"filtered.po", "back.po"}) {
        test::writeBytes(file_, original);
        const test::ToolRun run = test::runTool({"import", file_, path(name)});
        ASSERT_EQ(run.code, 0) << run.err;
        digests.push_back(test::fileDigest(file_));
    }
    EXPECT_EQ(digests[1], digests[0]);
    EXPECT_NE(digests[0], test::digest(original));
}

// update against msgmerge --update --previous on the same translation and file: a
// shorter file (entries gone) and a longer one (new entries), three originals changed.
TEST_F(GettextTools, UpdateKeepsAndMarksWhatMsgmergeDoesAndTheLimits) {
    ASSERT_EQ(test::runTool({"export", file_, "--language", "pl", "-o", path("pl.po")}).code, 0);
    ASSERT_EQ(tool("msgen " + path("pl.po") + " | msgfilter --keep-header -o " + path("old.po") +
                   " sed -e s/a/A/g"),
              0);
    std::string old = test::readBytes(path("old.po"));
    old.insert(old.find("msgctxt \"0000641\""), "# the translator's own\n");
    test::writeBytes(path("old.po"), old);
    // A shorter file, then a longer one; each tool goes on from what it left, so that
    // the entries gone in the first run return in the second.
    test::writeBytes(path("ours.po"), old);
    test::writeBytes(path("theirs.po"), old);
    for (const bool longer : {false, true}) {
        std::vector<std::string> texts = texts_;
        for (std::size_t i = 2, changed = 0; changed < 3; ++i)
            if (!texts[i].empty() && texts[i].size() < 200 && ++changed)
                texts[i] += " again";
        if (longer)
            texts.insert(texts.end(), {"qqqq zzzz xxxx", "wwww yyyy"});
        else
            texts.resize(texts.size() - 5);
        test::writeBytes(file_, samples::makeImage(kind_, texts, 0xC3));
        const std::string before = test::readBytes(path("ours.po"));
        ASSERT_EQ(test::runTool({"export", file_, "-o", path("new.pot"), "--force"}).code, 0);
        ASSERT_EQ(tool("msgmerge --quiet --update --previous " + path("theirs.po") + " " +
                       path("new.pot")),
                  0);
        const test::ToolRun run = test::runTool({"update", file_, path("ours.po")});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(test::says(run.out, longer ? " 0 fuzzy (changed original), 3 new, 0 obsolete"
                                               : " 3 fuzzy (changed original), 0 new, 4 obsolete"));
        // The creation date is the file's time, which may lie in another minute than the
        // previous round's: msgmerge's copy of the old header below keeps the old one.
        std::map<std::string, std::string> ours = stateOf(test::readBytes(path("ours.po")));
        std::map<std::string, std::string> theirs = stateOf(test::readBytes(path("theirs.po")));
        for (auto* states : {&ours, &theirs})
            for (auto& [key, state] : *states)
                if (const std::size_t date = state.find("POT-Creation-Date:");
                    date != std::string::npos)
                    state.erase(date, state.find('\n', date) + 1 - date);
        // msgmerge (gettext 0.21) gives a new entry with an empty original the header
        // as a fuzzy translation; update leaves it untranslated.
        for (auto& [key, state] : theirs)
            if (!key.empty() && state.rfind(theirs[""] + "|fuzzy|", 0) == 0)
                state = "|||-";
        EXPECT_EQ(ours, theirs);
        EXPECT_EQ(test::readBytes(path("ours.po~")), before);
        EXPECT_EQ(count("ours.po", "max-length:"), texts.size());
        EXPECT_EQ(count("ours.po", "#, fuzzy, max-length:"), 3u);
        ASSERT_EQ(tool("msgfmt --check -o /dev/null " + path("ours.po")), 0);
        EXPECT_TRUE(test::says(test::runTool({"update", file_, path("ours.po")}).out,
                               "Nothing was written."));
    }
    // A PO gettext cannot take whole is refused, and left alone.
    test::writeBytes(path("plural.po"),
                     old + "\nmsgid \"a\"\nmsgid_plural \"b\"\nmsgstr[0] \"c\"\n");
    const test::ToolRun run = test::runTool({"update", file_, path("plural.po")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(test::says(run.err, "plural forms"));
    os::FileIdentity backup;
    EXPECT_FALSE(os::identityAt(path("plural.po~"), backup));
}

// stats counts as msgfmt --statistics and pocount do: their translated messages are
// stats' translated and those over the limit (a msgstr the same as its msgid, which
// stats counts untranslated, is left out here).
TEST_F(GettextTools, StatsCountsAsMsgfmtAndPocount) {
    ASSERT_EQ(test::runTool({"export", file_, "--language", "de", "-o", path("de.po")}).code, 0);
    std::string po = test::readBytes(path("de.po")), out;
    std::size_t index = 0;
    for (std::size_t at = 0, end = 0; at < po.size(); at = end, ++index) {
        end = std::min(po.find("\n\n", at + 1), po.size());
        std::string block = po.substr(at, end - at);
        const std::string text = index == 6 ? std::string(320, 'x') : "\xC3\xBC";
        if (index > 0 && index % 3 != 2)
            block.replace(block.rfind("msgstr \"\""), 9, "msgstr \"" + text + "\"");
        if (index % 3 == 1)
            block.replace(block.find("#, max-length"), 2, "#, fuzzy,");
        out += block;
    }
    test::writeBytes(path("de.po"), out);
    ASSERT_EQ(test::runCommand("msgfmt --check --statistics -o /dev/null " + path("de.po") + " 2>" +
                               path("msgfmt.txt")),
              0);
    const test::ToolRun stats = test::runTool({"stats", file_, path("de.po"), "--format", "csv"});
    ASSERT_EQ(stats.code, 0) << stats.err;
    unsigned long n[7] = {}, translated = 0, fuzzy = 0, untranslated = 0;
    ASSERT_EQ(std::sscanf(stats.out.c_str() + stats.out.find("\nemail.edt,"),
                          "\nemail.edt,%lu,%lu,%lu,%lu,%lu,%lu,%lu", &n[0], &n[1], &n[2], &n[3],
                          &n[4], &n[5], &n[6]),
              7)
        << stats.out;
    EXPECT_EQ(n[4], 1u); // over the limit
    EXPECT_EQ(n[5] + n[6], 0u);
    ASSERT_EQ(std::sscanf(test::readBytes(path("msgfmt.txt")).c_str(),
                          "%lu translated messages, %lu fuzzy translations, %lu untranslated",
                          &translated, &fuzzy, &untranslated),
              3);
    EXPECT_EQ(translated, n[1] + n[4]);
    EXPECT_EQ(fuzzy, n[2]);
    EXPECT_EQ(untranslated, n[3]);
    EXPECT_EQ(n[0], texts_.size());
    if (test::runCommand("pocount --help >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Translate Toolkit is not installed";
    ASSERT_EQ(tool("pocount --csv " + path("de.po") + " >" + path("pocount.txt")), 0);
    const std::string pocount = test::readBytes(path("pocount.txt"));
    EXPECT_TRUE(test::says(pocount, "de.po,  " + std::to_string(translated) + ", ")) << pocount;
}

} // namespace
} // namespace edt
