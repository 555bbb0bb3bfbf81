// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "editor/editor.h"
#include "win32/windows_api.h"

namespace edt::win32 {

// List1: a list view in owner-data mode (one column, no header, one line selectable)
// that holds no text of its own. It asks for a row's text only when it paints that
// row, so a million entries list as fast as a hundred.
class EntryList {
public:
    // Creates the list as a child of `parent`; its rows are `editor`'s entries.
    void create(HWND parent, int id, const Editor& editor);
    HWND handle() const { return list_; }

    // Shows the editor's entries anew: none selected, the first at the top.
    void reset();
    // Selects a row as a click does (the list tells it as the user's selection) and
    // scrolls it into view.
    void select(std::size_t row);
    // The selected row, if one is.
    std::optional<std::size_t> selected() const;
    // A row's text for screen readers: the words "line break" where the row shows the
    // mark of one.
    std::wstring spokenRow(std::size_t row) const;
    // Repaints one row after a write changed its text.
    void rowChanged(std::size_t row);
    // Widens the one column to the list's inner width (long rows are cut at the edge).
    void fitColumn();

    // Handles a notification of the list. Gives the row that the user has just
    // selected, if that is what it tells; sets `result` where the list expects one.
    std::optional<std::size_t> notify(NMHDR& header, LRESULT& result);

private:
    HWND list_ = nullptr;
    const Editor* editor_ = nullptr;
    std::wstring shown_; // the text of the row painted last, which the list reads
};

} // namespace edt::win32
