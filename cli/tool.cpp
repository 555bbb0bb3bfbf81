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
#include "cli/import_command.h"
#include "cli/list_command.h"
#include "cli/output_buffer.h"
#include "cli/words.h"
#include "cli/write_command.h"
#include "edt/version.h"
#include "platform/console.h"
#include "platform/environment.h"
#include "translate/translation.h"

namespace edt::cli {
namespace {

const char kUsage[] =
    "Usage: edt-tool list FILE\n"
    "       edt-tool write FILE KEY TEXT\n"
    "       edt-tool export FILE --format csv|po|xlsx [-o OUT] [--force]\n"
    "       edt-tool import FILE TRANSLATION [--format csv|po|xlsx] [--dry-run] [--force]\n"
    "       edt-tool check FILE TRANSLATION [--format csv|po|xlsx]\n"
    "       edt-tool backups FILE\n"
    "       edt-tool restore FILE [BACKUP]\n"
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
    "  import FILE TRANSLATION [--format csv|po|xlsx] [--dry-run] [--force]\n"
    "                       Store the texts of a translation in FILE: its name (.csv,\n"
    "                       .po, .pot, .xlsx) or --format says which; XLSX: the first\n"
    "                       sheet, whose key and text cells must hold text (a number,\n"
    "                       date or formula there is refused, naming its cell).\n"
    "                       - reads it from standard input (with --format). The\n"
    "                       texts are written in\n"
    "                       the target code page: --codepage, else the PO's Language\n"
    "                       (pl: 1250, ru: 1251 ... as for the default), else the\n"
    "                       default; the originals (msgid, the source column) are read\n"
    "                       in the code page the translation names. An entry that\n"
    "                       holds neither the original nor the translation is stale\n"
    "                       and refused; --force writes it anyway. Empty texts and\n"
    "                       fuzzy messages are left out. Every text is checked first\n"
    "                       (the key starts an entry, the text fits it, every\n"
    "                       character can be stored); if any fails, or the\n"
    "                       translation ends in the middle, all problems are listed\n"
    "                       with their line and nothing is written. A write that fails\n"
    "                       midway is undone, so FILE is written whole or not at all.\n"
    "                       --dry-run only checks and reports.\n"
    "  check FILE TRANSLATION [--format csv|po|xlsx]\n"
    "                       The same as import --dry-run.\n"
    "  backups FILE         List FILE's backup copies: time, size, name, and which is\n"
    "                       the original (the file before it was first written).\n"
    "  restore FILE [BACKUP]\n"
    "                       Put the newest backup, or the one named BACKUP, back into\n"
    "                       FILE, after a backup of what it holds now.\n"
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
    "unchanged (the text was already there) and untranslated (no text given), and\n"
    "the keys of fuzzy messages.\n"
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

// export FILE --format csv|po|xlsx [-o OUT], options in any order.
int runExport(const std::vector<std::string>& args, const CodePage& codePage, std::FILE* out,
              std::FILE* err) {
    std::string path, formatName, outPath;
    bool force = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionValue(args, i, "--format", formatName))
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
    return exportCommand(path, kindForPath(path), *format, outPath, force, codePage, out, err);
}

// import FILE TRANSLATION [--format csv|po|xlsx] [--dry-run], and check (a dry run).
int runImport(const std::vector<std::string>& args, bool dryRun, const Settings& settings,
              std::FILE* out, std::FILE* err) {
    std::vector<std::string> operands;
    std::optional<std::string> formatName;
    std::string value;
    bool force = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--dry-run" && args[0] == "import")
            dryRun = true;
        else if (args[i] == "--force")
            force = true;
        else if (optionValue(args, i, "--format", value))
            formatName = value;
        else
            operands.push_back(args[i]);
    }
    if (operands.size() != 2)
        return usageError(err);
    const std::optional<TranslationFormat> format =
        formatName ? translate::formatOfName(*formatName) : translate::formatOfPath(operands[1]);
    if (formatName && !format)
        return usageError(err);
    return importCommand(operands[0], kindForPath(operands[0]), operands[1], format, dryRun, force,
                         settings, out, err);
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

void tell(std::FILE* err, const std::optional<Status>& note) {
    if (note)
        std::fprintf(err, "edt-tool: note: %s\n", toolMessage(*note).c_str());
}

void tell(std::FILE* err, const std::vector<Status>& notes) {
    for (const Status& note : notes)
        tell(err, note);
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
    SafeWriter writer = SafeWriter::forUser(noBackup || environment.noBackup);
    const Settings settings{*codePage, writer, codePageName.has_value()};
    // Whatever a command does with FILE, a write into it cut short is rolled back first.
    static const char* const kOnFile[] = {"list",  "write",   "export", "import",
                                          "check", "backups", "restore"};
    if (args.size() >= 2 &&
        std::find(std::begin(kOnFile), std::end(kOnFile), args[0]) != std::end(kOnFile))
        tell(err, writer.recover(args[1]));
    if (args.size() == 2 && args[0] == "list")
        return listCommand(args[1], kindForPath(args[1]), *codePage, out, err);
    if (args.size() == 4 && args[0] == "write")
        return writeCommand(args[1], kindForPath(args[1]), args[2], args[3], settings, out, err);
    if (!args.empty() && args[0] == "export")
        return runExport(args, *codePage, out, err);
    if (!args.empty() && (args[0] == "import" || args[0] == "check"))
        return runImport(args, args[0] == "check", settings, out, err);
    if (args.size() == 2 && args[0] == "backups")
        return backupsCommand(args[1], settings, out, err);
    if ((args.size() == 2 || args.size() == 3) && args[0] == "restore")
        return restoreCommand(args[1], args.size() == 3 ? args[2] : "", settings, out, err);
    return usageError(err);
}

} // namespace edt::cli
