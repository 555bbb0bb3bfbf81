// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/window_notes.h"

namespace edt {
namespace {

std::string narrow(std::u16string_view key) {
    return std::string(key.begin(), key.end()); // digits only
}

} // namespace

std::string findNote(const std::optional<Editor::Found>& found, bool forward) {
    if (!found)
        return "Not found";
    if (!found->wrapped)
        return "";
    return forward ? "From the top again" : "From the bottom again";
}

std::string dropChangeQuestion(std::u16string_view key) {
    return "Entry " + narrow(key) +
           " holds a change that was not written. Go on to the next match and drop it?";
}

std::string entryLimitNote(std::u16string_view key, std::size_t maxChars) {
    return "Entry " + narrow(key) + " holds at most " + std::to_string(maxChars) + " characters.";
}

} // namespace edt
