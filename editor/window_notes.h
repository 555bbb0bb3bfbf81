// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "editor/editor.h"

namespace edt {

// What the windows tell beside the design's captions, the same in every toolkit.

// The sentence a window shows for a status: the record core's, with the window's own
// hints (its menu, its command line), and the sentences of the editor's own statuses.
// A refused write (`ofWrite`) closes with what was not written.
std::string windowMessage(const Status& status, bool ofWrite = false);

// The find field's note after a step: that it went round the end ("From the top
// again", "From the bottom again"), "Not found", or nothing.
std::string findNote(const std::optional<Editor::Found>& found, bool forward);

// Asked before the window leaves a change not written into the entry `key`.
std::string writeChangeQuestion(std::u16string_view key);

// Told when `count` files are dropped at once: one file is open at a time.
std::string severalFilesNote(std::size_t count);

// The list's and the text box's tooltip once a file is read: "Texts in Windows-1251".
std::string codePageNote(const CodePage& codePage);

// Added to that tooltip when the file cannot be opened for writing, with the system's
// reason: "Read-only: nothing can be written into this file (Permission denied)."
std::string readOnlyNote(const os::Result& why);

// The text length's tooltip while a text of `length` characters does not fit the
// entry shown, `key`; empty while it fits or no entry of the open file is shown.
std::string overLimitNote(const Editor& editor, std::u16string_view key, int length);

} // namespace edt
