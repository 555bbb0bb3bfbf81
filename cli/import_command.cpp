// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/import_command.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "cli/tool.h"
#include "cli/tool_status.h"
#include "cli/words.h"
#include "platform/file.h"
#include "record/message.h"
#include "record/utf8.h"
#include "translate/import_plan.h"
#include "translate/translate_status.h"
#include "translate/translation.h"
#include "translate/xlsx.h"

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

// The code pages of an import: the target from --codepage, else the PO's Language,
// else the default; the source the one the translation names, else the target.
// `origin` says where the target came from.
Status codePagesOf(const translate::Translation& translation, const Settings& settings,
                   const CodePage*& source, const CodePage*& target, std::string& origin) {
    target = &settings.codePage;
    origin = settings.codePageOrigin;
    if (!settings.codePageNamed && !translation.language.empty()) {
        const std::string name = localeCodePageName(translation.language.c_str(), nullptr, nullptr);
        if (CodePage::named(name, target).ok())
            origin = "follows from the PO's Language " + quoted(translation.language);
        else
            target = &settings.codePage;
    }
    source = target;
    return translation.codePage.empty() ? Status::success()
                                        : CodePage::named(translation.codePage, source);
}

// The note on untranslated originals that read differently in the target, and one
// for each that could not be recoded.
void tellMisread(const ImportPlan& plan, const CodePage& target, bool recode, std::FILE* err) {
    if (plan.misread.empty())
        return;
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
            tell(err, kept);
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
    tell(err, note);
}

// Reads a translation ("-": standard input) and hands its content to translate/:
// refused when it is longer than `limit` bytes (TranslationTooLarge, read no further) or
// more than memory holds (TranslationOutOfMemory).
Status readTranslation(const std::string& path, translate::TranslationFormat format,
                       translate::Translation& out, std::uint64_t limit, const std::string& sheet) {
    Status tooLarge = Status::error(cli::ToolCode::TranslationTooLarge, path);
    tooLarge.limit = limit;
    os::FileIdentity id;
    if (path != "-" && os::identityAt(path, id) && id.size > limit)
        return tooLarge;
    try {
        std::string content;
        const auto most = static_cast<std::size_t>(std::min<std::uint64_t>(limit, SIZE_MAX - 1));
        os::Result read =
            path == "-" ? os::readStandardInput(content, most) : os::readWholeFile(path, content);
        if (!read.ok())
            return Status::system(std::move(read), path);
        if (content.size() > limit)
            return tooLarge;
        return translate::parseTranslation(content, format, out, limit, sheet);
    } catch (const std::bad_alloc&) {
        out = {};
        return Status::error(cli::ToolCode::TranslationOutOfMemory, path);
    }
}

} // namespace

int importCommand(const std::string& path, const FileKind& kind, const std::string& translationPath,
                  std::optional<translate::TranslationFormat> format, const ImportRequest& request,
                  const Settings& settings, std::FILE* out, std::FILE* err) {
    if (!format)
        return refuse(err, Status::error(cli::ToolCode::UnknownFormat, translationPath),
                      !request.check);
    translate::Translation translation;
    // A translation larger than any this file could take is refused unread. It is read
    // before the file is opened and locked: it may come through a pipe from a program
    // that reads the same file.
    os::FileIdentity sized;
    std::uint64_t limit =
        os::identityAt(path, sized) ? maxTranslationSize(kind, sized.size) : UINT64_MAX;
    if (*format == translate::TranslationFormat::Xlsx)
        limit = translate::xlsxLimit(limit);
    Status status = readTranslation(translationPath, *format, translation, limit, request.sheet);
    if (status.code == cli::ToolCode::TranslationTooLarge)
        status.detail = path;
    OpenFile file;
    if (!openFile(path, kind, settings, !request.dryRun, file, err))
        return kExitRefused;
    ImportPlan plan;
    const CodePage* source = nullptr;
    const CodePage* target = nullptr;
    std::string origin;
    if (status.ok())
        status = codePagesOf(translation, settings, source, target, origin);
    if (status.ok())
        status = translate::planImport(file, translation, *target, *source, request.options, plan);
    if (!status.ok())
        return refuse(err, status, !request.check);
    if (!plan.problems.empty()) {
        for (Problem& problem : plan.problems) {
            if (problem.status.code == StatusCode::NotInCharacterSet)
                problem.status.detail = origin;
            const std::string sentence = itemMessage(problem.status);
            if (problem.line > 0 && !translation.column.empty())
                std::fprintf(err, "%s, row %zu: %s\n", translationPath.c_str(), problem.line,
                             sentence.c_str());
            else if (problem.line > 0)
                std::fprintf(err, "%s:%zu: %s\n", translationPath.c_str(), problem.line,
                             sentence.c_str());
            else
                std::fprintf(err, "%s: %s\n", translationPath.c_str(), sentence.c_str());
        }
        const std::string problems = counted(plan.problems.size(), "problem", "problems");
        if (request.check)
            std::fprintf(err, "edt-tool: %s in \"%s\".\n", problems.c_str(),
                         translationPath.c_str());
        else
            std::fprintf(err, "edt-tool: %s in \"%s\"; nothing was written to \"%s\".\n",
                         problems.c_str(), translationPath.c_str(), path.c_str());
        return kExitRefused;
    }
    tellMisread(plan, *target, request.options.recodeUntranslated, err);
    if (request.dryRun) {
        return deliver("Checked \"" + translationPath + "\" against \"" + path + "\"" +
                           summary(plan, translation, *source, *target, request) +
                           (request.check ? "\n" : " Nothing was written.\n"),
                       out, err);
    }
    const WriteResult written = file.write(plan.writes, *target);
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
    return deliver("Imported \"" + translationPath + "\" into \"" + path + "\"" +
                       summary(plan, translation, *source, *target, request) + "\n",
                   out, err);
}

} // namespace edt::cli
