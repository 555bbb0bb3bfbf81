#include "cli/export_command.h"

#include <cerrno>

#include "cli/csv.h"
#include "cli/output_file.h"
#include "cli/po.h"
#include "cli/tool.h"
#include "edt/version.h"
#include "record/charset.h"
#include "record/reader.h"
#include "record/text_codec.h"

namespace edt::cli {
namespace {

// True when `outPath` names the EDT file itself (under any name): refused, since the
// export would replace it.
bool isSameFile(const std::string& outPath, const FileIdentity& source) {
    File file;
    FileIdentity id;
    return file.open(outPath, File::Mode::Read).ok() && file.identity(id).ok() &&
           id.device == source.device && id.inode == source.inode;
}

std::string csvOf(const std::vector<EntryLine>& entries) {
    std::string content = "key,text";
    content += csv::kRecordEnd;
    for (const EntryLine& entry : entries) {
        content += formatKey(entry.key);
        content += ',';
        csv::appendField(content, charset::toUtf8(entry.text));
        content += csv::kRecordEnd;
    }
    return content;
}

void addMessages(po::Writer& writer, const ReadResult& file) {
    const EntryLayout layout(file.kind, file.identity.size);
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
        const EntryLine& entry = file.entries[i];
        const int most = maxCharsForEntry(layout.lengthOf(i));
        writer.add(formatKey(entry.key), charset::toUtf8(entry.text),
                   "at most " + std::to_string(most) + " characters");
    }
}

// Without a name the export goes to `out`; under a name, through a temporary file.
Status deliver(const std::string& csvContent, po::Writer* poWriter, const std::string& outPath,
               std::FILE* out) {
    if (outPath.empty() || outPath == "-") {
        if (poWriter)
            return poWriter->print(out);
        if (std::fwrite(csvContent.data(), 1, csvContent.size(), out) != csvContent.size() ||
            std::fflush(out) != 0)
            return Status::error(StatusCode::IoError, "Cannot write the export to the output.");
        return Status::success();
    }
    OutputFile output;
    Status status = output.create(outPath);
    if (!status.ok())
        return status;
    if (poWriter) {
        status = poWriter->save(output.temporaryPath());
    } else if (std::fwrite(csvContent.data(), 1, csvContent.size(), output.stream()) !=
               csvContent.size()) {
        status = Status::error(StatusCode::IoError,
                               "Cannot write \"" + outPath + "\": " + systemReason(errno) + ".");
    }
    return status.ok() ? output.commit() : status;
}

} // namespace

int exportCommand(const std::string& path, TranslationFormat format, const std::string& outPath,
                  std::FILE* out, std::FILE* err) {
    const std::string title = fileTitleOf(path);
    const ReadResult file = readFile(path, title);
    Status status = file.status;
    if (status.ok() && !outPath.empty() && outPath != "-" && isSameFile(outPath, file.identity))
        status =
            Status::error(StatusCode::IoError, "\"" + outPath +
                                                   "\" is the file being exported; give another "
                                                   "name for the export.");
    if (status.ok() && format == TranslationFormat::Csv) {
        status = deliver(csvOf(file.entries), nullptr, outPath, out);
    } else if (status.ok()) {
        po::Writer writer({{"Project-Id-Version", title},
                           {"MIME-Version", "1.0"},
                           {"Content-Type", "text/plain; charset=UTF-8"},
                           {"Content-Transfer-Encoding", "8bit"},
                           {"X-Generator", std::string("edt-tool ") + kVersionString}});
        addMessages(writer, file);
        status = deliver({}, &writer, outPath, out);
    }
    if (!status.ok()) {
        std::fprintf(err, "edt-tool: %s\n", status.message.c_str());
        return kExitRefused;
    }
    return kExitOk;
}

} // namespace edt::cli
