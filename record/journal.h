// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file.h"
#include "record/status.h"

namespace edt {

// A name for what the program keeps of one file in its state folder: a hash of the
// file's full path, then the file's name ("3f2a...-email.edt").
std::string stateNameOf(const std::string& fullPath);

// One span a write changes: at `offset`, the bytes the file held (`before`, shorter
// where the file ended) and those the write stores there (`after`).
struct Change {
    std::uint64_t offset = 0;
    std::string before;
    std::string after;
};

// The rollback journal of the writes into one file (docs/writes.md): in `folder`, named
// by a hash of the file's full path and its name, holding that path, the file's
// identity, the time and every change. It is on the disk before the first byte of the
// file changes and removed once the file is flushed; one found later belongs to a write
// that was interrupted, and is rolled back by the next program that opens the file.
class Journal {
public:
    // The journal of the file at `path` (any form; its full path keys the journal, or
    // one begun through another path of the same file is found by its identity).
    Journal(const std::string& folder, const std::string& path);

    const std::string& path() const { return journalPath_; }
    bool exists() const;

    // Writes the journal and flushes it and its folder; only then may the file change.
    Status begin(const os::FileIdentity& before, const std::vector<Change>& changes) const;
    // Removes the journal once its write is flushed or wholly undone.
    void end() const;

    // With `file` (the journal's file) open for update and locked: rolls back the
    // interrupted write whose journal is there, only where the bytes are still those
    // it wrote; flushes the file and removes the journal. Says what it did; nothing
    // when there is no journal (or a torn one: its write never began). A journal that
    // cannot be trusted (not this user's own plain file, damaged, of another file, or
    // reaching outside the file) is kept and named: JournalUnusable.
    std::optional<Status> recover(const os::File& file) const;

    // JournalUnusable, with why (a clause: "it is damaged").
    Status unusable(std::string why) const;

private:
    std::string folder_;
    std::string filePath_; // as given, for messages
    std::string fullPath_;
    std::string journalPath_;
};

} // namespace edt
