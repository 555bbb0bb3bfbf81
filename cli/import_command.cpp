// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/import_command.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "cli/game_folder.h"
#include "cli/tool.h"
#include "cli/words.h"
#include "cli/write_all.h"
#include "platform/file.h"
#include "record/message.h"
#include "record/utf8.h"
#include "translate/import_plan.h"
#include "translate/translate_status.h"
#include "translate/translation.h"

namespace edt::cli {
namespace {

using translate::ImportPlan;
using translate::Problem;

std::string counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string summary(const ImportPlan& plan, const translate::Translation& translation,
                    const CodePage& source, const CodePage& target, const ImportRequest& request) {
    const bool originals =
        std::any_of(translation.items.begin(), translation.items.end(),
                    [](const translate::TranslationItem& item) { return item.source.has_value(); });
    std::string text = " (" + (originals ? "originals in " + source.name() + ", " : std::string()) +
                       "texts written in " + target.name() + "): " + std::to_string(plan.changed) +
                       " changed, " + std::to_string(plan.unchanged) + " unchanged, " +
                       std::to_string(plan.untranslated) + " untranslated";
    std::vector<std::string> about; // the untranslated ones
    const auto misread = static_cast<std::uint64_t>(plan.misread.size());
    if (request.options.recodeUntranslated && misread > 0) {
        if (plan.recoded > 0)
            about.push_back(std::to_string(plan.recoded) + " recoded");
        if (misread > plan.recoded)
            about.push_back(std::to_string(misread - plan.recoded) +
                            (misread - plan.recoded == 1 ? " left as it is" : " left as they are"));
    } else if (misread > 0) {
        about.push_back(std::to_string(misread) + " reading differently in " + target.name());
    }
    if (plan.fuzzy > 0) {
        std::string fuzzy = counted(plan.fuzzy, "fuzzy message", "fuzzy messages") + " left out:";
        for (const std::string& key : plan.fuzzyKeys)
            fuzzy += " " + key;
        about.push_back(fuzzy);
    }
    for (std::size_t i = 0; i < about.size(); ++i)
        text += (i == 0 ? " (" : "; ") + about[i] + (i + 1 == about.size() ? ")" : "");
    if (plan.forced > 0)
        text += ", " + counted(plan.forced, "stale entry", "stale entries") +
                (request.dryRun ? " to be written anyway" : " written anyway");
    text += ".";
    if (!originals && !translation.items.empty())
        text += " The translation gives no originals (no source column), so the entries were "
                "not checked for changes since the export.";
    return text;
}

// The note on untranslated originals that read differently in the target, and one
// for each that could not be recoded.
// In a folder's import each note names its file (`lead`).
void tellMisread(const ImportPlan& plan, const CodePage& target, bool recode, std::FILE* err,
                 const std::string& lead = {}) {
    if (plan.misread.empty())
        return;
    const auto say = [&](const Status& note) {
        std::fprintf(err, "edt-tool: note: %s%s\n", lead.c_str(), toolMessage(note).c_str());
    };
    if (recode) {
        Status kept = Status::error(translate::Code::NotRecoded);
        kept.codePage = target.name();
        for (const translate::Misread& misread : plan.misread) {
            if (!misread.kept)
                continue;
            kept.detail += (kept.count++ ? ", " : "") + misread.key + " '";
            appendUtf8(kept.detail, misread.kept->character);
            kept.detail += std::string("'") + (misread.kept->code == StatusCode::UnstorableCharacter
                                                   ? " (code 255, which cannot be stored)"
                                                   : "");
        }
        if (kept.count > 0)
            say(kept);
        return;
    }
    Status note = Status::error(translate::Code::MisreadOriginals);
    note.count = plan.misread.size();
    for (std::size_t i = 0; i < plan.misread.size() && i < 5; ++i)
        note.detail += (i ? ", " : "") + plan.misread[i].key;
    if (plan.misread.size() > 5)
        note.detail += " ...";
    note.character = plan.misread.front().original;
    note.codePage = target.name();
    appendUtf8(note.was, plan.misread.front().shown);
    say(note);
}

// Lists a file's problems, each with its place in the translation; their number.
std::size_t tellProblems(FilePlan& file, std::FILE* err) {
    for (Problem& problem : file.plan.problems) {
        if (problem.status.code == StatusCode::NotInCharacterSet)
            problem.status.detail = file.origin;
        const std::string sentence = itemMessage(problem.status);
        const char* where = file.translationPath.c_str();
        if (problem.line > 0 && !file.translation.column.empty())
            std::fprintf(err, "%s, row %zu: %s\n", where, problem.line, sentence.c_str());
        else if (problem.line > 0)
            std::fprintf(err, "%s:%zu: %s\n", where, problem.line, sentence.c_str());
        else
            std::fprintf(err, "%s: %s\n", where, sentence.c_str());
    }
    return file.plan.problems.size();
}

// The line of a file checked or imported.
std::string doneLine(const FilePlan& file, const ImportRequest& request, bool written) {
    const std::string& translation = file.translationPath;
    return (written ? "Imported \"" + translation + "\" into \""
                    : "Checked \"" + translation + "\" against \"") +
           file.path + "\"" +
           summary(file.plan, file.translation, *file.source, *file.target, request) + "\n";
}

// Tells why writing a file failed: where the write stopped, when at one entry.
int refuseWrite(const FilePlan& file, const Status& failure, std::size_t entry, std::FILE* err) {
    const bool atEntry =
        failure.undo != Undo::None &&
        (failure.code == StatusCode::VerifyFailed ||
         (failure.code == StatusCode::SystemError && failure.os.op == os::Op::Write));
    const std::string lead =
        !atEntry
            ? std::string()
            : "The import stopped at entry " + formatKey(file.plan.writes[entry].key) + " (line " +
                  std::to_string(file.plan.lines[entry]) + " of the translation): ";
    return refuse(err, failure, true, lead);
}

} // namespace

int importCommand(const std::string& path, const FileKind& kind, const std::string& translationPath,
                  std::optional<translate::TranslationFormat> format, const ImportRequest& request,
                  const Settings& settings, std::FILE* out, std::FILE* err) {
    std::vector<FilePlan> files;
    files.push_back(planFile(path, kind, translationPath, format, request.options, request.sheet,
                             settings, !request.dryRun, err));
    FilePlan& file = files.front();
    if (!file.status.ok())
        return refuse(err, file.status, !request.check);
    if (!file.plan.problems.empty()) {
        const std::string problems = counted(tellProblems(file, err), "problem", "problems");
        if (request.check)
            std::fprintf(err, "edt-tool: %s in \"%s\".\n", problems.c_str(),
                         translationPath.c_str());
        else
            std::fprintf(err, "edt-tool: %s in \"%s\"; nothing was written to \"%s\".\n",
                         problems.c_str(), translationPath.c_str(), path.c_str());
        return kExitRefused;
    }
    tellMisread(file.plan, *file.target, request.options.recodeUntranslated, err);
    if (request.dryRun) {
        std::string line = doneLine(file, request, false);
        if (!request.check)
            line.insert(line.size() - 1, " Nothing was written.");
        return deliver(line, out, err);
    }
    const WrittenAll written = writeAll(files);
    tell(err, written.notes);
    if (!written.status.ok())
        return refuseWrite(file, written.status, written.entry, err);
    return deliver(doneLine(file, request, true), out, err);
}

int importFolderCommand(const std::string& folder, const std::string& translationFolder,
                        std::optional<translate::TranslationFormat> format,
                        const ImportRequest& request, const Settings& settings, std::FILE* out,
                        std::FILE* err) {
    const bool writes = !request.dryRun;
    std::vector<NamePair> pairs;
    std::vector<FolderNote> notes;
    if (const std::optional<int> refused = pairForCommand(
            folder, translationFolder,
            [&](const std::string& name) { return isTranslationName(name, format); }, writes, err,
            pairs, notes))
        return *refused;
    std::size_t problems = 0;
    for (const FolderNote& note : notes)
        problems += tellFolder(err, note);
    std::vector<FilePlan> files;
    for (const NamePair& pair : pairs) {
        if (pair.edtFiles.size() != 1 || pair.translations.size() != 1)
            continue;
        const std::string& path = pair.edtFiles.front();
        files.push_back(planFile(path, kindForPath(path), pair.translations.front(),
                                 translate::formatOfPath(pair.translations.front()),
                                 request.options, request.sheet, settings, writes, err));
    }
    if (files.empty() && problems == 0)
        return refuseFolder(err, {FolderNote::Kind::NoTranslations, translationFolder, folder});
    std::size_t troubled = problems; // each note names one file
    for (FilePlan& file : files) {
        if (!file.status.ok())
            std::fprintf(err, "edt-tool: %s\n", toolMessage(file.status).c_str());
        const std::size_t found = file.status.ok() ? tellProblems(file, err) : 1;
        problems += found;
        troubled += found > 0;
    }
    if (problems > 0) {
        std::fprintf(err, "edt-tool: %s in %s of \"%s\"%s\n",
                     counted(problems, "problem", "problems").c_str(),
                     counted(troubled, "file", "files").c_str(), folder.c_str(),
                     request.check ? "." : "; nothing was written to any file.");
        return kExitRefused;
    }
    for (const FilePlan& file : files)
        tellMisread(file.plan, *file.target, request.options.recodeUntranslated, err,
                    quoted(file.path) + ": ");
    std::string report;
    ImportPlan total;
    for (const FilePlan& file : files) {
        total.changed += file.plan.changed;
        total.unchanged += file.plan.unchanged;
        total.untranslated += file.plan.untranslated;
        total.fuzzy += file.plan.fuzzy;
        total.forced += file.plan.forced;
    }
    const std::string totals =
        std::to_string(total.changed) + " changed, " + std::to_string(total.unchanged) +
        " unchanged, " + std::to_string(total.untranslated) + " untranslated" +
        (total.fuzzy > 0 ? " (" + counted(total.fuzzy, "fuzzy message", "fuzzy messages") + ")"
                         : std::string()) +
        (total.forced > 0 ? ", " + counted(total.forced, "stale entry", "stale entries") +
                                (writes ? " written anyway" : " to be written anyway")
                          : std::string()) +
        ".";
    const std::string translations = counted(files.size(), "translation", "translations");
    if (!writes) {
        for (const FilePlan& file : files)
            report += doneLine(file, request, false);
        report += "Checked " + translations + " of \"" + translationFolder + "\" against \"" +
                  folder + "\": " + totals + (request.check ? "\n" : " Nothing was written.\n");
        return deliver(report, out, err);
    }
    const WrittenAll written = writeAll(files);
    tell(err, written.notes);
    for (std::size_t i = 0; i < written.written; ++i)
        report += doneLine(files[i], request, true);
    if (!written.status.ok()) {
        refuseWrite(files[written.failed], written.status, written.entry, err);
        if (written.status.undo != Undo::Failed)
            std::fprintf(err, "edt-tool: every file of \"%s\" is as it was before the import.\n",
                         folder.c_str());
        return kExitRefused;
    }
    report += "Imported " + translations + " of \"" + translationFolder + "\" into \"" + folder +
              "\": " + totals + "\n";
    return deliver(report, out, err);
}

} // namespace edt::cli
