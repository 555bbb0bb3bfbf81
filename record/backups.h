// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "record/status.h"

namespace edt {

// A copy of each file taken before a run of a program first writes into it, so that a
// mistaken write can be undone by hand: in the user's state folder
// ($XDG_STATE_HOME/edt-editor/backups, %LOCALAPPDATA%\edt-editor\backups), named by
// the file's name and the time ("email.edt.2026-12-07_18-30-05"), the 20 newest of
// each name kept. Files above 64 MiB are not copied.
class Backups {
public:
    static constexpr std::uint64_t kMaxSize = std::uint64_t{64} << 20;
    static constexpr std::size_t kKept = 20;

    // Backups into `folder`; none with an empty folder.
    explicit Backups(std::string folder) : folder_(std::move(folder)) {}
    // As the user has it: none when `off` (--no-backup, or EDT_NO_BACKUP=1 as the front
    // end read it), else into the state folder.
    static Backups forUser(bool off);

    const std::string& folder() const { return folder_; }

    // Before a write into `path`: the first time in this run, copies the whole file.
    // A copy that cannot be made refuses the write (BackupFailed; nothing may be
    // written then). `note` says when the file was too large to copy (BackupTooLarge).
    Status beforeWrite(const std::string& path, std::optional<Status>& note);

private:
    std::string folder_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> done_; // device and inode copied
};

} // namespace edt
