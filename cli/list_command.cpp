// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/list_command.h"

#include "cli/listed_text.h"
#include "cli/output_buffer.h"
#include "cli/parallel_lines.h"
#include "cli/tool.h"
#include "record/entry_line.h"
#include "record/escaped_text.h"
#include "record/file_kind.h"
#include "record/reader.h"

namespace edt::cli {
namespace {

// The longest line of an entry of `length` bytes: "[", a key of up to 20 digits,
// "] ", the escaped text, "\n".
std::size_t maxLineLength(std::size_t length) {
    return 24 + Escaper::kMaxEscapedChar * length + Escaper::kSlack;
}

} // namespace

int listCommand(const std::string& path, const FileKind& kind, const Settings& settings,
                std::FILE* out, std::FILE* err) {
    OpenFile file;
    if (const Status opened = openFile(path, kind, settings, false, file, err); !opened.ok())
        return refuse(err, opened, false);
    const Escaper escaper(settings.codePage);
    OutputBuffer output(out);
    {
        char* line = output.room(kind.limitCaption.size() + 1);
        line = kind.limitCaption.copy(line, kind.limitCaption.size()) + line;
        *line++ = '\n';
        output.commit(line);
    }
    const std::size_t roomPerRecord =
        static_cast<std::size_t>(kind.entriesPerRecord()) * maxLineLength(0) +
        Escaper::kMaxEscapedChar * static_cast<std::size_t>(kind.recordLength);
    const Status status =
        writeEntryLines(file, output, roomPerRecord, maxLineLength,
                        [&](char* line, std::uint64_t, RecordKey key, const unsigned char* bytes,
                            std::size_t available, std::size_t length, char* scratch) {
                            *line++ = '[';
                            line = writeKey(line, key);
                            *line++ = ']';
                            *line++ = ' ';
                            line =
                                writeListedText(line, bytes, available, length, scratch, escaper);
                            *line++ = '\n';
                            return line;
                        });
    if (!status.ok())
        return refuse(err, status, false);
    return finishOutput(output, err);
}

} // namespace edt::cli
