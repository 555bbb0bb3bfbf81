// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/export_command.h"

#include "cli/tool.h"
#include "platform/output_file.h"
#include "record/reader.h"
#include "translate/export.h"

namespace edt::cli {
namespace {

// Into a file through a temporary one, so that a failed export leaves none behind.
Status saveAs(const std::string& outPath, const std::string& content) {
    os::OutputFile output;
    os::Result result = output.create(outPath);
    if (result.ok())
        result = output.write(content.data(), content.size());
    if (result.ok())
        result = output.commit();
    return result.ok() ? Status::success() : Status::system(std::move(result), outPath);
}

} // namespace

int exportCommand(const std::string& path, translate::TranslationFormat format,
                  const std::string& outPath, const CodePage& codePage, std::FILE* out,
                  std::FILE* err) {
    const std::string title = fileTitleOf(path);
    const ReadResult file = readFile(path, title);
    if (!file.status.ok())
        return refuse(err, file.status, false);
    const bool toOutput = outPath.empty() || outPath == "-";
    FileIdentity existing;
    if (!toOutput && os::identityAt(outPath, existing) && existing.sameFile(file.identity))
        return refuse(err, Status::error(StatusCode::ExportOverSource, outPath), false);
    std::string content;
    Status status = translate::exportTexts(file, title, format, codePage, content);
    if (status.ok() && !toOutput)
        status = saveAs(outPath, content);
    if (!status.ok())
        return refuse(err, status, false);
    return toOutput ? deliver(content, out, err) : kExitOk;
}

} // namespace edt::cli
