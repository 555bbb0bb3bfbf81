// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/update_command.h"

#include <vector>

#include "cli/game_folder.h"
#include "cli/words.h"
#include "platform/file.h"
#include "platform/folders.h"
#include "platform/output_file.h"
#include "record/message.h"
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

// A PO brought up to date, or made new, before anything is written.
struct PoUpdate {
    std::string path; // the EDT file
    FileKind kind;
    std::string poPath;
    std::string content; // the PO now; none for a new one
    bool isNew = false;
    std::string rendered;
    std::string language; // of the PO read
    std::string codePage; // that its originals were read in
    translate::UpdateCounts counts;
};

// Reads and parses `update.poPath`, listing its problems on `err`; false when it cannot
// be updated.
bool readPo(PoUpdate& update, translate::po::Catalog& translation, std::FILE* err) {
    os::Result read = os::readWholeFile(update.poPath, update.content);
    if (!read.ok()) {
        refuse(err, Status::system(std::move(read), update.poPath), true);
        return false;
    }
    std::vector<translate::Problem> problems;
    const Status status = translate::readPoCatalog(update.content, translation, problems);
    if (!status.ok()) {
        refuse(err, status, true);
        return false;
    }
    for (const translate::Problem& problem : problems) {
        const std::string where =
            problem.line > 0 ? update.poPath + ":" + std::to_string(problem.line) : update.poPath;
        std::fprintf(err, "%s: %s\n", where.c_str(), itemMessage(problem.status).c_str());
    }
    if (!problems.empty())
        std::fprintf(err, "edt-tool: %zu %s in \"%s\"; nothing was written.\n", problems.size(),
                     problems.size() == 1 ? "problem" : "problems", update.poPath.c_str());
    update.language = translation.language;
    update.codePage = translation.codePage;
    return problems.empty();
}

// The PO of `update.path` now: brought up to date from `translation`, or, for a new
// one, `language`'s. Its originals are read in the code page the PO names (or
// `codePageName`, for a new one) unless --codepage names one.
bool render(PoUpdate& update, const translate::po::Catalog* translation,
            const std::string& language, const std::string& codePageName, const Settings& settings,
            std::FILE* err) {
    const CodePage* codePage = &settings.codePage;
    if (!settings.codePageNamed && !codePageName.empty()) {
        const Status named = CodePage::named(codePageName, codePage);
        if (!named.ok()) {
            refuse(err, named, true);
            return false;
        }
    }
    const std::string& path = update.path;
    OpenFile opened;
    ReadResult file;
    file.status = openFile(path, update.kind, settings, false, opened, err);
    if (file.status.ok())
        file = opened.read();
    if (!file.status.ok()) {
        refuse(err, file.status, true);
        return false;
    }
    const translate::po::Catalog fresh =
        translate::poCatalog(file, fileTitleOf(path), *codePage, language);
    if (!translation) {
        update.counts.added = fresh.messages.size();
        update.isNew = true;
    }
    const Status status = translate::po::render(
        translation ? translate::updatedCatalog(*translation, fresh, update.counts) : fresh,
        update.rendered);
    if (!status.ok())
        refuse(err, status, true);
    return status.ok();
}

// Writes the PO, the previous version first, so that a failure leaves the translation
// as it was. The line it says on `out`, or a refusal on `err`.
bool writePo(const PoUpdate& update, std::string& report, std::FILE* err) {
    if (!update.isNew && update.rendered == update.content) {
        report += "\"" + update.poPath + "\" is up to date with \"" + update.path +
                  "\": " + summary(update.counts) + " Nothing was written.\n";
        return true;
    }
    const std::string backup = update.poPath + "~";
    std::vector<std::pair<const std::string*, const std::string*>> writes;
    if (!update.isNew)
        writes.push_back({&backup, &update.content});
    writes.push_back({&update.poPath, &update.rendered});
    for (const auto& [target, bytes] : writes) {
        os::Result saved = os::writeWholeFile(*target, bytes->data(), bytes->size());
        if (!saved.ok()) {
            refuse(err, Status::system(std::move(saved), *target), true);
            return false;
        }
    }
    report += update.isNew ? "Made \"" + update.poPath + "\" for the new \"" + update.path +
                                 "\": " + std::to_string(update.counts.added) + " new.\n"
                           : "Updated \"" + update.poPath + "\" from \"" + update.path +
                                 "\": " + summary(update.counts) + " The previous version is \"" +
                                 backup + "\".\n";
    return true;
}

} // namespace

int updateCommand(const std::string& path, const FileKind& kind, const std::string& poPath,
                  const Settings& settings, std::FILE* out, std::FILE* err) {
    PoUpdate update;
    update.path = path;
    update.kind = kind;
    update.poPath = poPath;
    translate::po::Catalog translation;
    std::string report;
    if (!readPo(update, translation, err) ||
        !render(update, &translation, {}, update.codePage, settings, err) ||
        !writePo(update, report, err))
        return kExitRefused;
    return deliver(report, out, err);
}

int updateFolderCommand(const std::string& folder, const std::string& poFolder,
                        const Settings& settings, std::FILE* out, std::FILE* err) {
    std::vector<NamePair> pairs;
    std::vector<FolderNote> notes;
    if (const std::optional<int> refused = pairForCommand(
            folder, poFolder, [](const std::string& name) { return hasExtension(name, ".po"); },
            true, err, pairs, notes))
        return *refused;
    std::size_t problems = 0;
    for (FolderNote& note : notes) {
        if (note.kind == FolderNote::Kind::NoEdtFile)
            note.kind = FolderNote::Kind::Vanished;       // the game lost a file
        if (note.kind != FolderNote::Kind::NoTranslation) // those get a new PO
            problems += tellFolder(err, note);
    }
    // Every PO read, brought up to date and checked before any is written.
    std::vector<PoUpdate> updates;
    std::vector<PoUpdate> fresh; // for the new EDT files
    std::string language, codePage;
    bool oneLanguage = true;
    for (const NamePair& pair : pairs) {
        if (pair.edtFiles.size() != 1 || pair.translations.size() > 1)
            continue;
        PoUpdate update;
        update.path = pair.edtFiles.front();
        update.kind = kindForPath(update.path);
        if (pair.translations.empty()) {
            update.poPath = os::inFolder(poFolder, stemOf(fileTitleOf(update.path)) + ".po");
            fresh.push_back(std::move(update));
            continue;
        }
        update.poPath = pair.translations.front();
        translate::po::Catalog translation;
        if (!readPo(update, translation, err) ||
            !render(update, &translation, {}, update.codePage, settings, err)) {
            ++problems;
            continue;
        }
        if (!update.language.empty() && !language.empty() && update.language != language)
            oneLanguage = false;
        if (language.empty())
            language = update.language;
        if (codePage.empty())
            codePage = update.codePage;
        updates.push_back(std::move(update));
    }
    // A new EDT file's PO is in the language of the others.
    for (PoUpdate& update : fresh) {
        if (language.empty() || !oneLanguage) {
            problems += tellFolder(err, {FolderNote::Kind::NoLanguage, update.poPath, poFolder});
            continue;
        }
        if (!render(update, nullptr, language, codePage, settings, err)) {
            ++problems;
            continue;
        }
        updates.push_back(std::move(update));
    }
    if (problems > 0) {
        std::fprintf(err,
                     "edt-tool: %zu %s of \"%s\" cannot be brought up to date; no PO was "
                     "written.\n",
                     problems, problems == 1 ? "PO" : "POs", poFolder.c_str());
        return kExitRefused;
    }
    std::string report;
    translate::UpdateCounts total;
    std::size_t made = 0;
    for (const PoUpdate& update : updates) {
        if (!writePo(update, report, err)) {
            deliver(report, out, err);
            return kExitRefused;
        }
        made += update.isNew;
        total.kept += update.counts.kept;
        total.fuzzy += update.counts.fuzzy;
        total.added += update.counts.added;
        total.obsolete += update.counts.obsolete;
    }
    report += "\"" + poFolder + "\" is up to date with \"" + folder +
              "\": " + std::to_string(updates.size()) + (updates.size() == 1 ? " PO (" : " POs (") +
              std::to_string(made) + " new), " + summary(total) + "\n";
    return deliver(report, out, err);
}

} // namespace edt::cli
