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
    // `super` names the super-journal of a write into several files (SuperJournal).
    Status begin(const os::FileIdentity& before, const std::vector<Change>& changes,
                 const std::string& super = {}) const;
    // Removes the journal once its write is flushed or wholly undone.
    void end() const;

    // With `file` (the journal's file) open for update and locked: rolls back the
    // interrupted write whose journal is there, only where the bytes are still those
    // it wrote; flushes the file and removes the journal. Says what it did; nothing
    // when there is no journal (or a torn one: its write never began). A journal that
    // cannot be trusted (not this user's own plain file, damaged, of another file, or
    // reaching outside the file) is kept and named: JournalUnusable. A journal whose
    // super-journal is gone belongs to a write that reached every file: it is removed.
    std::optional<Status> recover(const os::File& file) const;

    // JournalUnusable, with why (a clause: "it is damaged").
    Status unusable(std::string why) const;

private:
    std::string folder_;
    std::string filePath_; // as given, for messages
    std::string fullPath_;
    std::string journalPath_;
};

// What ties the journals of a write into several files (a folder's import), as
// SQLite's super-journal ties those of several databases: it lists their names, is on
// the disk before any of them is written, and its removal is the moment the write is
// done in every file. A journal that names a super-journal still there is played back;
// one whose super-journal is gone is removed, its file left as written. A super-journal
// goes once none of its journals is left.
class SuperJournal {
public:
    // Writes a new super-journal of `journals` (their paths) into `folder`, flushed.
    static Status begin(const std::string& folder, const std::vector<std::string>& journals,
                        SuperJournal& out);
    // Its name in the folder, as the journals hold it.
    const std::string& name() const { return name_; }
    // Removes it and flushes its folder: every file's write is done.
    void end() const;
    // Removes the super-journal `name` of `folder` once none of the journals it lists
    // is there any more; one that cannot be read stays.
    static void endIfDone(const std::string& folder, const std::string& name);

private:
    std::string folder_;
    std::string name_;
};

} // namespace edt
