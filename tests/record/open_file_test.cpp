// SPDX-License-Identifier: GPL-3.0-or-later
// An open file's back up, journal, lock and write: the journal of a write cut short
// rolled back by the next opening (only where its bytes are still there), torn or stale journals, a
// file locked by another writer, and no state folder.
#include <filesystem>
#include <gtest/gtest.h>

#include "record/journal.h"
#include "record/message.h"
#include "record/open_file.h"
#include "record/text_codec.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

class OpenFileTest : public testing::Test {
protected:
    void SetUp() override {
        const FileKind kind = kindForFileName("email.edt");
        before_ = samples::makeImage(kind, samples::sampleTexts(kind, 3), 'q');
        test::writeBytes(path_, before_);
    }

    // A journal of writes at keys 1 and 641 left behind as a kill leaves it: with the
    // first entry written and the second torn halfway.
    void interrupt() {
        FileIdentity id;
        ASSERT_TRUE(os::identityAt(path_, id));
        for (const RecordKey key : {1, 641}) {
            const std::string after = encodeText("new text at " + std::to_string(key));
            changes_.push_back({key - 1, before_.substr(key - 1, after.size()), after});
        }
        ASSERT_TRUE(journal().begin(id, changes_).ok());
        std::string torn = before_;
        torn.replace(0, changes_[0].after.size(), changes_[0].after);
        torn.replace(640, changes_[1].after.size() / 2, changes_[1].after, 0,
                     changes_[1].after.size() / 2);
        test::writeBytes(path_, torn);
    }

    test::TempDir dir_;
    const std::string path_ = dir_.file("email.edt");
    const std::string journals_ = dir_.file("journals");
    StateFolder state_{Backups(dir_.file("backups")), journals_};
    Journal journal() const { return Journal(journals_, path_); }
    // What opening the file at `path` says: its note, or why it cannot be opened.
    std::optional<Status> open(const std::string& path) {
        OpenFile file;
        const Status opened = file.open(path, kindForPath(path), &state_);
        return opened.ok() ? file.note() : opened;
    }
    WriteResult write(std::string_view text, StateFolder* state = nullptr) {
        OpenFile file;
        WriteResult result;
        result.status = file.open(path_, kindForPath(path_), state ? state : &state_);
        return result.status.ok() ? file.writeRecord(1281, text, test::codePage()) : result;
    }
    std::string before_;
    std::vector<Change> changes_;
};

TEST_F(OpenFileTest, TheNextOpeningRollsBackWhatTheWriteStillHoldsAndSaysSo) {
    interrupt();
    // Another program changed a byte of the second entry since: that byte stays, the
    // write's own go back, as an undo within the writing program does.
    std::string bytes = test::readBytes(path_);
    bytes[641] = '!';
    test::writeBytes(path_, bytes);
    // Opened through another name of the same file, its journal is found all the same.
    std::filesystem::create_hard_link(path_, dir_.file("other name.edt"));
    const std::optional<Status> note = open(dir_.file("other name.edt"));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->code, StatusCode::WriteRolledBack);
    EXPECT_TRUE(test::says(*note, "A write into \"" + dir_.file("other name.edt") + "\" "));
    EXPECT_TRUE(test::says(*note, "was interrupted; the previous bytes of its 1 entry were put "
                                  "back from its journal, so the file is as it was before that "
                                  "write except 1 entry that another program has changed"));
    bytes = before_;
    bytes[641] = '!';
    EXPECT_EQ(test::readBytes(path_), bytes);
    EXPECT_FALSE(journal().exists());
    EXPECT_FALSE(open(path_));
}

TEST_F(OpenFileTest, ATornJournalIsDroppedADamagedOneKeptAndAJournalOfAnotherFileLeft) {
    interrupt();
    const std::string torn = test::readBytes(path_);
    const std::string full = test::readBytes(journal().path());
    // Cut short while the file was still as its header found it: the write never began.
    std::filesystem::remove(journal().path());
    test::writeBytes(path_, before_);
    FileIdentity id;
    ASSERT_TRUE(os::identityAt(path_, id));
    ASSERT_TRUE(journal().begin(id, changes_).ok());
    const std::string fresh = test::readBytes(journal().path());
    for (const std::size_t kept : {std::size_t{0}, std::size_t{5}, fresh.size() - 3}) {
        test::writeBytes(journal().path(), fresh.substr(0, kept));
        EXPECT_FALSE(open(path_)) << kept;
        EXPECT_FALSE(journal().exists()) << kept;
    }
    // The same journal once the file has changed, or one not this user's own plain
    // file: kept and named, and no write goes on until it is discarded.
    test::writeBytes(path_, torn);
#ifdef _WIN32
    for (const bool linked : {false}) { // links need rights Windows rarely gives
#else
    for (const bool linked : {false, true}) {
#endif
        test::writeBytes(dir_.file("cut"), full.substr(0, full.size() - 3));
        if (linked)
            std::filesystem::create_symlink(dir_.file("cut"), journal().path());
        else
            std::filesystem::rename(dir_.file("cut"), journal().path());
        const std::optional<Status> kept = open(path_);
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->code, StatusCode::JournalUnusable);
        EXPECT_TRUE(test::says(*kept, linked ? "not a plain file of this user's own"
                                             : "cannot be played back now: it is damaged. The "
                                               "file may be half-written"));
        const WriteResult refused = write("x");
        EXPECT_EQ(refused.status.code, StatusCode::JournalUnusable);
        EXPECT_EQ(test::readBytes(path_), torn);
        OpenFile file;
        ASSERT_TRUE(file.open(path_, kindForPath(path_), &state_).ok());
        EXPECT_TRUE(file.discardJournal());
        EXPECT_FALSE(journal().exists());
    }

    test::writeBytes(journal().path(), full);
    test::writeBytes(dir_.file("new"), torn);
    std::filesystem::rename(dir_.file("new"), path_); // replaces it on Windows too
    const std::optional<Status> note = open(path_);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->code, StatusCode::JournalDiscarded);
    EXPECT_EQ(test::readBytes(path_), torn);
    EXPECT_FALSE(journal().exists());
}

TEST_F(OpenFileTest, AContentMadeLongerIsCutBackAndAJournalReachingPastTheFileIsKept) {
    // The new length reached the disk before the bytes appended: zeros there.
    FileIdentity id;
    ASSERT_TRUE(os::identityAt(path_, id));
    const std::string longer = std::string(100, 'N') + before_.substr(100) + std::string(700, 'L');
    ASSERT_TRUE(journal().begin(id, {{0, before_, longer}}).ok());
    test::writeBytes(path_, longer.substr(0, 100) + before_.substr(100) + std::string(700, '\0'));
    ASSERT_EQ(open(path_)->code, StatusCode::WriteRolledBack);
    EXPECT_EQ(test::readBytes(path_), before_);
    // Planted: a valid journal whose span lies past the file's end.
    ASSERT_TRUE(journal().begin(id, {{id.size + 1000, "XY", "ab"}}).ok());
    EXPECT_TRUE(test::says(*open(path_), "it is not a journal of this file"));
    EXPECT_EQ(test::readBytes(path_), before_);
}

TEST_F(OpenFileTest, OpeningRollsBackFirstAndNoWriteGoesOnWhileLocked) {
    interrupt();
    OpenFile file;
    ASSERT_TRUE(file.open(path_, kindForPath(path_), &state_).ok());
    ASSERT_TRUE(file.note());
    EXPECT_EQ(file.note()->code, StatusCode::WriteRolledBack);
    WriteResult result = file.writeRecord(1281, "third", test::codePage());
    ASSERT_TRUE(result.status.ok()) << describe(result.status);
    file.close();
    std::string expected = before_;
    const std::string third = encodeText("third");
    expected.replace(1280, third.size(), third);
    EXPECT_EQ(test::readBytes(path_), expected);
    EXPECT_FALSE(journal().exists());
    ASSERT_EQ(state_.backups().list(path_).size(), 1u);
    EXPECT_EQ(test::readBytes(state_.backups().list(path_)[0].path), before_);

    os::File other; // another program in the middle of its write
    ASSERT_TRUE(other.open(path_, os::File::Mode::Update).ok());
    ASSERT_TRUE(other.lock(0));
    interrupt(); // its journal: not to be rolled back while it writes
    result = write("late");
    EXPECT_EQ(describe(result.status, true),
              "Another program is writing this file: \"" + path_ +
                  "\". Try again once it is done. Nothing was written.");
    other.close();
    EXPECT_TRUE(open(path_));
}

TEST_F(OpenFileTest, WithoutAStateFolderNothingIsWritten) {
    StateFolder nowhere(Backups(""), "");
    const WriteResult result = write("x", &nowhere);
    EXPECT_EQ(result.status.code, StatusCode::NoStateFolder);
    EXPECT_TRUE(test::says(describe(result.status, true), "there is no folder for the journal"));
    EXPECT_EQ(test::readBytes(path_), before_);
}

} // namespace
} // namespace edt
