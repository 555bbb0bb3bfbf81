// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/bench_files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "record/text_codec.h"
#include "tools/sample_files.h"

namespace edt::bench {
namespace {

constexpr std::uint64_t kMegabyte = 1000000;

BenchFile sized(const std::string& name, const std::string& title, BenchFile::Content content,
                std::uint64_t megabytes) {
    BenchFile file;
    file.label = name + "-" + std::to_string(megabytes) + "mb";
    file.title = title;
    file.content = content;
    const std::uint64_t recordLength = static_cast<std::uint64_t>(file.kind().recordLength);
    file.entries = (megabytes * kMegabyte + recordLength / 2) / recordLength *
                   static_cast<std::uint64_t>(file.kind().entriesPerRecord());
    return file;
}

std::uint64_t expectedSize(const BenchFile& file) {
    if (file.content == BenchFile::Content::Sparse)
        return file.size;
    const FileKind kind = file.kind();
    const std::uint64_t perRecord = static_cast<std::uint64_t>(kind.entriesPerRecord());
    return (file.entries + perRecord - 1) / perRecord *
           static_cast<std::uint64_t>(kind.recordLength);
}

std::string systemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

std::string makeSparse(const std::string& path, std::uint64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return systemError("cannot create", path);
    const bool ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    const std::string error = ok ? std::string() : systemError("cannot extend", path);
    ::close(fd);
    return error;
}

} // namespace

std::vector<BenchFile> readerFiles() {
    std::vector<BenchFile> files;
    for (std::uint64_t megabytes : {1, 10, 100}) {
        files.push_back(sized("default", "strings.edt", BenchFile::Content::Samples, megabytes));
        files.push_back(sized("email", "email.edt", BenchFile::Content::Samples, megabytes));
        files.push_back(
            sized("unterminated", "strings.edt", BenchFile::Content::Unterminated, megabytes));
    }
    return files;
}

BenchFile entriesFile(std::uint64_t entries) {
    BenchFile file;
    file.label = "entries-" + std::to_string(entries);
    file.title = "strings.edt";
    file.entries = entries;
    return file;
}

BenchFile smallWriteFile() {
    BenchFile file;
    file.label = "write-10kb";
    file.title = "strings.edt";
    file.entries = 21; // 21 records of 480 bytes: 10,080 bytes
    return file;
}

BenchFile sparseWriteFile() {
    BenchFile file;
    file.label = "write-1gib";
    file.title = "strings.edt";
    file.content = BenchFile::Content::Sparse;
    file.size = std::uint64_t{1} << 30;
    return file;
}

std::vector<BenchFile> allFiles() {
    std::vector<BenchFile> files = readerFiles();
    for (std::uint64_t entries : {10, 1000, 10000, 100000, 1000000})
        files.push_back(entriesFile(entries));
    files.push_back(smallWriteFile());
    files.push_back(sparseWriteFile());
    return files;
}

std::string generate(const BenchFile& file, const std::string& dir) {
    const std::string folder = dir + "/" + file.label;
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        return systemError("cannot create", folder);
    const std::string path = file.path(dir);
    if (file.content == BenchFile::Content::Sparse)
        return makeSparse(path, file.size);

    const bool isWriteTarget = file.label.rfind("write-", 0) == 0;
    struct stat info {};
    if (!isWriteTarget && ::stat(path.c_str(), &info) == 0 &&
        static_cast<std::uint64_t>(info.st_size) == expectedSize(file))
        return {};

    const FileKind kind = file.kind();
    std::vector<std::string> texts;
    if (file.content == BenchFile::Content::Samples) {
        texts = samples::sampleTexts(kind, file.entries);
    } else {
        // One character more than fits with a terminator: makeImage then fills the
        // whole entry with characters and no zero pair.
        texts.reserve(static_cast<std::size_t>(file.entries));
        for (std::uint64_t i = 0; i < file.entries; ++i) {
            const int length = kind.isSplit()
                                   ? (i % 2 ? kind.secondFieldLength : kind.firstFieldLength)
                                   : kind.recordLength;
            std::string text = samples::sampleText(i, maxCharsForEntry(length));
            text.resize(static_cast<std::size_t>(length / 2), 'x');
            texts.push_back(std::move(text));
        }
    }
    if (!samples::writeWholeFile(path, samples::makeImage(kind, texts)))
        return "cannot write " + path;
    return {};
}

} // namespace edt::bench
