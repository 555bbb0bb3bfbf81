// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor.h"

#include <algorithm>

#include "editor/edit_text.h"
#include "editor/finder.h"
#include "platform/file.h"
#include "record/text_codec.h"
#include "record/writer.h"

namespace edt {

Status Editor::open(const std::string& path, const FileKind& kind, const CodePage& codePage) {
    opened_ = true;
    codePage_ = &codePage;
    path_ = path;
    identity_.reset();
    readOnly_.reset();
    openNote_ = writer_ ? writer_->recover(path) : std::nullopt;
    // The old list goes first: two large lists at once would double the memory.
    std::vector<EntryLine>().swap(entries_);
    kind_ = kind;
    ReadResult result = readFile(path, kind);
    if (!result.status.ok())
        return result.status;
    entries_ = std::move(result.entries);
    identity_ = result.identity;
    // Opened as a write opens it, and closed at once: told now, not after an edit.
    os::File probe;
    if (os::Result writable = probe.open(path, os::File::Mode::Update); !writable.ok())
        readOnly_ = std::move(writable);
    return Status::success();
}

std::optional<std::size_t> Editor::rowOfKey(RecordKey key) const {
    const auto it =
        std::lower_bound(entries_.begin(), entries_.end(), key,
                         [](const EntryLine& line, RecordKey k) { return line.key < k; });
    if (it == entries_.end() || it->key != key)
        return std::nullopt;
    return static_cast<std::size_t>(it - entries_.begin());
}

Editor::Selection Editor::select(std::size_t row, std::u16string_view lineBreak) {
    const EntryLine& line = entries_[row];
    keyPath_ = path_;
    selected_ = row;
    Selection selection;
    selection.maxChars = *shownLimit();
    for (const char digit : formatKey(line.key))
        selection.key += static_cast<char16_t>(digit);
    selection.text = toEditText(line.text, lineBreak, *codePage_);
    return selection;
}

std::optional<std::size_t> Editor::shownRow() const {
    if (!selected_ || keyPath_ != path_ || *selected_ >= entries_.size())
        return std::nullopt;
    return selected_;
}

std::optional<std::size_t> Editor::shownLimit() const {
    const std::optional<std::size_t> row = shownRow();
    if (!row)
        return std::nullopt;
    const EntryLayout layout(kind_, identity_ ? identity_->size : 0);
    return static_cast<std::size_t>(maxCharsForEntry(layout.presentOf(*row)));
}

bool Editor::isEdited(std::u16string_view editText) const {
    const std::optional<std::size_t> row = shownRow();
    std::string bytes;
    return row && (!fromEditText(editText, *codePage_, bytes).ok() || bytes != entries_[*row].text);
}

std::optional<Editor::Found> Editor::find(std::u16string_view query,
                                          std::optional<std::size_t> from, bool forward) const {
    const std::size_t count = entries_.size();
    if (query.empty() || count == 0)
        return std::nullopt;
    const Finder finder(query, *codePage_);
    // Steps from the row after (or before) `from`, round the end, back to `from`.
    std::size_t row = from ? *from : (forward ? count - 1 : 0);
    for (std::size_t step = 0; step < count; ++step) {
        const bool round = forward ? row + 1 == count : row == 0;
        row = forward ? (round ? 0 : row + 1) : (round ? count - 1 : row - 1);
        if (finder.matches(entries_[row]))
            return Found{row, from && (forward ? row <= *from : row >= *from)};
    }
    return std::nullopt;
}

Editor::Written Editor::write(std::u16string_view shownKey, std::u16string_view editText) {
    Written written;
    std::string bytes;
    written.status = check(shownKey, editText, written.row, bytes);
    if (!written.status.ok())
        return written;
    EntryLine& entry = entries_[written.row];
    WriteResult result =
        writer_ ? writer_->writeRecord(path_, kind_, entry.key, bytes, *codePage_, &*identity_)
                : writeRecord(path_, kind_, entry.key, bytes, *codePage_, &*identity_);
    written.status = std::move(result.status);
    written.notes = std::move(result.notes);
    if (written.status.ok()) {
        identity_ = result.identity;
        entry.text = std::move(bytes);
    }
    return written;
}

Status Editor::check(std::u16string_view shownKey, std::u16string_view editText, std::size_t& row,
                     std::string& bytes) const {
    if (!opened_)
        return Status::error(StatusCode::NoFileOpen);
    if (shownKey.empty())
        return Status::error(StatusCode::NoLineSelected);
    if (!identity_)
        return Status::error(StatusCode::FileNotListed, path_);
    RecordKey key = 0;
    const bool isKey = parseKey(asciiOf(shownKey), key);
    // The key stays shown when another file is opened; it means nothing there. (The
    // same file opened again keeps its keys, so an edit survives a fresh listing.)
    if (keyPath_ != path_) {
        Status status = Status::error(StatusCode::KeyFromOtherFile, path_).atKey(key);
        status.detail = keyPath_;
        return status;
    }
    const std::optional<std::size_t> found = isKey ? rowOfKey(key) : std::nullopt;
    if (!found)
        return Status::error(StatusCode::BadKey, path_).atKey(key);
    row = *found;
    Status status = fromEditText(editText, *codePage_, bytes);
    status.path = path_;
    return status;
}

} // namespace edt
