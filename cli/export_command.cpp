// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/export_command.h"

#include <memory>
#include <mutex>

#include "cli/game_folder.h"
#include "cli/output_buffer.h"
#include "cli/parallel_lines.h"
#include "cli/tool.h"
#include "cli/tool_status.h"
#include "platform/folders.h"
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
    if (const Status opened = openFile(path, kind, settings, false, file, err); !opened.ok())
        return refuse(err, opened, false);
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

int exportFolderCommand(const std::string& folder, translate::TranslationFormat format,
                        const std::string& outFolder, bool force, const Settings& settings,
                        std::FILE* out, std::FILE* err, const std::string& language) {
    std::vector<NamePair> pairs;
    std::vector<FolderNote> notes;
    if (const std::optional<int> refused =
            pairForCommand(folder, outFolder, {}, false, err, pairs, notes))
        return *refused;
    std::size_t problems = 0;
    for (const FolderNote& note : notes)
        if (note.kind == FolderNote::Kind::SameName)
            problems += tellFolder(err, note);
    // Every name checked before the first export, so that a refusal writes none.
    const char* extension = format == translate::TranslationFormat::Csv    ? ".csv"
                            : format == translate::TranslationFormat::Xlsx ? ".xlsx"
                            : language.empty()                             ? ".pot"
                                                                           : ".po";
    std::vector<std::pair<std::string, std::string>> exports; // EDT file, export
    for (const NamePair& pair : pairs) {
        const std::string& path = pair.edtFiles.front();
        const std::string target = os::inFolder(outFolder, stemOf(fileTitleOf(path)) + extension);
        if (!force && os::exists(target)) {
            refuse(err, Status::error(cli::ToolCode::ExportExists, target), false);
            ++problems;
        }
        exports.emplace_back(path, target);
    }
    if (problems > 0) {
        std::fprintf(err, "edt-tool: nothing was exported.\n");
        return kExitRefused;
    }
    os::Result made = os::makeFolders(outFolder);
    if (!made.ok())
        return refuse(err, Status::system(std::move(made), outFolder), false);
    std::string report;
    for (const auto& [path, target] : exports) {
        const int code = exportCommand(path, kindForPath(path), format, target, true, settings, out,
                                       err, language);
        if (code != kExitOk) {
            deliver(report, out, err);
            std::fprintf(err, "edt-tool: the export stopped at \"%s\".\n", path.c_str());
            return code;
        }
        report += "Exported \"" + path + "\" to \"" + target + "\".\n";
    }
    report += "Exported " + std::to_string(exports.size()) +
              (exports.size() == 1 ? " EDT file of \"" : " EDT files of \"") + folder + "\" to \"" +
              outFolder + "\".\n";
    return deliver(report, out, err);
}

} // namespace edt::cli
