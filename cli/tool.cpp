// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tool.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "cli/backups_command.h"
#include "cli/export_command.h"
#include "cli/game_folder.h"
#include "cli/import_command.h"
#include "cli/list_command.h"
#include "cli/output_buffer.h"
#include "cli/stats_command.h"
#include "cli/update_command.h"
#include "cli/words.h"
#include "cli/write_command.h"
#include "edt/version.h"
#include "platform/console.h"
#include "platform/environment.h"
#include "record/message.h"
#include "translate/plural_forms.h"
#include "translate/translation.h"

namespace edt::cli {
namespace {

const char kUsage[] =
    "Usage: edt-tool list FILE\n"
    "       edt-tool write FILE KEY TEXT\n"
    "       edt-tool export FILE --format csv|po|xlsx [-o OUT] [--force]\n"
    "       edt-tool export FILE --language LL [-o OUT] [--force]\n"
    "       edt-tool import FILE TRANSLATION [--format csv|po|xlsx] [--dry-run] [--force]\n"
    "                       [--recode-untranslated] [--sheet NAME]\n"
    "       edt-tool check FILE TRANSLATION [--format csv|po|xlsx] [--recode-untranslated]\n"
    "                       [--sheet NAME]\n"
    "       edt-tool update FILE LL.po\n"
    "       edt-tool stats FILE TRANSLATION [--format table|csv]\n"
    "       edt-tool export DIR --language LL|--format csv|po|xlsx -o FOLDER [--force]\n"
    "       edt-tool import|check|update|stats DIR FOLDER [options as for a file]\n"
    "       edt-tool backups FILE\n"
    "       edt-tool restore FILE [BACKUP]\n"
    "       edt-tool recover FILE [--discard]\n"
    "       edt-tool --list-codepages | --help | --version\n"
    "Each command takes --codepage NAME too, write, import and restore --no-backup,\n"
    "before or after the command.\n";

const char kHelp[] =
    "edt-tool lists and edits the texts of EDT files in place.\n"
    "\n"
    "Commands:\n"
    "  list FILE            Print the limit caption of FILE's kind, then one line per\n"
    "                       entry: [KEY] TEXT, in file order.\n"
    "  write FILE KEY TEXT  Store TEXT in the entry that starts at KEY and print its\n"
    "                       new line. Only the text's bytes and its terminator change.\n"
    "  export FILE --format csv|po|xlsx [-o OUT] [--force]\n"
    "                       Write every entry's key, limit and text for translators,\n"
    "                       to OUT or to standard output. CSV: UTF-8, the columns\n"
    "                       key,max,source (CODE PAGE),text. PO: the key as msgctxt,\n"
    "                       the text as msgid, an empty msgstr, the flag max-length:N.\n"
    "                       XLSX (-o OUT, or -o - for standard output): one sheet of\n"
    "                       the CSV's columns, every cell but max typed Text, so that\n"
    "                       a spreadsheet keeps what is typed as it is typed.\n"
    "                       The code page named is the source's, the one the texts\n"
    "                       were read in. The format follows OUT's extension if not\n"
    "                       given. An existing OUT is replaced only with --force, an\n"
    "                       EDT file (any .edt, or civ ... without .po, .csv or\n"
    "                       .xlsx) never.\n"
    "  export FILE --language LL [-o OUT] [--force]\n"
    "                       The PO of a translation into LL (pl, pt_BR, sr@latin ...),\n"
    "                       as msginit makes one but with the max-length flags kept:\n"
    "                       Language: LL, gettext's Plural-Forms for it, empty texts.\n"
    "  import FILE TRANSLATION [--format csv|po|xlsx] [--dry-run] [--force]\n"
    "         [--recode-untranslated] [--sheet NAME]\n"
    "                       Store the texts of a translation in FILE: its name (.csv,\n"
    "                       .po, .pot, .xlsx) or --format says which; XLSX: the first\n"
    "                       sheet (or the one --sheet names), whose key and text cells\n"
    "                       must hold text (a number, date or formula there is\n"
    "                       refused, naming its cell).\n"
    "                       - reads it from standard input (with --format). The\n"
    "                       texts are written in\n"
    "                       the target code page: --codepage, else the PO's Language\n"
    "                       (pl: 1250, ru: 1251 ... as for the default), else the\n"
    "                       default; the originals (msgid, the source column) are read\n"
    "                       in the code page the translation names. An entry that\n"
    "                       holds neither the original nor the translation is stale\n"
    "                       and refused; --force writes it anyway, but never one\n"
    "                       whose source cell a spreadsheet turned into a number, a\n"
    "                       date or a formula's value. A text that is empty, fuzzy\n"
    "                       or still its original (a CSV text the same as its\n"
    "                       source, a msgstr the same as its msgid) is untranslated:\n"
    "                       its entry stays as FILE holds it. Where the target code\n"
    "                       page is not the source's, a note names the untranslated\n"
    "                       originals that read differently in it;\n"
    "                       --recode-untranslated writes them in the target code\n"
    "                       page wherever it has every character, and names the\n"
    "                       others. Every text is checked first (the key starts an\n"
    "                       entry, the text fits it, every character can be\n"
    "                       stored); if any fails, or the translation ends in the\n"
    "                       middle, all problems are listed with their line and\n"
    "                       nothing is written. A write that fails midway is undone,\n"
    "                       so FILE is written whole or not at all.\n"
    "                       --dry-run only checks and reports.\n"
    "  check FILE TRANSLATION [--format csv|po|xlsx] [--recode-untranslated]\n"
    "         [--sheet NAME]\n"
    "                       Check and report as import --dry-run does; it takes\n"
    "                       neither --force nor --no-backup, as it writes nothing.\n"
    "  update FILE LL.po    Bring a translation up to date with FILE's texts now, as\n"
    "                       msgmerge --update --previous does, matched by key: a\n"
    "                       translation whose original changed is kept, marked fuzzy\n"
    "                       with the previous original (#| msgid); new entries come\n"
    "                       untranslated, those gone become obsolete (#~). The limits\n"
    "                       and comments for translators are FILE's now, the header\n"
    "                       and the translator's comments are kept. The originals are\n"
    "                       read in the code page the PO names (--codepage for\n"
    "                       another). LL.po is replaced whole, the previous one kept\n"
    "                       as LL.po~; one gettext cannot read is refused, its\n"
    "                       problems listed.\n"
    "  stats FILE TRANSLATION [--format table|csv]\n"
    "                       How far the translation is, as import sees it: FILE's\n"
    "                       entries, translated, fuzzy, untranslated, over the limit\n"
    "                       (too long for the entry), stale, other problems (check\n"
    "                       lists them) and the share translated; csv for scripts.\n"
    "  export DIR --language LL|--format csv|po|xlsx -o FOLDER [--force]\n"
    "  import|check|update|stats DIR FOLDER [options as for a file]\n"
    "                       The command on every EDT file of the folder DIR (a name\n"
    "                       ending in .edt, in any case; other files are left out),\n"
    "                       each with the translation of its name in FOLDER, names\n"
    "                       compared in any case as Windows does (EMAIL.EDT goes with\n"
    "                       email.po). export makes FOLDER if missing and writes\n"
    "                       NAME.po into it with --language, else NAME.pot, NAME.csv\n"
    "                       or NAME.xlsx; none if one exists and no --force. import\n"
    "                       and check read NAME.po, .csv or .xlsx (of --format only,\n"
    "                       if given), check every file first and write none if any\n"
    "                       has a problem; an EDT file without a translation, and a\n"
    "                       translation without an EDT file, are named and left out.\n"
    "                       update brings each NAME.po up to date, makes one in the\n"
    "                       others' Language for a new EDT file, names one whose EDT\n"
    "                       file is gone, and writes none if any cannot be read.\n"
    "                       stats has a row for each file and the total. Each says\n"
    "                       one line per file, then one for the folder.\n"
    "  backups FILE         List FILE's backup copies: time, size, name, and which is\n"
    "                       the original (the file before it was first written).\n"
    "  restore FILE [BACKUP]\n"
    "                       Put the newest backup, or the one named BACKUP, back into\n"
    "                       FILE, after a backup of what it holds now.\n"
    "  recover FILE [--discard]\n"
    "                       Play back the journal of a write into FILE that was cut\n"
    "                       short, as every command does first. A journal that cannot\n"
    "                       be played back (damaged, not this user's, the file\n"
    "                       read-only) is kept, every command warns and writes are\n"
    "                       refused; --discard removes it and leaves FILE as it is.\n"
    "\n"
    "Every write goes through a journal of the bytes it replaces, kept in\n"
    "$XDG_STATE_HOME/edt-editor/journals until the file is flushed; a write cut short\n"
    "(a crash, a power cut) is rolled back by the next command that opens the file. A\n"
    "program writing a file holds its lock; another waits up to two seconds, then\n"
    "refuses. Before write and import first change a file in a run, a copy of it goes to\n"
    "$XDG_STATE_HOME/edt-editor/backups (~/.local/state/edt-editor/backups; on Windows\n"
    "%LOCALAPPDATA%\\edt-editor\\backups), one folder per file; its first copy and the\n"
    "20 newest are kept, files above 64 MiB are not copied. --no-backup or\n"
    "EDT_NO_BACKUP=1 writes without the copy.\n"
    "\n"
    "import and check end with a summary: both code pages, entries changed,\n"
    "unchanged (the text was already there) and untranslated (no translation given),\n"
    "of these the ones recoded or reading differently in the target, and the keys\n"
    "of fuzzy messages. A character the target code page lacks is refused with where\n"
    "that code page came from; --codepage NAME chooses another.\n"
    "\n"
    "KEY is the entry's position in the file, counted from 1, as the listing shows it\n"
    "(leading zeros allowed). The kind of file, and so its record length, follows\n"
    "from FILE's name: email.edt (640 bytes), aimbios.edt and mercbios.edt (800 + 320),\n"
    "files.edt (800), quests.edt (160), names beginning with civ (320), any other\n"
    "name (480). A text of n characters needs 2n + 4 bytes of its entry; it is stored\n"
    "whole up to that (398 characters in 800 bytes), a longer one is refused, never\n"
    "cut. A write never changes a file's size: an entry cut off by the end of the\n"
    "file takes only texts that fit the bytes there.\n"
    "\n"
    "Texts are in a single-byte code page, one byte a character: the language's\n"
    "Windows code page (1250 Central European, 1251 Cyrillic, 1252 Western, 1253\n"
    "Greek ...), a DOS one (437, 850, 852, 866), KOI8-R, ISO-8859-2 and others.\n"
    "--codepage NAME (\"1251\", \"cp1251\", \"windows-1251\", \"koi8-r\" ...) chooses it;\n"
    "without it, the environment variable EDT_CODEPAGE does; else the locale's\n"
    "language (LC_ALL, LC_CTYPE, LANG) gives its Windows code page, 1252 for others.\n"
    "--list-codepages lists every one this system offers. The character of code 255\n"
    "(y with diaeresis in 1252, ya in 1251) cannot be stored in an EDT file.\n"
    "\n"
    "Translations hold texts as plain UTF-8, a line break as one line feed and a lone\n"
    "CR or LF as the editor's stand-ins; write takes them as UTF-8 with escapes:\n"
    "  \\\\  backslash   \\r  carriage return   \\n  line feed   \\t  tab\n"
    "  \\xHH  any other control code, and the bytes the code page leaves undefined\n"
    "\n"
    "Exit status: 0 done, 1 refused or failed (the file is unchanged), 2 wrong usage.\n";

using translate::TranslationFormat;

using os::optionValue;

int usageError(std::FILE* err) {
    std::fputs(kUsage, err);
    std::fputs("Try 'edt-tool --help' for more information.\n", err);
    return kExitUsage;
}

// export FILE --format csv|po|xlsx | --language LL [-o OUT], options in any order.
int runExport(const std::vector<std::string>& args, const Settings& settings, std::FILE* out,
              std::FILE* err) {
    std::string path, formatName, outPath, language;
    bool force = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionValue(args, i, "--format", formatName) ||
            optionValue(args, i, "--language", language))
            continue;
        if (arg == "--force")
            force = true;
        else if ((arg == "-o" || arg == "--output") && i + 1 < args.size())
            outPath = args[++i];
        else if (path.empty() && (arg.empty() || arg[0] != '-'))
            path = arg;
        else
            return usageError(err);
    }
    if (path.empty())
        return usageError(err);
    std::optional<TranslationFormat> format =
        formatName.empty() ? translate::formatOfPath(outPath) : translate::formatOfName(formatName);
    if (!language.empty()) {
        // A language's translation is a PO file.
        if (!formatName.empty() && format != TranslationFormat::Po)
            return usageError(err);
        if (!translate::isLanguageCode(language)) {
            std::fprintf(err,
                         "edt-tool: \"%s\" is not a language code: give it as gettext names "
                         "languages, such as pl, pt_BR or sr@latin.\n",
                         language.c_str());
            return kExitUsage;
        }
        format = TranslationFormat::Po;
    }
    const bool folder = isFolder(path);
    if (folder && (outPath.empty() || outPath == "-")) {
        std::fprintf(err, "edt-tool: a folder's export needs -o FOLDER, the folder for its "
                          "translations.\n");
        return kExitUsage;
    }
    if (folder && !format)
        format = formatName.empty() ? TranslationFormat::Po : translate::formatOfName(formatName);
    if (!format) {
        std::fprintf(err, "edt-tool: give the format of the export: --format csv, po or "
                          "xlsx.\n");
        return kExitUsage;
    }
    if (*format == TranslationFormat::Xlsx && outPath.empty()) {
        // A workbook is binary: to standard output only when asked for by "-o -".
        std::fprintf(err, "edt-tool: an XLSX export needs -o OUT.xlsx (-o - for standard "
                          "output).\n");
        return kExitUsage;
    }
    if (folder)
        return exportFolderCommand(path, *format, outPath, force, settings, out, err, language);
    return exportCommand(path, kindForPath(path), *format, outPath, force, settings, out, err,
                         language);
}

// import FILE TRANSLATION [--format csv|po|xlsx] [--dry-run] [--force]
// [--recode-untranslated], and check, a dry run that takes neither --dry-run nor --force.
int runImport(const std::vector<std::string>& args, const Settings& settings, std::FILE* out,
              std::FILE* err) {
    std::vector<std::string> operands;
    std::optional<std::string> formatName;
    std::string value;
    ImportRequest request;
    request.check = args[0] == "check";
    request.dryRun = request.check;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--dry-run" && !request.check)
            request.dryRun = true;
        else if (args[i] == "--force" && !request.check)
            request.options.force = true;
        else if (args[i] == "--recode-untranslated")
            request.options.recodeUntranslated = true;
        else if (optionValue(args, i, "--format", value))
            formatName = value;
        else if (optionValue(args, i, "--sheet", value))
            request.sheet = value;
        else if (args[i].size() > 1 && args[i][0] == '-')
            return usageError(err); // an option it does not take; "-" is standard input
        else
            operands.push_back(args[i]);
    }
    if (operands.size() != 2)
        return usageError(err);
    const std::optional<TranslationFormat> format =
        formatName ? translate::formatOfName(*formatName) : translate::formatOfPath(operands[1]);
    if (formatName && !format)
        return usageError(err);
    if (isFolder(operands[0]))
        return importFolderCommand(operands[0], operands[1], formatName ? format : std::nullopt,
                                   request, settings, out, err);
    return importCommand(operands[0], kindForPath(operands[0]), operands[1], format, request,
                         settings, out, err);
}

// stats FILE TRANSLATION [--format table|csv], and the same for folders.
int runStats(const std::vector<std::string>& args, const Settings& settings, std::FILE* out,
             std::FILE* err) {
    std::vector<std::string> operands;
    std::string format = "table";
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (optionValue(args, i, "--format", format))
            continue;
        if (args[i].size() > 1 && args[i][0] == '-')
            return usageError(err);
        operands.push_back(args[i]);
    }
    if (operands.size() != 2 || (format != "table" && format != "csv"))
        return usageError(err);
    return statsCommand(operands[0], operands[1], format == "csv", settings, out, err);
}

// Where the code page of the texts came from, said after its name.
std::string codePageOrigin(bool named, const os::Environment& environment) {
    if (named)
        return "was given with --codepage";
    if (!environment.codePage.empty())
        return "is set by EDT_CODEPAGE";
    if (!environment.locale.empty())
        return "is the default for the locale " + quoted(environment.locale);
    return "is the default";
}

} // namespace

int refuse(std::FILE* err, const Status& status, bool writing, const std::string& lead) {
    std::fprintf(err, "edt-tool: %s%s\n", lead.c_str(), toolMessage(status, writing).c_str());
    return kExitRefused;
}

int finishOutput(OutputBuffer& output, std::FILE* err) {
    const int error = output.finish();
    if (error == 0)
        return kExitOk;
    return refuse(err, Status::system(os::errnoFailure(os::Op::Write, error), "-"), false);
}

Status openFile(const std::string& path, const FileKind& kind, const Settings& settings,
                bool writing, OpenFile& file, std::FILE* err) {
    const Status opened = file.open(path, kind, &settings.state);
    if (!opened.ok())
        return opened;
    if (!writing || !file.halfWritten())
        tell(err, file.note());
    // A command that only reads may wait on its output (a pipe, a pager): others may
    // write meanwhile.
    if (!writing)
        file.release();
    return opened;
}

void tell(std::FILE* err, const std::optional<Status>& note) {
    if (note)
        std::fprintf(err, "edt-tool: %s: %s\n",
                     note->code == StatusCode::JournalUnusable ? "warning" : "note",
                     toolMessage(*note).c_str());
}

void tell(std::FILE* err, const std::vector<Status>& notes) {
    for (const Status& note : notes)
        tell(err, note);
}

std::size_t tellFolder(std::FILE* err, const FolderNote& note) {
    const bool only = note.kind == FolderNote::Kind::NoTranslation ||
                      note.kind == FolderNote::Kind::NoEdtFile ||
                      note.kind == FolderNote::Kind::Vanished;
    std::fprintf(err, "edt-tool: %s%s\n", only ? "note: " : "", folderMessage(note).c_str());
    return only ? 0 : 1;
}

int refuseFolder(std::FILE* err, const FolderNote& note) {
    tellFolder(err, note);
    return kExitRefused;
}

int deliver(const std::string& bytes, std::FILE* out, std::FILE* err) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0)
        return kExitOk;
    return refuse(err, Status::system(os::errnoFailure(os::Op::Write, errno), "-"), false);
}

int runTool(const std::vector<std::string>& argv, std::FILE* out, std::FILE* err) {
    // The options that hold for every command, before or after it.
    std::vector<std::string> args;
    std::optional<std::string> codePageName;
    std::string value;
    bool listCodePages = false, noBackup = false;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        if (optionValue(argv, i, "--codepage", value))
            codePageName = value;
        else if (argv[i] == "--list-codepages")
            listCodePages = true;
        else if (argv[i] == "--no-backup")
            noBackup = true;
        else if (argv[i] == "--codepage")
            return usageError(err);
        else
            args.push_back(argv[i]);
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, out);
        std::fputs("\n", out);
        std::fputs(kHelp, out);
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::fprintf(out, "edt-tool %s\n", kVersionString);
        return kExitOk;
    }
    if (listCodePages && args.empty()) {
        std::string names;
        for (const std::string& name : CodePage::available())
            names += name + "\n";
        return deliver(names, out, err);
    }
    const os::Environment environment = os::environment();
    const CodePage* codePage = nullptr;
    const Status chosen =
        codePageName ? CodePage::named(*codePageName, codePage)
                     : CodePage::hostDefault(environment.codePage, environment.locale, codePage);
    if (!chosen.ok()) {
        std::fprintf(err, "edt-tool: %s\n", toolMessage(chosen).c_str());
        return kExitUsage;
    }
    StateFolder state = StateFolder::forUser(noBackup || environment.noBackup);
    const Settings settings{*codePage, state, codePageName.has_value(),
                            codePageOrigin(codePageName.has_value(), environment)};
    if ((args.size() == 2 || (args.size() == 3 && args[2] == "--discard")) && args[0] == "recover")
        return recoverCommand(args[1], args.size() == 3, settings, out, err);
    if (args.size() == 2 && args[0] == "list")
        return listCommand(args[1], kindForPath(args[1]), settings, out, err);
    if (args.size() == 4 && args[0] == "write")
        return writeCommand(args[1], kindForPath(args[1]), args[2], args[3], settings, out, err);
    if (!args.empty() && args[0] == "export")
        return runExport(args, settings, out, err);
    if (!args.empty() && args[0] == "check" && noBackup)
        return usageError(err); // check writes nothing
    if (!args.empty() && (args[0] == "import" || args[0] == "check"))
        return runImport(args, settings, out, err);
    if (args.size() == 3 && args[0] == "update" && isFolder(args[1]))
        return updateFolderCommand(args[1], args[2], settings, out, err);
    if (args.size() == 3 && args[0] == "update")
        return updateCommand(args[1], kindForPath(args[1]), args[2], settings, out, err);
    if (!args.empty() && args[0] == "stats")
        return runStats(args, settings, out, err);
    if (args.size() == 2 && args[0] == "backups")
        return backupsCommand(args[1], settings, out, err);
    if ((args.size() == 2 || args.size() == 3) && args[0] == "restore")
        return restoreCommand(args[1], args.size() == 3 ? args[2] : "", settings, out, err);
    return usageError(err);
}

} // namespace edt::cli
