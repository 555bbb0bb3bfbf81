// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/window_notes.h"

#include "editor/edit_text.h"
#include "editor/editor_status.h"
#include "record/message.h"

namespace edt {
namespace {

std::string own(const Status& s) {
    switch (numberOf(s.code)) {
    case numberOf(EditorCode::NoFileOpen):
        return "No file is open. Open one with File > Open ..., select a line and edit its "
               "text first.";
    case numberOf(EditorCode::NoLineSelected):
        return "No line is selected. Select the line whose text you want to replace in the "
               "list first.";
    case numberOf(EditorCode::FileNotListed):
        return quoted(s.path) +
               " could not be read. Open a file that can be read, select a line and edit its "
               "text first.";
    case numberOf(EditorCode::KeyFromOtherFile):
        return "The key " + formatKey(s.key.value_or(0)) + " belongs to " + quoted(s.detail) +
               ", which was open before " + quoted(s.path) +
               ". Select a line of the file open now first.";
    default:
        return {};
    }
}

std::string hint(const Status& s) {
    switch (s.code) {
    case StatusCode::FileChanged:
    case StatusCode::FileRemoved:
        return " Open it again before writing.";
    case StatusCode::UnknownCodePage:
    case StatusCode::MultiByteCodePage:
        return " The Character set box of File > Open ... lists the single-byte code pages.";
    case StatusCode::BackupFailed:
        return " (edt-editor --no-backup or EDT_NO_BACKUP=1 writes without a copy.)";
    default:
        return {};
    }
}

} // namespace

std::string windowMessage(const Status& status, bool ofWrite) {
    return describe(status, ofWrite, {own, hint});
}

std::string findNote(const std::optional<Editor::Found>& found, bool forward) {
    if (!found)
        return "Not found";
    if (!found->wrapped)
        return "";
    return forward ? "From the top again" : "From the bottom again";
}

std::string writeChangeQuestion(std::u16string_view key) {
    return "Entry " + asciiOf(key) +
           " holds a change that was not written. Write it before going on, or discard it?";
}

std::string severalFilesNote(std::size_t count) {
    return std::to_string(count) +
           " files were dropped. The editor opens one file at a time: drop only that one.";
}

std::string codePageNote(const CodePage& codePage) {
    return "Texts in " + codePage.name();
}

std::string readOnlyNote(const os::Result& why) {
    return "Read-only: nothing can be written into this file (" + why.reason + ").";
}

std::string overLimitNote(const Editor& editor, std::u16string_view key, int length) {
    const std::optional<std::size_t> limit = editor.shownLimit();
    if (!limit || length < 0 || static_cast<std::size_t>(length) <= *limit)
        return "";
    return "Entry " + asciiOf(key) + " holds at most " + std::to_string(*limit) + " characters.";
}

} // namespace edt
