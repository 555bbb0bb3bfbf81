// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of a file taken before edt-tool first writes into it: made in the file's own
// folder, pruned (the original and the newest kept), left out when asked, when the file
// is too large or when the write is refused; a write refused when it cannot be made;
// listed and put back by the backups and restore commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "record/backups.h"
#include "tests/cli/tool_run.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

namespace fs = std::filesystem;

class BackupCopies : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("EDT_NO_BACKUP");
        ::setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
        file_ = dir_.file("email.edt");
        const FileKind kind = kindForFileName("email.edt");
        original_ = samples::makeImage(kind, samples::sampleTexts(kind, 3));
        test::writeBytes(file_, original_);
        folder_ = Backups(state_.path() + "/edt-editor/backups").folderOf(file_);
    }
    void TearDown() override { ::setenv("EDT_NO_BACKUP", "1", 1); }

    std::vector<std::string> copies() const {
        std::vector<std::string> names;
        if (fs::exists(folder_))
            for (const auto& entry : fs::directory_iterator(folder_))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir dir_, state_;
    std::string folder_, file_, original_;
};

TEST_F(BackupCopies, EachRunCopiesTheFileOnceAfterItsChecksIntoItsOwnPrivateFolder) {
    ASSERT_EQ(test::runTool({"write", file_, "641", std::string(400, 'x')}).code, 1);
    EXPECT_TRUE(copies().empty()); // refused before it touched the file
    const fs::perms mine = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(file_, mine);
    const mode_t mask = ::umask(022);
    ASSERT_EQ(test::runTool({"write", file_, "641", "one"}).code, 0);
    ::umask(mask);
    ASSERT_EQ(copies().size(), 2u);
    EXPECT_EQ(fs::status(folder_ + "/" + copies()[0]).permissions(), mine);
    for (const std::string& folder : {folder_, state_.file("edt-editor/journals")})
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << folder;
    EXPECT_EQ(copies()[0].rfind("email.edt.20", 0), 0u) << copies()[0];
    EXPECT_EQ(test::readBytes(folder_ + "/" + copies()[0]), original_);
    EXPECT_EQ(test::readBytes(folder_ + "/path"), fs::canonical(file_).string() + "\n");
    // Another run copies it again, unless told not to.
    ASSERT_EQ(test::runTool({"write", file_, "641", "two"}).code, 0);
    ASSERT_EQ(test::runTool({"--no-backup", "write", file_, "641", "three"}).code, 0);
    ::setenv("EDT_NO_BACKUP", "1", 1);
    ASSERT_EQ(test::runTool({"write", file_, "641", "four"}).code, 0);
    EXPECT_EQ(copies().size(), 3u);
}

TEST_F(BackupCopies, TheOriginalAndTheTwentyNewestAreKeptInTheOrderOfTheirTime) {
    fs::create_directories(folder_);
    test::writeBytes(folder_ + "/email.edt.2020-01-01_00-00-00", "original");
    test::writeBytes(folder_ + "/email.edt.2020-01-01_00-00-01", "old");
    for (int n = 2; n <= 25; ++n) // in one second: -10 is newer than -9
        test::writeBytes(folder_ + "/email.edt.2020-01-01_00-00-01-" + std::to_string(n), "old");
    test::writeBytes(folder_ + "/email.edt.2020-01-01_00-00-01-3.Ab12Cd", "left by a kill");
    ASSERT_EQ(test::runTool({"write", file_, "641", "x"}).code, 0);
    const std::vector<std::string> kept = copies();
    ASSERT_EQ(kept.size(), 1u + 1u + 20u); // its path, the original and the 20 newest
    for (const char* name : {"email.edt.2020-01-01_00-00-00", "email.edt.2020-01-01_00-00-01-7",
                             "email.edt.2020-01-01_00-00-01-10", "path"})
        EXPECT_TRUE(std::count(kept.begin(), kept.end(), name)) << name;
    for (const char* name : {"email.edt.2020-01-01_00-00-01-6", "email.edt.2020-01-01_00-00-01",
                             "email.edt.2020-01-01_00-00-01-3.Ab12Cd"})
        EXPECT_FALSE(std::count(kept.begin(), kept.end(), name)) << name;

    const test::ToolRun listed = test::runTool({"backups", file_});
    EXPECT_EQ(listed.code, 0) << listed.err;
    EXPECT_TRUE(test::says(listed.out, "2020-01-01 00:00:00           8 bytes  "
                                       "email.edt.2020-01-01_00-00-00  (the original)\n"));
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 22);
}

TEST_F(BackupCopies, RestorePutsBackTheNewestOrTheNamedCopyAfterCopyingThePresent) {
    const test::ToolRun none = test::runTool({"restore", file_});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(test::says(none.err, "There is no backup of"));
    ASSERT_EQ(test::runTool({"write", file_, "641", "changed"}).code, 0);
    const std::string changed = test::readBytes(file_);
    const std::string first = copies()[0];

    const test::ToolRun restored = test::runTool({"restore", file_});
    EXPECT_EQ(restored.code, 0) << restored.err;
    EXPECT_EQ(restored.out, "Restored \"" + file_ + "\" from the backup " + first + ".\n");
    EXPECT_EQ(test::readBytes(file_), original_);
    ASSERT_EQ(copies().size(), 3u); // the present state went first
    EXPECT_EQ(test::readBytes(folder_ + "/" + copies()[1]), changed);

    EXPECT_EQ(test::runTool({"restore", file_, copies()[1]}).code, 0);
    EXPECT_EQ(test::readBytes(file_), changed);
    const test::ToolRun wrong = test::runTool({"restore", file_, "email.edt.1999"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(test::says(wrong.err, "\"email.edt.1999\" is not a backup of"));
    // A link planted as the newest copy is no copy.
    test::writeBytes(dir_.file("private"), "private");
    fs::create_symlink(dir_.file("private"), folder_ + "/email.edt.2099-01-01_00-00-00");
    EXPECT_EQ(test::runTool({"restore", file_}).code, 0);
    EXPECT_NE(test::readBytes(file_), "private");
}

TEST_F(BackupCopies, AWriteIsRefusedWhenTheCopyCannotBeMadeAndALargeFileGoesWithout) {
    test::writeBytes(state_.file("edt-editor"), "a file where the folder should be");
    const test::ToolRun refused = test::runTool({"write", file_, "641", "x"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(test::says(refused.err, "Cannot copy \"" + file_ + "\" to the backups in"));
    EXPECT_TRUE(test::says(refused.err, "Nothing was written"));
    EXPECT_EQ(test::readBytes(file_), original_);
    fs::remove(state_.file("edt-editor"));
    // A state folder that other users may write into is no place for them.
    fs::permissions(state_.path(), fs::perms::all);
    const test::ToolRun shared = test::runTool({"write", file_, "641", "x"});
    EXPECT_TRUE(test::says(shared.err, "\"" + state_.path() + "\" may be written into by other"));
    EXPECT_EQ(test::readBytes(file_), original_);
    fs::permissions(state_.path(), fs::perms::owner_all);

    fs::resize_file(file_, (std::uintmax_t{64} << 20) + 640);
    const test::ToolRun large = test::runTool({"write", file_, "641", "x"});
    EXPECT_EQ(large.code, 0) << large.err;
    EXPECT_TRUE(test::says(large.err, "note: \"" + file_ + "\" is 67109504 bytes long"));
}

} // namespace
} // namespace edt
