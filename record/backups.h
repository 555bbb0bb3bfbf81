// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file.h"
#include "record/status.h"

namespace edt {

// A copy of each file taken before a run of a program first writes into it, so that a
// mistaken write can be undone: in the user's state folder
// ($XDG_STATE_HOME/edt-editor/backups, %LOCALAPPDATA%\edt-editor\backups), one folder
// per file (a hash of its full path and its name, the path written in it as "path"),
// each copy named by the file's name and the time ("email.edt.2026-12-07_18-30-05",
// "-2" on for more in one second). The oldest copy (the file before the program first
// wrote it) and the 20 newest are kept. Files above 64 MiB are not copied.
class Backups {
public:
    static constexpr std::uint64_t kMaxSize = std::uint64_t{64} << 20;
    static constexpr std::size_t kKept = 20;

    // Backups under `folder`, taken when `enabled`; none with an empty folder.
    explicit Backups(std::string folder, bool enabled = true)
        : folder_(std::move(folder)), enabled_(enabled && !folder_.empty()) {}
    // As the user has it: under the state folder, copies off when `off` (--no-backup,
    // or EDT_NO_BACKUP=1 as the front end read it); those there can still be listed and
    // restored.
    static Backups forUser(bool off);

    // The folder of the copies of the file at `path`.
    std::string folderOf(const std::string& path) const;

    // Before a write into `file` (open, at `path`): the first time in this run, or
    // every time with `again`, copies the whole file. A copy that cannot be made
    // refuses the write (BackupFailed; nothing may be written then). `note` says when
    // the file was too large to copy (BackupTooLarge).
    Status beforeWrite(const os::File& file, const std::string& path, std::optional<Status>& note,
                       bool again = false);

    struct Copy {
        std::string name;
        std::string path;
        std::uint64_t size = 0;
        bool original = false; // the oldest kept: the file before the first write
    };
    // The copies of the file at `path`, the oldest first (none is no error).
    std::vector<Copy> list(const std::string& path) const;

    // The copy of the file at `path` named `name` (its newest with an empty name), as
    // list() has it; NoBackup when there is none.
    Status find(const std::string& path, const std::string& name, Copy& out) const;

private:
    std::string folder_;
    bool enabled_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> done_; // device and inode copied
};

} // namespace edt
