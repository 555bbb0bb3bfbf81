// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/export_command.h"

#include <memory>
#include <mutex>

#include "cli/output_buffer.h"
#include "cli/parallel_lines.h"
#include "cli/tool.h"
#include "cli/tool_status.h"
#include "platform/output_file.h"
#include "record/file_kind.h"
#include "record/reader.h"
#include "translate/csv_records.h"
#include "translate/export.h"

namespace edt::cli {

namespace {

// An EDT file's name: any .edt, or one the kind table knows (civ ...) without the
// extension of a translation.
bool isEdtName(const std::string& path) {
    const std::string title = fileTitleOf(path);
    const auto dot = title.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : title.substr(dot);
    for (char& c : extension)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return extension == ".edt" || (kindForFileName(title).recordLength != FileKind{}.recordLength &&
                                   !translate::formatOfPath(path));
}

// A CSV export straight from the entries' stored bytes, as the reader hands them over:
// to `output`, flushed along the way. The same records as translate::exportTexts.
Status streamCsv(OpenFile& file, const CodePage& codePage, OutputBuffer& output) {
    const FileKind& kind = file.kind();
    const translate::CsvRecords records(codePage);
    const std::string& header = records.header();
    char* start = output.room(header.size());
    output.commit(header.copy(start, std::string::npos) + start);
    std::once_flag sized;
    std::unique_ptr<translate::ShownLimits> limits; // once the file's size is known
    return writeEntryLines(
        file, output,
        translate::CsvRecords::room(static_cast<std::size_t>(kind.recordLength)) *
            static_cast<std::size_t>(kind.entriesPerRecord()),
        translate::CsvRecords::room,
        [&](char* out, std::uint64_t index, RecordKey key, const unsigned char* bytes,
            std::size_t available, std::size_t length, char* scratch) {
            std::call_once(sized, [&] {
                limits = std::make_unique<translate::ShownLimits>(kind, file.identity().size);
            });
            const int max = (*limits)(static_cast<std::size_t>(index));
            return records.write(out, key, max, bytes, available, length, scratch);
        });
}

} // namespace

int exportCommand(const std::string& path, const FileKind& kind,
                  translate::TranslationFormat format, const std::string& outPath, bool force,
                  const Settings& settings, std::FILE* out, std::FILE* err,
                  const std::string& language) {
    const CodePage& codePage = settings.codePage;
    const std::string title = fileTitleOf(path);
    OpenFile file;
    if (!openFile(path, kind, settings, false, file, err))
        return kExitRefused;
    const bool toOutput = outPath.empty() || outPath == "-";
    if (format == translate::TranslationFormat::Csv && toOutput) {
        // Streamed like a listing: a read that fails half way leaves what came before.
        OutputBuffer output(out);
        const Status status = streamCsv(file, codePage, output);
        if (!status.ok())
            return refuse(err, status, false);
        return finishOutput(output, err);
    }
    std::string content;
    Status status;
    if (format == translate::TranslationFormat::Csv) {
        OutputBuffer output(content);
        status = streamCsv(file, codePage, output);
        output.finish();
    } else {
        const ReadResult read = file.read();
        status = read.status;
        if (status.ok())
            status = translate::exportTexts(read, title, format, codePage, content, language);
    }
    const FileIdentity identity = file.identity();
    if (!status.ok())
        return refuse(err, status, false);
    FileIdentity existing;
    if (!toOutput && isEdtName(outPath))
        return refuse(err, Status::error(cli::ToolCode::ExportOverEdtFile, outPath), false);
    if (!toOutput && os::identityAt(outPath, existing)) {
        if (existing.sameFile(identity))
            return refuse(err, Status::error(cli::ToolCode::ExportOverSource, outPath), false);
        if (!force)
            return refuse(err, Status::error(cli::ToolCode::ExportExists, outPath), false);
    }
    if (!toOutput) {
        // Through a temporary file, so that a failed export leaves none behind.
        os::Result saved = os::writeWholeFile(outPath, content.data(), content.size());
        if (!saved.ok())
            return refuse(err, Status::system(std::move(saved), outPath), false);
        return kExitOk;
    }
    return deliver(content, out, err);
}

} // namespace edt::cli
