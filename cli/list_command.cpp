#include "cli/list_command.h"

#include "cli/escape.h"
#include "cli/tool.h"
#include "record/file_kind.h"
#include "record/reader.h"

namespace edt::cli {
namespace {

// Output is gathered and written in large pieces; a listing can be hundreds of MB.
class OutputBuffer {
public:
    explicit OutputBuffer(std::FILE* out) : out_(out) { buffer_.reserve(kFlushAt + 4096); }
    std::string& text() { return buffer_; }
    void maybeFlush() {
        if (buffer_.size() >= kFlushAt)
            flush();
    }
    void flush() {
        if (!buffer_.empty() &&
            std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size())
            failed_ = true;
        buffer_.clear();
    }
    bool failed() const { return failed_; }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    std::FILE* out_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace

int listCommand(const std::string& path, std::FILE* out, std::FILE* err) {
    const FileKind kind = kindForFileName(fileTitleOf(path));
    OutputBuffer output(out);
    output.text() += kind.limitCaption;
    output.text() += '\n';
    const Status status = visitEntries(path, kind, [&](RecordKey key, std::string_view text) {
        std::string& line = output.text();
        line += '[';
        line += formatKey(key);
        line += "] ";
        appendEscaped(line, text);
        line += '\n';
        output.maybeFlush();
    });
    if (!status.ok()) {
        std::fprintf(err, "edt-tool: %s\n", status.message.c_str());
        return kExitRefused;
    }
    output.flush();
    if (output.failed() || std::fflush(out) != 0) {
        std::fprintf(err, "edt-tool: cannot write the listing to standard output.\n");
        return kExitRefused;
    }
    return kExitOk;
}

} // namespace edt::cli
