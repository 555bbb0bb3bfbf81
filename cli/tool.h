// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "record/code_page.h"
#include "record/open_file.h"
#include "record/state_folder.h"
#include "record/status.h"

namespace edt::cli {

// Exit codes of edt-tool.
constexpr int kExitOk = 0;
constexpr int kExitRefused = 1; // refusal or failure; the file is as it was
constexpr int kExitUsage = 2;

// Runs edt-tool with its arguments (args[0] is the program name).
int runTool(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// Tells why a command did not succeed, on `err`: "edt-tool: ", `lead`, the status's
// sentence, then " Nothing was written." where a write was refused before it began.
// Returns kExitRefused.
int refuse(std::FILE* err, const Status& status, bool writing, const std::string& lead = {});

// Writes all of `bytes` to `out` and flushes it; a failure is told on `err`.
int deliver(const std::string& bytes, std::FILE* out, std::FILE* err);

class OutputBuffer;
// Writes what is left in `output`; a failure of any of its writes is told on `err`.
int finishOutput(OutputBuffer& output, std::FILE* err);

// Tells a note, if any, on `err`.
void tell(std::FILE* err, const std::optional<Status>& note);
void tell(std::FILE* err, const std::vector<Status>& notes);

struct FolderNote;
// Tells a folder's note on `err`; 1 for a problem, 0 for a note that stops nothing
// (an EDT file without a translation, a translation without an EDT file).
std::size_t tellFolder(std::FILE* err, const FolderNote& note);
// Tells a folder's problem on `err` and returns kExitRefused.
int refuseFolder(std::FILE* err, const FolderNote& note);

// What holds for every command of a run: the code page of the texts, and how files
// are written (backup, journal, lock).
struct Settings {
    const CodePage& codePage;
    StateFolder& state;
    bool codePageNamed = false; // by --codepage, rather than the default
    std::string codePageOrigin; // where it came from, after its name: "was given with
                                // --codepage", "is the default for the locale ..."
};

// Opens the EDT file a command works on, as OpenFile does (locked, an interrupted
// write rolled back), and says on `err` what opening found; a journal that leaves the
// file half-written is left for the refusal of a command that is `writing`, which
// keeps the lock to its end; one that only reads lets it go. Fails, saying nothing,
// when the file cannot be opened.
Status openFile(const std::string& path, const FileKind& kind, const Settings& settings,
                bool writing, OpenFile& file, std::FILE* err);

} // namespace edt::cli
