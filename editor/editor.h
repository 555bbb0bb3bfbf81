// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/code_page.h"
#include "record/entry_line.h"
#include "record/open_file.h"
#include "record/reader.h"
#include "record/state_folder.h"
#include "record/status.h"

namespace edt {

// The editor window's state and commands, apart from any toolkit: a window moves
// text between its widgets and these calls, and shows windowMessage(status) where one
// fails. The listed file stays open, unlocked between the calls.
class Editor {
public:
    // Writes are journaled and backed up in `state` when given; it must outlive the
    // editor. Without, they are plain locked writes.
    explicit Editor(StateFolder* state = nullptr) : state_(state) {}
    void setStateFolder(StateFolder* state) { state_ = state; }

    // Lists the file at `path`, of kind `kind`, its texts read in `codePage` (which
    // lives as long as the program). On
    // failure the list is empty and the status says why; the kind's limit caption is
    // set either way. A write into it that was interrupted is rolled back first
    // (openNote() says so).
    Status open(const std::string& path, const FileKind& kind, const CodePage& codePage);
    const std::optional<Status>& openNote() const { return openNote_; }
    // Why the file listed last cannot be opened for writing, found when it was listed
    // (none when it can, or was not listed).
    const std::optional<os::Result>& readOnly() const { return readOnly_; }

    // The file listed last (empty before the first open).
    const std::string& path() const { return path_; }
    const std::string& limitCaption() const { return kind_.limitCaption; }
    // The code page of the last open (none before the first).
    const CodePage* codePage() const { return codePage_; }
    const std::vector<EntryLine>& entries() const { return entries_; }

    // The row of the entry that starts at `key`.
    std::optional<std::size_t> rowOfKey(RecordKey key) const;

    // Selects a row: its key as the label shows it, and its text for a text box whose
    // line break is `lineBreak`. Remembers which file the key belongs to.
    struct Selection {
        std::u16string key;
        std::u16string text;
        std::size_t maxChars = 0; // the most characters the entry holds with its terminator
    };
    Selection select(std::size_t row, std::u16string_view lineBreak);

    // Whether a text box's text differs from the text of the row selected last (a
    // change not written yet).
    bool isEdited(std::u16string_view editText) const;

    // The most characters the entry of the key shown holds, while that key belongs to
    // the file open now.
    std::optional<std::size_t> shownLimit() const;

    // The next row after `from` (before it, going back; from the first or the last row
    // without one) whose key or text holds `query`, not minding case, going round the
    // end at most once (`wrapped`). None when no row does.
    struct Found {
        std::size_t row = 0;
        bool wrapped = false;
    };
    std::optional<Found> find(std::u16string_view query, std::optional<std::size_t> from,
                              bool forward) const;

    // Stores a text box's text at the key shown, in the file listed last, and puts it
    // into that entry's row. Refused with the reason, nothing written, when no file is
    // open, no key is shown, the last open failed, the key was selected from another
    // file, the key is no entry, the text has a character the file cannot hold or does
    // not fit, or the file was changed or removed by another program since it was
    // listed; a write that fails midway is undone and says so.
    struct Written {
        Status status;
        std::size_t row = 0;       // the entry's row, when written
        std::vector<Status> notes; // said along the way (of the backup, a rollback ...)
    };
    Written write(std::u16string_view shownKey, std::u16string_view editText);

    // The row selected last, while its key belongs to the file open now.
    std::optional<std::size_t> shownRow() const;

private:
    // Why a write cannot go ahead, or the row it goes to and the text's bytes.
    Status check(std::u16string_view shownKey, std::u16string_view editText, std::size_t& row,
                 std::string& bytes) const;

    StateFolder* state_ = nullptr;
    OpenFile file_;
    std::optional<Status> openNote_;
    std::optional<os::Result> readOnly_;
    bool opened_ = false;
    std::string path_;
    FileKind kind_;
    const CodePage* codePage_ = nullptr;
    std::vector<EntryLine> entries_;
    bool listed_ = false;                 // not after a failed open
    std::string keyPath_;                 // the file the shown key was selected from
    std::optional<std::size_t> selected_; // the row selected last
};

} // namespace edt
