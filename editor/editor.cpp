// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor.h"

#include <algorithm>

#include "editor/edit_text.h"
#include "editor/editor_status.h"
#include "editor/finder.h"
#include "record/shown_text.h"
#include "record/text_codec.h"

namespace edt {

Status Editor::open(const std::string& path, const FileKind& kind, const CodePage& codePage) {
    opened_ = true;
    codePage_ = &codePage;
    path_ = path;
    listed_ = false;
    readOnly_.reset();
    // The old list goes first: two large lists at once would double the memory.
    std::vector<EntryLine>().swap(entries_);
    kind_ = kind;
    Status status = file_.open(path, kind, state_);
    openNote_ = file_.note();
    if (!status.ok())
        return status;
    ReadResult result = file_.read();
    file_.release();
    if (!result.status.ok()) {
        file_.close();
        return result.status;
    }
    entries_ = std::move(result.entries);
    listed_ = true;
    // Told now, not after an edit.
    if (!file_.readOnly().empty())
        readOnly_ = os::Result::failure(os::Op::Open, file_.readOnly());
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
    selection.text = shownUtf16(line.text, *codePage_, lineBreak);
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
    const EntryLayout layout(kind_, listed_ ? file_.identity().size : 0);
    return static_cast<std::size_t>(maxCharsForEntry(layout.presentOf(*row)));
}

bool Editor::isEdited(std::u16string_view editText) const {
    const std::optional<std::size_t> row = shownRow();
    std::string bytes;
    return row &&
           (!storedFromUtf16(editText, *codePage_, bytes).ok() || bytes != entries_[*row].text);
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
    WriteResult result = file_.writeRecord(entry.key, bytes, *codePage_);
    written.status = std::move(result.status);
    written.notes = std::move(result.notes);
    if (written.status.ok()) {
        entry.text = std::move(bytes);
    }
    return written;
}

Status Editor::check(std::u16string_view shownKey, std::u16string_view editText, std::size_t& row,
                     std::string& bytes) const {
    if (!opened_)
        return Status::error(EditorCode::NoFileOpen);
    if (shownKey.empty())
        return Status::error(EditorCode::NoLineSelected);
    if (!listed_)
        return Status::error(EditorCode::FileNotListed, path_);
    RecordKey key = 0;
    const bool isKey = parseKey(asciiOf(shownKey), key);
    // The key stays shown when another file is opened; it means nothing there. (The
    // same file opened again keeps its keys, so an edit survives a fresh listing.)
    if (keyPath_ != path_) {
        Status status = Status::error(EditorCode::KeyFromOtherFile, path_).atKey(key);
        status.detail = keyPath_;
        return status;
    }
    const std::optional<std::size_t> found = isKey ? rowOfKey(key) : std::nullopt;
    if (!found)
        return Status::error(StatusCode::BadKey, path_).atKey(key);
    row = *found;
    Status status = storedFromUtf16(editText, *codePage_, bytes);
    status.path = path_;
    return status;
}

} // namespace edt
