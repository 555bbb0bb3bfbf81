// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/backups_command.h"

#include "platform/folders.h"
#include "record/file_kind.h"

namespace edt::cli {
namespace {

// "email.edt.2026-12-07_18-30-05-2" -> "2026-12-07 18:30:05"
std::string timeOfName(const std::string& name, const std::string& title) {
    std::string time = name.substr(title.size() + 1, 19);
    time[10] = ' ';
    time[13] = time[16] = ':';
    return time;
}

} // namespace

int backupsCommand(const std::string& path, const Settings& settings, std::FILE* out,
                   std::FILE* err) {
    Backups& backups = settings.state.backups();
    const std::vector<Backups::Copy> copies = backups.list(path);
    if (copies.empty())
        return refuse(err, Status::error(StatusCode::NoBackup, path), false);
    const std::string title = fileTitleOf(os::resolvedPath(path));
    std::string listing = "Backups of \"" + path + "\" in \"" + backups.folderOf(path) + "\":\n";
    for (const Backups::Copy& copy : copies) {
        char size[32];
        std::snprintf(size, sizeof size, "%12llu", static_cast<unsigned long long>(copy.size));
        listing += timeOfName(copy.name, title) + size + " bytes  " + copy.name +
                   (copy.original ? "  (the original)\n" : "\n");
    }
    return deliver(listing, out, err);
}

int restoreCommand(const std::string& path, const std::string& backup, const Settings& settings,
                   std::FILE* out, std::FILE* err) {
    Backups::Copy copy;
    const Status found = settings.state.backups().find(path, backup, copy);
    if (!found.ok())
        return refuse(err, found, true);
    OpenFile file;
    if (const Status opened = openFile(path, kindForPath(path), settings, true, file, err);
        !opened.ok())
        return refuse(err, opened, true);
    const WriteResult result = file.restore(copy);
    tell(err, result.notes);
    if (!result.status.ok())
        return refuse(err, result.status, true);
    return deliver("Restored \"" + path + "\" from the backup " + copy.name + ".\n", out, err);
}

int recoverCommand(const std::string& path, bool discard, const Settings& settings, std::FILE* out,
                   std::FILE* err) {
    OpenFile file;
    const Status opened = file.open(path, kindForPath(path), &settings.state);
    if (!opened.ok())
        return refuse(err, opened, false);
    const std::optional<Status> said = file.note();
    if (!said)
        return deliver("No interrupted write of \"" + path + "\" waits to be played back.\n", out,
                       err);
    if (!file.halfWritten()) {
        tell(err, said);
        return kExitOk;
    }
    if (!discard)
        return refuse(err, *said, false);
    file.discardJournal();
    return deliver("Removed the journal \"" + said->detail + "\" of \"" + path +
                       "\": the file stays as it is, and an entry the interrupted write had "
                       "reached may be half-written. A backup copy (edt-tool backups) holds "
                       "the file as it was before.\n",
                   out, err);
}

} // namespace edt::cli
