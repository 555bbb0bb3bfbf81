// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/import_command.h"

#include "cli/tool.h"
#include "translate/import_plan.h"
#include "translate/translation.h"

namespace edt::cli {
namespace {

using translate::ImportPlan;
using translate::Problem;

std::string counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string summary(const ImportPlan& plan) {
    std::string text = std::to_string(plan.changed) + " changed, " +
                       std::to_string(plan.unchanged) + " unchanged, " +
                       std::to_string(plan.untranslated) + " untranslated";
    if (plan.fuzzy > 0)
        text += " (" + counted(plan.fuzzy, "fuzzy message", "fuzzy messages") + " left out)";
    return text;
}

} // namespace

int importCommand(const std::string& path, const std::string& translationPath,
                  std::optional<translate::TranslationFormat> format, bool dryRun,
                  const Settings& settings, std::FILE* out, std::FILE* err) {
    const CodePage& codePage = settings.codePage;
    if (!format)
        return refuse(err, Status::error(StatusCode::UnknownFormat, translationPath), true);
    translate::Translation translation;
    // A translation larger than any this file could take is refused unread.
    os::FileIdentity file;
    Status status = translate::readTranslation(
        translationPath, *format, translation,
        os::identityAt(path, file)
            ? maxTranslationSize(kindForFileName(fileTitleOf(path)), file.size)
            : UINT64_MAX);
    if (status.code == StatusCode::TranslationTooLarge)
        status.detail = path;
    ImportPlan plan;
    if (status.ok())
        status = translate::planImport(path, translation, codePage, plan);
    if (!status.ok())
        return refuse(err, status, true);
    if (!plan.problems.empty()) {
        for (const Problem& problem : plan.problems) {
            if (problem.line > 0)
                std::fprintf(err, "%s:%zu: %s\n", translationPath.c_str(), problem.line,
                             problem.message.c_str());
            else
                std::fprintf(err, "%s: %s\n", translationPath.c_str(), problem.message.c_str());
        }
        std::fprintf(err, "edt-tool: %s in \"%s\"; nothing was written to \"%s\".\n",
                     counted(plan.problems.size(), "problem", "problems").c_str(),
                     translationPath.c_str(), path.c_str());
        return kExitRefused;
    }
    if (dryRun) {
        return deliver("Checked \"" + translationPath + "\" against \"" + path +
                           "\": " + summary(plan) + ". Nothing was written.\n",
                       out, err);
    }
    const WriteResult written =
        settings.writer.write(path, fileTitleOf(path), plan.writes, codePage, &plan.identity);
    tell(err, written.notes);
    if (!written.status.ok()) {
        // A write or read-back of one entry failed, rather than the file as a whole.
        const Status& failure = written.status;
        const bool atEntry =
            failure.undo != Undo::None &&
            (failure.code == StatusCode::VerifyFailed ||
             (failure.code == StatusCode::SystemError && failure.os.op == os::Op::Write));
        const std::string lead =
            !atEntry ? std::string()
                     : "The import stopped at entry " + formatKey(plan.writes[written.failed].key) +
                           " (line " + std::to_string(plan.lines[written.failed]) +
                           " of the translation): ";
        return refuse(err, written.status, true, lead);
    }
    return deliver("Imported \"" + translationPath + "\" into \"" + path + "\": " + summary(plan) +
                       ".\n",
                   out, err);
}

} // namespace edt::cli
