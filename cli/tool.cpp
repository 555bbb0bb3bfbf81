#include "cli/tool.h"

#include <cstring>
#include <string>
#include <vector>

#include "cli/list_command.h"
#include "cli/write_command.h"
#include "edt/version.h"

namespace edt::cli {
namespace {

const char kUsage[] = "Usage: edt-tool list FILE\n"
                      "       edt-tool write FILE KEY TEXT\n"
                      "       edt-tool --help | --version\n";

const char kHelp[] =
    "edt-tool lists and edits the texts of EDT files in place.\n"
    "\n"
    "Commands:\n"
    "  list FILE            Print the limit caption of FILE's kind, then one line per\n"
    "                       entry: [KEY] TEXT, in file order.\n"
    "  write FILE KEY TEXT  Store TEXT in the entry that starts at KEY and print its\n"
    "                       new line. Only the text's bytes and its terminator change.\n"
    "\n"
    "KEY is the entry's position in the file, counted from 1, as the listing shows it\n"
    "(leading zeros allowed). The kind of file, and so its record length, follows\n"
    "from FILE's name: email.edt (640 bytes), aimbios.edt and mercbios.edt (800 + 320),\n"
    "files.edt (800), quests.edt (160), names beginning with civ (320), any other\n"
    "name (480). A text of n characters needs 2n + 4 bytes of its entry.\n"
    "\n"
    "Texts are UTF-8 limited to the Windows-1252 characters, with escapes:\n"
    "  \\\\  backslash   \\r  carriage return   \\n  line feed   \\t  tab\n"
    "  \\xHH  any other control code, 127, and the bytes 81 8d 8f 90 9d\n"
    "\n"
    "Exit status: 0 done, 1 refused or failed (the file is unchanged), 2 wrong usage.\n";

} // namespace

int runTool(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
    std::vector<std::string> args(argv + 1, argv + argc);
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
    std::fputs(kUsage, err);
    std::fputs("Try 'edt-tool --help' for more information.\n", err);
    return kExitUsage;
}

} // namespace edt::cli
