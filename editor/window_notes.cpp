// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/window_notes.h"

#include "editor/edit_text.h"

namespace edt {

std::string findNote(const std::optional<Editor::Found>& found, bool forward) {
    if (!found)
        return "Not found";
    if (!found->wrapped)
        return "";
    return forward ? "From the top again" : "From the bottom again";
}

std::string dropChangeQuestion(std::u16string_view key) {
    return "Entry " + asciiOf(key) +
           " holds a change that was not written. Go on to the next match and drop it?";
}

std::string severalFilesNote(std::size_t count) {
    return std::to_string(count) +
           " files were dropped. The editor opens one file at a time: drop only that one.";
}

std::string codePageNote(const CodePage& codePage) {
    return "Texts in " + codePage.name();
}

std::string overLimitNote(const Editor& editor, std::u16string_view key, int length) {
    const std::optional<std::size_t> limit = editor.shownLimit();
    if (!limit || length < 0 || static_cast<std::size_t>(length) <= *limit)
        return "";
    return "Entry " + asciiOf(key) + " holds at most " + std::to_string(*limit) + " characters.";
}

} // namespace edt
