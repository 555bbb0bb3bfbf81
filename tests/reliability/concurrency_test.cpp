// SPDX-License-Identifier: GPL-3.0-or-later
// Two programs importing into one file at once, round after round: the write lock
// lets one write at a time, and the other refuses or writes after it; the file ends
// as one import or the other, and what each says matches what the file holds.
#include <chrono>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "record/entry_line.h"
#include "tests/cli/tool_run.h"
#include "tests/support/says.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"

namespace edt {
namespace {

struct Outcome {
    int code = -1;
    std::string err;
};

// Starts an import in a child; wait() gives its exit code and what it said.
class Importer {
public:
    Importer(const std::string& file, const std::string& csv) {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ends[0]);
            const test::ToolRun run = test::runTool({"import", file, csv});
            ::write(ends[1], run.err.data(), run.err.size());
            ::_exit(run.code);
        }
        ::close(ends[1]);
        fd_ = ends[0];
    }
    Outcome wait() {
        Outcome outcome;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;)
            outcome.err.append(buffer, static_cast<std::size_t>(n));
        ::close(fd_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return outcome;
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
};

TEST(ConcurrentImports, EndAsOneOrTheOtherAndSaySo) {
    test::TempDir dir, state;
    ::setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    const FileKind kind = kindForFileName("email.edt");
    constexpr int kEntries = 3000;
    const std::string original = samples::makeImage(kind, samples::sampleTexts(kind, kEntries));
    const std::string file = dir.file("email.edt");
    std::string results[2];
    std::string csvs[2];
    for (int side = 0; side < 2; ++side) {
        std::string csv = "key,text\r\n";
        for (int i = 0; i < kEntries; ++i)
            csv +=
                formatKey(1 + 640 * i) + "," + "AB"[side] + " text " + std::to_string(i) + "\r\n";
        csvs[side] = dir.file(std::string("side") + "ab"[side] + ".csv");
        test::writeBytes(csvs[side], csv);
        test::writeBytes(file, original);
        ASSERT_EQ(test::runTool({"import", file, csvs[side]}).code, 0);
        results[side] = test::readBytes(file);
    }

    int rounds = 0, bothWrote = 0, oneRefused = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (rounds < 40 && std::chrono::steady_clock::now() < until) {
        ++rounds;
        test::writeBytes(file, original);
        Importer a(file, csvs[0]), b(file, csvs[1]);
        const Outcome outcomes[2] = {a.wait(), b.wait()};
        const std::string now = test::readBytes(file);
        const int last = now == results[0] ? 0 : now == results[1] ? 1 : -1;
        ASSERT_NE(last, -1) << "round " << rounds << ": the file is a mix of both imports";
        EXPECT_EQ(outcomes[last].code, 0) << outcomes[last].err;
        const Outcome& other = outcomes[1 - last];
        if (other.code == 0) {
            ++bothWrote; // one after the other: the last one's texts stand
            continue;
        }
        ++oneRefused;
        EXPECT_EQ(other.code, 1);
        EXPECT_TRUE(other.err.find("Another program is writing this file") != std::string::npos ||
                    other.err.find("has been changed by another program") != std::string::npos)
            << other.err;
        EXPECT_TRUE(test::says(other.err, "Nothing was written"));
    }
    std::printf("%d rounds: %d with both imports written in turn, %d with one refused\n", rounds,
                bothWrote, oneRefused);
    EXPECT_GE(rounds, 5);
}

} // namespace
} // namespace edt
