// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/update_command.h"

#include "cli/words.h"
#include "platform/file.h"
#include "platform/output_file.h"
#include "record/reader.h"
#include "translate/export.h"
#include "translate/po_update.h"
#include "translate/translation.h"

namespace edt::cli {
namespace {

std::string summary(const translate::UpdateCounts& counts) {
    return std::to_string(counts.kept) + " kept, " + std::to_string(counts.fuzzy) +
           " fuzzy (changed original), " + std::to_string(counts.added) + " new, " +
           std::to_string(counts.obsolete) + " obsolete.";
}

} // namespace

int updateCommand(const std::string& path, const FileKind& kind, const std::string& poPath,
                  const Settings& settings, std::FILE* out, std::FILE* err) {
    std::string content;
    os::Result read = os::readWholeFile(poPath, content);
    if (!read.ok())
        return refuse(err, Status::system(std::move(read), poPath), true);
    translate::po::Catalog translation;
    std::vector<translate::Problem> problems;
    Status status = translate::readPoCatalog(content, translation, problems);
    if (!status.ok())
        return refuse(err, status, true);
    if (!problems.empty()) {
        for (const translate::Problem& problem : problems) {
            const std::string where =
                problem.line > 0 ? poPath + ":" + std::to_string(problem.line) : poPath;
            std::fprintf(err, "%s: %s\n", where.c_str(), itemMessage(problem.status).c_str());
        }
        std::fprintf(err, "edt-tool: %zu %s in \"%s\"; nothing was written.\n", problems.size(),
                     problems.size() == 1 ? "problem" : "problems", poPath.c_str());
        return kExitRefused;
    }

    // The originals compare only when read in the code page they were read in before.
    const CodePage* codePage = &settings.codePage;
    if (!settings.codePageNamed && !translation.codePage.empty()) {
        status = CodePage::named(translation.codePage, codePage);
        if (!status.ok())
            return refuse(err, status, true);
    }
    OpenFile opened;
    if (!openFile(path, kind, settings, false, opened, err))
        return kExitRefused;
    const ReadResult file = opened.read();
    if (!file.status.ok())
        return refuse(err, file.status, true);
    translate::UpdateCounts counts;
    const translate::po::Catalog updated = translate::updatedCatalog(
        translation, translate::poCatalog(file, fileTitleOf(path), *codePage), counts);
    std::string rendered;
    status = translate::po::render(updated, rendered);
    if (!status.ok())
        return refuse(err, status, true);
    if (rendered == content)
        return deliver("\"" + poPath + "\" is up to date with \"" + path +
                           "\": " + summary(counts) + " Nothing was written.\n",
                       out, err);

    // The previous version first, so that a failure leaves the translation as it was.
    const std::string backup = poPath + "~";
    for (const auto& [target, bytes] : {std::pair{&backup, &content}, {&poPath, &rendered}}) {
        os::Result saved = os::writeWholeFile(*target, bytes->data(), bytes->size());
        if (!saved.ok())
            return refuse(err, Status::system(std::move(saved), *target), true);
    }
    return deliver("Updated \"" + poPath + "\" from \"" + path + "\": " + summary(counts) +
                       " The previous version is \"" + backup + "\".\n",
                   out, err);
}

} // namespace edt::cli
