// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/words.h"

#include "cli/game_folder.h"
#include "cli/tool_status.h"
#include "record/entry_line.h"
#include "record/file_kind.h"
#include "record/message.h"
#include "translate/translate_status.h"

namespace edt::cli {
namespace {

std::string hint(const Status& s) {
    switch (numberOf(s.code)) {
    case numberOf(StatusCode::UnknownCodePage):
    case numberOf(StatusCode::MultiByteCodePage):
        return " The single-byte code pages: edt-tool --list-codepages.";
    case numberOf(StatusCode::NotInCharacterSet):
        return s.detail.empty() ? std::string()
                                : " " + s.codePage + " " + s.detail +
                                      "; choose another with --codepage NAME (edt-tool "
                                      "--list-codepages lists them).";
    case numberOf(StatusCode::BackupFailed):
        return " (--no-backup or EDT_NO_BACKUP=1 writes without a copy.)";
    case numberOf(StatusCode::FileChanged):
    case numberOf(StatusCode::FileRemoved):
        return " Run the command again.";
    case numberOf(translate::Code::StaleEntry):
        return " Export the texts again, or import with --force to write it anyway.";
    case numberOf(StatusCode::NoBackup):
        return s.detail.empty() ? std::string() : " edt-tool backups FILE lists them.";
    case numberOf(StatusCode::JournalUnusable):
        return " edt-tool recover " + quoted(s.path) +
               " tries again; with --discard it removes the journal.";
    default:
        return {};
    }
}

std::string own(const Status& s) {
    switch (numberOf(s.code)) {
    case numberOf(cli::ToolCode::UnknownFormat):
        return "Cannot tell the format of " +
               (s.path == "-" ? std::string("standard input") : quoted(s.path)) +
               ": give --format csv, po or xlsx (a .csv, .po, .pot or .xlsx name says it).";
    case numberOf(cli::ToolCode::ExportOverSource):
        return quoted(s.path) + " is the file being exported; give another name for the export.";
    case numberOf(cli::ToolCode::ExportExists):
        return quoted(s.path) + " exists; give --force to replace it, or another name.";
    case numberOf(cli::ToolCode::ExportOverEdtFile):
        return quoted(s.path) + " is the name of an EDT file; an export never replaces one. "
                                "Give a name ending in .po, .csv or .xlsx.";
    case numberOf(cli::ToolCode::TranslationTooLarge):
        return (s.path == "-" ? std::string("Standard input") : quoted(s.path)) + " is more than " +
               std::to_string(s.limit) + " bytes long: larger than any translation of " +
               quoted(s.detail) + " can be (every entry's longest text, escaped, with its key).";
    case numberOf(cli::ToolCode::TranslationOutOfMemory):
        return "There is not enough memory to read the translation " +
               (s.path == "-" ? std::string("on standard input") : quoted(s.path)) + ".";
    default:
        break;
    }
    const std::string sentence = translate::describe(s);
    return sentence.empty() ? sentence : sentence + hint(s);
}

constexpr FrontEndWords kWords{own, hint};

} // namespace

std::string toolMessage(const Status& status, bool ofWrite) {
    return edt::describe(status, ofWrite, kWords);
}

std::string itemMessage(const Status& status) {
    const std::string sentence = toolMessage(status);
    if (!status.key || sentence.find(formatKey(*status.key)) != std::string::npos)
        return sentence;
    return "Entry " + formatKey(*status.key) + ": " + sentence;
}

std::string folderMessage(const FolderNote& note) {
    const std::string path = quoted(note.path), detail = quoted(note.detail);
    const std::string name = fileTitleOf(note.path);
    switch (note.kind) {
    case FolderNote::Kind::NoTranslation:
        return path + " has no translation in " + detail + " (" + stemOf(name) +
               ".po, .csv or .xlsx, in any case); it is left as it is.";
    case FolderNote::Kind::NoEdtFile:
        return path + " has no EDT file of its name in " + detail + " (" + stemOf(name) +
               ".edt, in any case); it is left out.";
    case FolderNote::Kind::SameName:
        return "In " + path + ", " + note.detail +
               " have one name (names are compared in any case, without their extension): "
               "keep one.";
    case FolderNote::Kind::NoEdtFiles:
        return path + " holds no EDT file (a name ending in .edt, in any case).";
    case FolderNote::Kind::NoLanguage:
        return "Cannot make " + path + " for the new EDT file: the POs of " + detail +
               " name no one Language. Make it with edt-tool export FILE --language LL -o " + path +
               ".";
    case FolderNote::Kind::Vanished:
        return path + " has no EDT file " + stemOf(name) + ".edt in " + detail +
               " any more; it is left as it is.";
    case FolderNote::Kind::NotAFolder:
        return path + " is not a folder: with the folder " + detail +
               " of EDT files, give the folder of their translations.";
    case FolderNote::Kind::NoTranslations:
        return path + " holds no translation (.po, .csv or .xlsx) of an EDT file of " + detail +
               ".";
    }
    return {};
}

} // namespace edt::cli
