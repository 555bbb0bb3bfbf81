#include "cli/import_command.h"

#include "cli/batch_writer.h"
#include "cli/import_plan.h"
#include "cli/tool.h"
#include "cli/translation.h"

namespace edt::cli {
namespace {

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

int importCommand(const std::string& path, const std::string& translationPath, bool dryRun,
                  std::FILE* out, std::FILE* err) {
    const auto format = formatOfPath(translationPath);
    if (!format) {
        std::fprintf(err,
                     "edt-tool: cannot tell the format of \"%s\": a translation is a .csv, .po "
                     "or .pot file. Nothing was written.\n",
                     translationPath.c_str());
        return kExitRefused;
    }
    Translation translation;
    Status status = readTranslation(translationPath, *format, translation);
    ImportPlan plan;
    if (status.ok())
        status = planImport(path, translation, plan);
    if (!status.ok()) {
        std::fprintf(err, "edt-tool: %s Nothing was written.\n", status.message.c_str());
        return kExitRefused;
    }
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
        std::fprintf(out, "Checked \"%s\" against \"%s\": %s. Nothing was written.\n",
                     translationPath.c_str(), path.c_str(), summary(plan).c_str());
        return std::fflush(out) == 0 ? kExitOk : kExitRefused;
    }
    status = writeAll(path, plan.identity, plan.writes);
    if (!status.ok()) {
        std::fprintf(err, "edt-tool: %s\n", status.message.c_str());
        return kExitRefused;
    }
    std::fprintf(out, "Imported \"%s\" into \"%s\": %s.\n", translationPath.c_str(), path.c_str(),
                 summary(plan).c_str());
    return std::fflush(out) == 0 ? kExitOk : kExitRefused;
}

} // namespace edt::cli
