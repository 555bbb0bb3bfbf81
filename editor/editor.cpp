// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor.h"

#include <algorithm>

#include "editor/edit_text.h"
#include "record/writer.h"

namespace edt {
namespace {

std::string narrow(std::u16string_view digits) {
    std::string out;
    for (const char16_t c : digits)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

} // namespace

Status Editor::open(const std::string& path, std::string_view fileTitle) {
    opened_ = true;
    path_ = path;
    title_ = std::string(fileTitle);
    identity_.reset();
    // The old list goes first: two large lists at once would double the memory.
    std::vector<EntryLine>().swap(entries_);
    ReadResult result = readFile(path, fileTitle);
    limitCaption_ = result.kind.limitCaption;
    if (!result.status.ok())
        return result.status;
    entries_ = std::move(result.entries);
    identity_ = result.identity;
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
    Selection selection;
    for (const char digit : formatKey(line.key))
        selection.key += static_cast<char16_t>(digit);
    selection.text = toEditText(line.text, lineBreak);
    return selection;
}

Editor::Written Editor::write(std::u16string_view shownKey, std::u16string_view editText) {
    Written written;
    std::string bytes;
    written.status = check(shownKey, editText, written.row, bytes);
    if (!written.status.ok())
        return written;
    EntryLine& entry = entries_[written.row];
    WriteResult result = writeRecord(path_, title_, entry.key, bytes, &*identity_);
    written.status = std::move(result.status);
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
    const bool isKey = parseKey(narrow(shownKey), key);
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
    Status status = fromEditText(editText, bytes);
    status.path = path_;
    return status;
}

} // namespace edt
