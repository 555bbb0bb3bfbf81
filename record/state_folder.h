// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "record/backups.h"

namespace edt {

// What a program keeps about the files it writes, in the user's private state folder:
// the backup copies and the rollback journals (docs/writes.md). Shared by every file a
// run opens, so that each is backed up once per run.
class StateFolder {
public:
    StateFolder(Backups backups, std::string journalFolder)
        : backups_(std::move(backups)), journals_(std::move(journalFolder)) {}
    // In the user's state folder ($XDG_STATE_HOME/edt-editor/journals ...), copies as
    // Backups::forUser has them. Without a state folder every write is refused.
    static StateFolder forUser(bool noBackup);

    Backups& backups() { return backups_; }
    const std::string& journalFolder() const { return journals_; }

private:
    Backups backups_;
    std::string journals_;
};

} // namespace edt
