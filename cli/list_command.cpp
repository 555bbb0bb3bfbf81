// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/list_command.h"

#include <cerrno>
#include <memory>

#include "cli/escape.h"
#include "cli/listed_text.h"
#include "cli/tool.h"
#include "record/entry_line.h"
#include "record/file_kind.h"
#include "record/reader.h"

namespace edt::cli {
namespace {

// Output is gathered and written in large pieces; a listing can be hundreds of MB.
// Lines are written straight into the buffer, which is flushed whenever the room
// left might not hold the next line.
class OutputBuffer {
public:
    explicit OutputBuffer(std::FILE* out) : out_(out), buffer_(new char[kSize]) {}
    // Where the next `bytes` bytes go; flushes first when they might not fit.
    char* room(std::size_t bytes) {
        if (bytes > kSize - used_)
            flush();
        return buffer_.get() + used_;
    }
    void commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
    void flush() {
        if (used_ != 0 && std::fwrite(buffer_.get(), 1, used_, out_) != used_ && error_ == 0)
            error_ = errno;
        used_ = 0;
    }
    // Writes what is left and tells a failure of any write.
    int finish(std::FILE* err) {
        flush();
        if (error_ == 0 && std::fflush(out_) != 0)
            error_ = errno;
        if (error_ == 0)
            return kExitOk;
        return refuse(err, Status::system(os::errnoFailure(os::Op::Write, error_), "-"), false);
    }

private:
    static constexpr std::size_t kSize = 1 << 20;
    std::FILE* out_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    int error_ = 0;
};

// The longest line of an entry of `length` bytes: "[", a key of up to 20 digits,
// "] ", the escaped text, "\n".
std::size_t maxLineLength(std::size_t length) {
    return 24 + Escaper::kMaxEscapedChar * length + Escaper::kSlack;
}

} // namespace

int listCommand(const std::string& path, const CodePage& codePage, std::FILE* out,
                std::FILE* err) {
    const Escaper escaper(codePage);
    const FileKind kind = kindForFileName(fileTitleOf(path));
    OutputBuffer output(out);
    {
        char* line = output.room(kind.limitCaption.size() + 1);
        line = kind.limitCaption.copy(line, kind.limitCaption.size()) + line;
        *line++ = '\n';
        output.commit(line);
    }
    // Room for the decoded text of any entry (no entry is longer than a record).
    std::unique_ptr<char[]> scratch(new char[static_cast<std::size_t>(kind.recordLength)]);
    const Status status = visitEntryBytes(
        path, kind,
        [&](RecordKey key, const unsigned char* bytes, std::size_t available, std::size_t length) {
            char* line = output.room(maxLineLength(length));
            *line++ = '[';
            line = writeKey(line, key);
            *line++ = ']';
            *line++ = ' ';
            line = writeListedText(line, bytes, available, length, scratch.get(), escaper);
            *line++ = '\n';
            output.commit(line);
        });
    if (!status.ok())
        return refuse(err, status, false);
    return output.finish(err);
}

} // namespace edt::cli
