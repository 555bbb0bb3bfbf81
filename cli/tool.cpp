// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tool.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/export_command.h"
#include "cli/import_command.h"
#include "cli/list_command.h"
#include "cli/write_command.h"
#include "edt/version.h"
#include "record/message.h"
#include "translate/translation.h"

namespace edt::cli {
namespace {

const char kUsage[] = "Usage: edt-tool list FILE\n"
                      "       edt-tool write FILE KEY TEXT\n"
                      "       edt-tool export FILE --format csv|po [-o OUT]\n"
                      "       edt-tool import FILE TRANSLATION [--dry-run]\n"
                      "       edt-tool check FILE TRANSLATION\n"
                      "       edt-tool --help | --version\n";

const char kHelp[] =
    "edt-tool lists and edits the texts of EDT files in place.\n"
    "\n"
    "Commands:\n"
    "  list FILE            Print the limit caption of FILE's kind, then one line per\n"
    "                       entry: [KEY] TEXT, in file order.\n"
    "  write FILE KEY TEXT  Store TEXT in the entry that starts at KEY and print its\n"
    "                       new line. Only the text's bytes and its terminator change.\n"
    "  export FILE --format csv|po [-o OUT]\n"
    "                       Write every entry's key and text for translators, to OUT or\n"
    "                       to standard output. CSV: UTF-8, header key,text, line\n"
    "                       breaks kept inside quoted fields. PO: the key as msgctxt,\n"
    "                       the text as msgid, an empty msgstr, the entry's limit as a\n"
    "                       comment. The format follows OUT's extension if not given.\n"
    "  import FILE TRANSLATION [--dry-run]\n"
    "                       Store the texts of a translation (.csv: key,text; .po:\n"
    "                       msgctxt key, msgstr text) in FILE. Empty texts and fuzzy\n"
    "                       messages are left out. Every text is checked first (the\n"
    "                       key starts an entry, the text fits it, every character\n"
    "                       can be stored); if any fails, all problems are listed with\n"
    "                       their line and nothing is written. A write that fails\n"
    "                       midway is undone, so FILE is written whole or not at all.\n"
    "                       --dry-run only checks and reports.\n"
    "  check FILE TRANSLATION\n"
    "                       The same as import --dry-run.\n"
    "\n"
    "import and check end with a summary: entries changed, unchanged (the text was\n"
    "already there) and untranslated (no text given).\n"
    "\n"
    "KEY is the entry's position in the file, counted from 1, as the listing shows it\n"
    "(leading zeros allowed). The kind of file, and so its record length, follows\n"
    "from FILE's name: email.edt (640 bytes), aimbios.edt and mercbios.edt (800 + 320),\n"
    "files.edt (800), quests.edt (160), names beginning with civ (320), any other\n"
    "name (480). A text of n characters needs 2n + 4 bytes of its entry.\n"
    "\n"
    "Texts are limited to the Windows-1252 characters. Translations hold them as plain\n"
    "UTF-8; write takes them as UTF-8 with escapes:\n"
    "  \\\\  backslash   \\r  carriage return   \\n  line feed   \\t  tab\n"
    "  \\xHH  any other control code, 127, and the bytes 81 8d 8f 90 9d\n"
    "\n"
    "Exit status: 0 done, 1 refused or failed (the file is unchanged), 2 wrong usage.\n";

using translate::TranslationFormat;

int usageError(std::FILE* err) {
    std::fputs(kUsage, err);
    std::fputs("Try 'edt-tool --help' for more information.\n", err);
    return kExitUsage;
}

// export FILE --format csv|po [-o OUT], options in any order.
int runExport(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    std::string path, formatName, outPath;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--format" && hasValue)
            formatName = args[++i];
        else if (arg.rfind("--format=", 0) == 0)
            formatName = arg.substr(9);
        else if ((arg == "-o" || arg == "--output") && hasValue)
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
        std::fprintf(err, "edt-tool: give the format of the export: --format csv or --format "
                          "po.\n");
        return kExitUsage;
    }
    return exportCommand(path, *format, outPath, out, err);
}

// import FILE TRANSLATION [--dry-run]
int runImport(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    std::vector<std::string> operands;
    bool dryRun = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--dry-run")
            dryRun = true;
        else
            operands.push_back(args[i]);
    }
    if (operands.size() != 2)
        return usageError(err);
    return importCommand(operands[0], operands[1], dryRun, out, err);
}

} // namespace

int refuse(std::FILE* err, const Status& status, bool writing, const std::string& lead) {
    const std::string closing = writing ? nothingWritten(status) : std::string();
    std::fprintf(err, "edt-tool: %s%s%s\n", lead.c_str(), describe(status).c_str(),
                 closing.c_str());
    return kExitRefused;
}

int deliver(const std::string& bytes, std::FILE* out, std::FILE* err) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0)
        return kExitOk;
    return refuse(err, Status::system(os::errnoFailure(os::Op::Write, errno), "-"), false);
}

int runTool(const std::vector<std::string>& argv, std::FILE* out, std::FILE* err) {
    const std::vector<std::string> args(argv.begin() + (argv.empty() ? 0 : 1), argv.end());
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
    if (args.size() == 2 && args[0] == "list")
        return listCommand(args[1], out, err);
    if (args.size() == 4 && args[0] == "write")
        return writeCommand(args[1], args[2], args[3], out, err);
    if (!args.empty() && args[0] == "export")
        return runExport(args, out, err);
    if (!args.empty() && args[0] == "import")
        return runImport(args, out, err);
    if (args.size() == 3 && args[0] == "check")
        return importCommand(args[1], args[2], true, out, err);
    return usageError(err);
}

} // namespace edt::cli
