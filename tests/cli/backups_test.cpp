// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of a file taken before edt-tool first writes into it: made, pruned, left out
// when asked or when the file is too large, and a write refused when it cannot be made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/cli/tool_run.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

namespace fs = std::filesystem;

class Backups : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("EDT_NO_BACKUP");
        ::setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
        file_ = dir_.file("email.edt");
        const FileKind kind = kindForFileName("email.edt");
        original_ = samples::makeImage(kind, samples::sampleTexts(kind, 3));
        test::writeBytes(file_, original_);
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
    const std::string folder_ = state_.path() + "/edt-editor/backups";
    std::string file_, original_;
};

TEST_F(Backups, EachRunCopiesTheFileBeforeItsFirstWrite) {
    ASSERT_EQ(test::runTool({"write", file_, "641", "one"}).code, 0);
    ASSERT_EQ(copies().size(), 1u);
    EXPECT_EQ(copies()[0].rfind("email.edt.20", 0), 0u) << copies()[0];
    EXPECT_EQ(test::readBytes(folder_ + "/" + copies()[0]), original_);
    // Another run copies it again, unless told not to.
    ASSERT_EQ(test::runTool({"write", file_, "641", "two"}).code, 0);
    ASSERT_EQ(test::runTool({"--no-backup", "write", file_, "641", "three"}).code, 0);
    ::setenv("EDT_NO_BACKUP", "1", 1);
    ASSERT_EQ(test::runTool({"write", file_, "641", "four"}).code, 0);
    EXPECT_EQ(copies().size(), 2u);
}

TEST_F(Backups, TheTwentyNewestOfANameAreKept) {
    fs::create_directories(folder_);
    for (int n = 10; n < 35; ++n) // older copies, and one of another file
        test::writeBytes(folder_ + "/email.edt.2020-01-01_00-00-" + std::to_string(n), "old");
    test::writeBytes(folder_ + "/email.2020-01-01_00-00-00", "another file's");
    ASSERT_EQ(test::runTool({"write", file_, "641", "x"}).code, 0);
    const std::vector<std::string> kept = copies();
    ASSERT_EQ(kept.size(), 21u);
    EXPECT_EQ(kept[0], "email.2020-01-01_00-00-00");
    EXPECT_EQ(kept[1], "email.edt.2020-01-01_00-00-16");
}

TEST_F(Backups, AWriteIsRefusedWhenTheCopyCannotBeMadeAndALargeFileGoesWithout) {
    test::writeBytes(state_.file("edt-editor"), "a file where the folder should be");
    const test::ToolRun refused = test::runTool({"write", file_, "641", "x"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Cannot copy \"" + file_ + "\" to the backups in"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("Nothing was written"), std::string::npos);
    EXPECT_EQ(test::readBytes(file_), original_);

    fs::resize_file(file_, (std::uintmax_t{64} << 20) + 640);
    const test::ToolRun large = test::runTool({"write", file_, "641", "x"});
    EXPECT_EQ(large.code, 0) << large.err;
    EXPECT_NE(large.err.find("note: \"" + file_ + "\" is 67109504 bytes long"), std::string::npos)
        << large.err;
}

} // namespace
} // namespace edt
