// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/export_command.h"

#include "cli/tool.h"
#include "platform/output_file.h"
#include "record/reader.h"
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

} // namespace

int exportCommand(const std::string& path, translate::TranslationFormat format,
                  const std::string& outPath, bool force, const CodePage& codePage, std::FILE* out,
                  std::FILE* err) {
    const std::string title = fileTitleOf(path);
    const ReadResult file = readFile(path, title);
    if (!file.status.ok())
        return refuse(err, file.status, false);
    const bool toOutput = outPath.empty() || outPath == "-";
    FileIdentity existing;
    if (!toOutput && isEdtName(outPath))
        return refuse(err, Status::error(StatusCode::ExportOverEdtFile, outPath), false);
    if (!toOutput && os::identityAt(outPath, existing)) {
        if (existing.sameFile(file.identity))
            return refuse(err, Status::error(StatusCode::ExportOverSource, outPath), false);
        if (!force)
            return refuse(err, Status::error(StatusCode::ExportExists, outPath), false);
    }
    std::string content;
    Status status = translate::exportTexts(file, title, format, codePage, content);
    if (status.ok() && !toOutput) {
        // Through a temporary file, so that a failed export leaves none behind.
        os::Result saved = os::writeWholeFile(outPath, content.data(), content.size());
        if (!saved.ok())
            status = Status::system(std::move(saved), outPath);
    }
    if (!status.ok())
        return refuse(err, status, false);
    return toOutput ? deliver(content, out, err) : kExitOk;
}

} // namespace edt::cli
