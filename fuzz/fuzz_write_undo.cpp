// SPDX-License-Identifier: GPL-3.0-or-later
// Writing several entries through the journal while the file layer fails at any step:
// a write or flush of the journal, its folder or the file refused, torn halfway or
// interrupted, a read or a shortening refused, and now and then another program
// writing over an entry meanwhile. Linked with --wrap for pread, pwrite, fsync and
// ftruncate. Whatever happens, the file is all written, or as it was (but for the
// other program's bytes), or the status says it may be damaged and the next opening
// rolls it back from the kept journal.
#include <cerrno>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "record/message.h"
#include "record/open_file.h"
#include "record/text_codec.h"
#include "tests/support/test_support.h"
#include "tests/support/wrapped_calls.h"
#include "tools/sample_files.h"

namespace {

// The failure armed for one input: call number `at` of all hooked calls fails in the
// way `how` says; with `otherAt`, another program writes at `otherOffset` first.
struct Plan {
    bool armed = false;
    int calls = 0;
    int at = -1;
    int how = 0;
    int otherAt = -1;
    int otherFd = -1;
    off_t otherOffset = 0;
    std::size_t otherLength = 0; // within one entry's span: a later write covers it all
};
Plan plan;

// Whether this call fails; also lets the other program in at its turn.
bool failsNow() {
    if (!plan.armed)
        return false;
    const int call = plan.calls++;
    if (call == plan.otherAt && plan.otherFd >= 0)
        __real_pwrite(plan.otherFd, "OTHER", plan.otherLength, plan.otherOffset);
    return call == plan.at;
}

ssize_t fail(int error) {
    errno = error;
    return -1;
}

constexpr int kErrors[] = {EIO, ENOSPC, EINTR, EDQUOT};

} // namespace

extern "C" {
ssize_t __wrap_pread(int fd, void* buffer, size_t length, off_t offset) {
    if (failsNow())
        return fail(kErrors[plan.how % 4]);
    return __real_pread(fd, buffer, length, offset);
}
ssize_t __wrap_pwrite(int fd, const void* data, size_t length, off_t offset) {
    if (failsNow()) {
        if (plan.how % 2 == 0 && length > 1)
            return __real_pwrite(fd, data, length / 2, offset); // torn; the rest goes on
        return fail(kErrors[plan.how % 4]);
    }
    return __real_pwrite(fd, data, length, offset);
}
int __wrap_fsync(int fd) {
    if (failsNow())
        return static_cast<int>(fail(kErrors[plan.how % 4]));
    return __real_fsync(fd);
}
int __wrap_ftruncate(int fd, off_t length) {
    if (failsNow())
        return static_cast<int>(fail(EIO));
    return __real_ftruncate(fd, length);
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using edt::StatusCode;
    using edt::Undo;
    edt::fuzz::ByteStream in(data, size);
    const std::string name = edt::fuzz::kKindNames[in.byte() % edt::fuzz::kKindCount];
    const edt::FileKind kind = edt::kindForFileName(name);
    const std::uint64_t entries = 1 + in.byte() % 6;
    const std::string image =
        edt::samples::makeImage(kind, edt::samples::sampleTexts(kind, entries), 'q');
    const std::string& dir = edt::fuzz::scratchDir();
    const std::string path = dir + "/" + name;
    edt::fuzz::writeWholeFile(path, image);
    const edt::EntryLayout layout(kind, image.size());

    // Distinct entries, texts that fit.
    std::vector<edt::EntryWrite> writes;
    std::string expected = image;
    for (std::uint64_t index = 0; index < layout.entryCount(); ++index) {
        if (in.byte() % 2)
            continue;
        const int most = edt::maxCharsForEntry(layout.lengthOf(index));
        const std::string text(in.byte() % (most + 1), static_cast<char>('A' + in.byte() % 26));
        writes.push_back({layout.keyOf(index), text});
        const std::string stored = edt::encodeText(text);
        expected.resize(std::max(expected.size(), layout.keyOf(index) - 1 + stored.size()));
        expected.replace(layout.keyOf(index) - 1, stored.size(), stored);
    }
    plan = Plan{};
    plan.at = in.byte() % 24;
    plan.how = in.byte();
    const bool other = in.byte() % 4 == 0;
    int otherFd = -1;
    if (other && !writes.empty()) {
        otherFd = ::open(path.c_str(), O_WRONLY);
        plan.otherFd = otherFd;
        plan.otherAt = in.byte() % 24;
        const edt::EntryWrite& target = writes[in.byte() % writes.size()];
        plan.otherOffset = static_cast<off_t>(target.key - 1);
        plan.otherLength = std::min<std::size_t>(5, edt::encodeText(target.text).size());
    }

    edt::StateFolder state(edt::Backups(""), dir + "/journals");
    edt::OpenFile file;
    FUZZ_CHECK(file.open(path, edt::kindForPath(name), &state).ok());
    plan.armed = true;
    const edt::WriteResult result = file.write(writes, edt::test::codePage());
    plan.armed = false;
    file.close();
    if (otherFd >= 0)
        ::close(otherFd);
    const bool otherWrote = plan.otherAt >= 0 && plan.otherAt < plan.calls;
    const std::string after = edt::fuzz::readWholeFile(path);
    const auto withOther = [&](std::string bytes) {
        if (otherWrote)
            bytes.replace(static_cast<std::size_t>(plan.otherOffset), plan.otherLength,
                          std::string("OTHER", plan.otherLength));
        return bytes;
    };

    FUZZ_CHECK(result.status.ok() || !edt::describe(result.status).empty());
    if (result.status.ok()) {
        FUZZ_CHECK(after == withOther(expected) || after == expected);
    } else if (result.status.undo == Undo::None || result.status.undo == Undo::PutBack) {
        // The other program's bytes are gone where this write covered them later.
        FUZZ_CHECK(after == withOther(image) || after == image);
    } else if (result.status.undo == Undo::AroundOthers) {
        FUZZ_CHECK(otherWrote);
    } else {
        // The kept journal lets the next opening put back what the undo could not.
        FUZZ_CHECK(result.status.journalKept);
        FUZZ_CHECK(file.open(path, edt::kindForPath(name), &state).ok());
        const std::optional<edt::Status> note = file.note();
        FUZZ_CHECK(note && note->code == StatusCode::WriteRolledBack);
        const std::string rolledBack = edt::fuzz::readWholeFile(path);
        FUZZ_CHECK(rolledBack == withOther(image) || rolledBack == image ||
                   (otherWrote && note->limit > 0));
    }
    FUZZ_CHECK(!edt::Journal(dir + "/journals", path).exists());
    return 0;
}
