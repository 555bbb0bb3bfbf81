// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's commands without a window: open, select and write, and every write it
// refuses, with the file and the entry's text as they were.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "editor/editor.h"
#include "editor/editor_status.h"
#include "editor/window_notes.h"
#include "platform/folders.h"
#include "record/message.h"
#include "record/text_codec.h"
#include "record/writer.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

class EditorTest : public testing::Test {
public:
    // A file of three entries of the kind its name gives, every byte behind the
    // terminators 0xAB, listed, and one row selected.
    std::string openAndSelect(const std::string& name) {
        const std::string path = make(name, {"first", "Hi!", "third"});
        EXPECT_TRUE(editor.open(path, kindForPath(name), test::codePage()).ok());
        EXPECT_EQ(editor.select(1, u"\n").text, u"Hi!");
        return path;
    }
    std::string make(const std::string& name, const std::vector<std::string>& texts) {
        const std::string path = dir.file(name);
        test::writeBytes(path, samples::makeImage(kindForFileName(name), texts, 0xAB));
        return path;
    }

    test::TempDir dir;
    Editor editor;
};

TEST_F(EditorTest, OpensSelectsAndWritesOnlyTheTextsBytes) {
    const std::string path = make("email.edt", {"Hi!", "", "  two blanks"});
    std::string expected = test::readBytes(path);
    ASSERT_TRUE(editor.open(path, kindForPath("email.edt"), test::codePage()).ok());
    EXPECT_EQ(editor.limitCaption(), "Record Length (Max 315):");
    ASSERT_EQ(editor.entries().size(), 3u);
    EXPECT_EQ(editor.rowOfKey(1281), 2u);
    for (const RecordKey notAKey : {0, 640, 642, 99999})
        EXPECT_FALSE(editor.rowOfKey(notAKey)) << notAKey;
    for (const auto& [row, key, text] :
         {std::tuple{0u, u"0000001", u"Hi!"}, std::tuple{1u, u"0000641", u""},
          std::tuple{2u, u"0001281", u"  two blanks"}}) {
        const Editor::Selection selected = editor.select(row, u"\n");
        EXPECT_EQ(selected.key, key);
        EXPECT_EQ(selected.text, text);
    }
    const Editor::Written written = editor.write(u"0001281", u"caf\u00e9\nok");
    ASSERT_TRUE(written.status.ok()) << describe(written.status);
    EXPECT_EQ(written.row, 2u);
    EXPECT_EQ(editor.entries()[2].text, "caf\xE9\r\nok");
    expected.replace(1280, 20, encodeText("caf\xE9\r\nok"));
    EXPECT_EQ(test::readBytes(path), expected);
}

TEST_F(EditorTest, ReadsAndWritesInTheCodePageOfTheOpen) {
    const std::string path = make("email.edt", {"x", "\xCF\xF0\xE8\xE2\xE5\xF2"}); // Привет
    ASSERT_TRUE(editor.open(path, kindForPath("email.edt"), test::codePage("1251")).ok());
    EXPECT_EQ(editor.select(1, u"\n").text, u"Привет");
    ASSERT_TRUE(editor.write(u"0000641", u"Мир").status.ok());
    EXPECT_EQ(test::readBytes(path).substr(640, 10), encodeText("\xCC\xE8\xF0"));
    const Status refused = editor.write(u"0000641", u"моя").status;
    EXPECT_TRUE(test::says(refused, "'я' (U+044F) (character 3 of the text) cannot be stored"));
}

// Find: keys and texts, any case, forward and back, round the end once.
TEST_F(EditorTest, FindsKeysAndTextsInAnyCaseGoingRoundTheEnd) {
    const std::string path = make("quests.edt", {"Zelvar", "caf\xC9 ZELVAR", "\xD0\xF3\xF1\xFC"});
    ASSERT_TRUE(editor.open(path, kindForPath("quests.edt"), test::codePage("1251")).ok());
    const struct {
        const char16_t* query;
        std::optional<std::size_t> from;
        bool forward;
        std::optional<std::size_t> row;
        bool wrapped;
    } rows[] = {{u"zelvar", std::nullopt, true, 0, false},
                {u"zelvar", 0, true, 1, false},
                {u"zelvar", 1, true, 0, true},
                {u"zelvar", 0, false, 1, true},
                {u"кафЙ", std::nullopt, true, std::nullopt, false},
                {u"cafй", 2, true, 1, true},
                {u"РУСЬ", std::nullopt, false, 2, false},
                {u"161", 2, true, 1, true},
                {u"[0000321]", std::nullopt, true, 2, false},
                {u"nowhere", 0, true, std::nullopt, false}};
    for (const auto& r : rows) {
        const auto found = editor.find(r.query, r.from, r.forward);
        EXPECT_EQ(found ? std::optional(found->row) : std::nullopt, r.row);
        EXPECT_EQ(found && found->wrapped, r.wrapped);
    }
}

// What a window needs around a write: the entry's limit, whether the text box holds a
// change, and one copy of the file before the first write.
TEST_F(EditorTest, TellsTheLimitAndAnEditAndCopiesTheFileOnce) {
    StateFolder state(Backups(dir.file("backups")), dir.file("journals"));
    Editor copying(&state);
    const std::string path = make("quests.edt", {"a", "b"});
    const std::string before = test::readBytes(path);
    ASSERT_TRUE(copying.open(path, kindForPath("quests.edt"), test::codePage()).ok());
    EXPECT_EQ(copying.select(1, u"\n").maxChars, 78u);
    EXPECT_FALSE(copying.isEdited(u"b"));
    EXPECT_TRUE(copying.isEdited(u"b!"));
    for (const char16_t* text : {u"one", u"two"})
        ASSERT_TRUE(copying.write(u"0000161", text).status.ok());
    EXPECT_FALSE(copying.isEdited(u"two"));
    const std::vector<Backups::Copy> copies = state.backups().list(path);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(test::readBytes(copies[0].path), before);
}

TEST_F(EditorTest, OpeningTheSameFileAgainKeepsTheShownKeyWritable) {
    const std::string path = openAndSelect("email.edt");
    ASSERT_TRUE(editor.open(path, kindForPath("email.edt"), test::codePage()).ok());
    EXPECT_TRUE(editor.write(u"0000641", u"kept").status.ok());
    EXPECT_EQ(test::readBytes(path).substr(640, 12), encodeText("kept"));
}

TEST_F(EditorTest, WritesAtKeysOfEightDigits) {
    std::vector<std::string> texts(70000, "entry"); // the last key, 11199841, has 8 digits
    const std::string path = make("quests.edt", texts);
    ASSERT_TRUE(editor.open(path, kindForPath("quests.edt"), test::codePage()).ok());
    EXPECT_EQ(editor.select(69999, u"\n").key, u"11199841");
    ASSERT_TRUE(editor.write(u"11199841", u"last").status.ok());
    EXPECT_EQ(test::readBytes(path).substr(11199840, 12), encodeText("last"));
}

// Every refusal: the reason, nothing written, the entry's text as it was.
struct Refusal {
    const char* name;
    const char* file;
    std::function<void(EditorTest&, Editor&, const std::string& path)> before; // the set-up
    std::u16string key;
    std::u16string text;
    StatusCode code;
    const char* says;
};

void PrintTo(const Refusal& r, std::ostream* out) {
    *out << r.name;
}

class Refusals : public EditorTest, public testing::WithParamInterface<Refusal> {};

TEST_P(Refusals, SayWhyAndWriteNothing) {
    const Refusal& r = GetParam();
    if (r.code == StatusCode::SystemError && ::geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    const std::string path = openAndSelect(r.file);
    r.before(*this, editor, path);
    const bool exists = ::access(path.c_str(), F_OK) == 0;
    const std::string before = exists ? test::readBytes(path) : std::string();
    const Editor::Written written = editor.write(r.key, r.text);
    EXPECT_EQ(written.status.code, r.code) << describe(written.status);
    EXPECT_EQ(written.status.undo, Undo::None);
    const std::string shown = windowMessage(written.status, true);
    EXPECT_TRUE(test::says(shown, r.says));
    EXPECT_EQ(::access(path.c_str(), F_OK) == 0, exists); // a removed file is not made anew
    EXPECT_EQ(exists ? test::readBytes(path) : std::string(), before);
    EXPECT_TRUE(editor.entries().empty() || editor.entries()[1].text == "Hi!");
}

void nothing(EditorTest&, Editor&, const std::string&) {}

INSTANTIATE_TEST_SUITE_P(
    Writes, Refusals,
    testing::Values(
        Refusal{"NoFileOpen", "email.edt",
                [](EditorTest&, Editor& e, const std::string&) { e = Editor(); }, u"", u"orphan",
                EditorCode::NoFileOpen, "No file is open"},
        Refusal{"NoLineSelected", "email.edt", nothing, u"", u"where to?",
                EditorCode::NoLineSelected, "No line is selected"},
        Refusal{"LastOpenFailed", "email.edt",
                [](EditorTest& t, Editor& e, const std::string&) {
                    e.open(t.dir.file("gone.edt"), kindForPath("gone.edt"), test::codePage());
                },
                u"0000641", u"x", EditorCode::FileNotListed, "could not be read"},
        Refusal{"KeyOfAnotherFile", "email.edt",
                [](EditorTest& t, Editor& e, const std::string&) {
                    e.open(t.make("quests.edt", {"other", "Hi!"}), kindForPath("quests.edt"),
                           test::codePage());
                },
                u"0000641", u"x", EditorCode::KeyFromOtherFile, "which was open before"},
        Refusal{"NoEntryAtTheKey", "email.edt", nothing, u"0000642", u"x", StatusCode::BadKey,
                "Key 0000642 is not the start of an entry"},
        Refusal{"TooLong", "quests.edt", nothing, u"0000161", std::u16string(79, u'y'),
                StatusCode::TextTooLong, "holds at most 78"},
        Refusal{"CharacterTheSetLacks", "email.edt", nothing, u"0000641", u"Hi!\u03A9",
                StatusCode::NotInCharacterSet, "U+03A9"},
        Refusal{"CharacterWithNoStoredForm", "email.edt", nothing, u"0000641", u"Hi!\u00FF",
                StatusCode::UnstorableCharacter, "cannot be stored"},
        Refusal{"FileRemoved", "email.edt",
                [](EditorTest&, Editor&, const std::string& p) { std::remove(p.c_str()); },
                u"0000641", u"lost?", StatusCode::FileRemoved, "Open it again"},
        Refusal{"FileChangedByAnotherProgram", "email.edt",
                [](EditorTest&, Editor&, const std::string& p) {
                    ASSERT_TRUE(
                        writeRecord(p, kindForPath("email.edt"), 1, "theirs", test::codePage())
                            .status.ok());
                },
                u"0000641", u"mine", StatusCode::FileChanged, "changed by another program"},
        Refusal{"FileThatMayNotBeWritten", "email.edt",
                [](EditorTest&, Editor&, const std::string& p) { ::chmod(p.c_str(), 0444); },
                u"0000641", u"denied", StatusCode::SystemError, "Permission denied"}),
    [](const testing::TestParamInfo<Refusal>& info) { return info.param.name; });

} // namespace
} // namespace edt
