// SPDX-License-Identifier: GPL-3.0-or-later
// PO files as gettext's own tools write them must import back. The tools come from
// Debian's gettext package.
#include <gtest/gtest.h>

#include <algorithm>

#include "record/reader.h"
#include "record/writer.h"
#include "tests/cli/tool_run.h"
#include "tests/support/entry_lines.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tests/translate/translation_files.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

using test::decodeEntries;
using test::TempDir;

class GettextTools : public testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.file("email.edt");
        const FileKind kind = kindForFileName("email.edt");
        std::vector<std::string> texts = samples::sampleTexts(kind, 300);
        texts.insert(texts.end(), test::trickyTexts().begin(), test::trickyTexts().end());
        test::writeBytes(file_, samples::makeImage(kind, texts, 0xC3));
        original_ = test::readBytes(file_);
        ASSERT_EQ(test::runTool({"export", file_, "-o", path("template.po")}).code, 0);
    }
    std::string path(const std::string& name) const { return dir_.file(name); }
    int tool(const std::string& arguments) {
        return test::runCommand(arguments + " 2>>" + path("gettext.log"));
    }

    TempDir dir_;
    std::string file_, original_;
};

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

} // namespace
} // namespace edt
