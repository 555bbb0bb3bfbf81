// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/entry_list.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "editor/edit_text.h"
#include "record/shown_text.h"

namespace edt::win32 {

void EntryList::create(HWND parent, int id, const Editor& editor) {
    editor_ = &editor;
    list_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                            LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                        GetModuleHandleW(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(list_, 0, &column);
}

void EntryList::reset() {
    // Count 0 first: the old rows' selection and focus go, whatever the new count.
    ListView_SetItemCountEx(list_, 0, 0);
    const std::size_t count = editor_->entries().size();
    ListView_SetItemCountEx(list_, static_cast<int>(std::min<std::size_t>(count, INT_MAX)), 0);
    fitColumn();
}

void EntryList::select(std::size_t row) {
    const int item = static_cast<int>(row);
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list_, item, state, state);
    ListView_EnsureVisible(list_, item, FALSE);
}

std::optional<std::size_t> EntryList::selected() const {
    const int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    if (row < 0)
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

std::wstring EntryList::spokenRow(std::size_t row) const {
    std::wstring spoken;
    if (row >= editor_->entries().size())
        return spoken;
    const CodePage& codePage = *editor_->codePage();
    const char16_t mark = marksFor(codePage).lineBreak;
    for (const char16_t c : rowText(editor_->entries()[row], codePage)) {
        if (c == mark)
            spoken += L" line break ";
        else
            spoken += static_cast<wchar_t>(c);
    }
    return spoken;
}

void EntryList::rowChanged(std::size_t row) {
    ListView_RedrawItems(list_, static_cast<int>(row), static_cast<int>(row));
}

void EntryList::fitColumn() {
    RECT inner;
    GetClientRect(list_, &inner);
    ListView_SetColumnWidth(list_, 0, inner.right - inner.left);
}

std::optional<std::size_t> EntryList::notify(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        if (!(item.mask & LVIF_TEXT))
            break;
        const auto row = static_cast<std::size_t>(item.iItem);
        shown_.clear();
        if (item.iItem >= 0 && row < editor_->entries().size()) {
            // Arial has no kLineBreakMark, and GDI draws no other font's glyph in its
            // place: a line break shows as the Enter key's old sign, two characters
            // Arial has (only shown: the list's text is never read back).
            for (const char16_t c : rowText(editor_->entries()[row], *editor_->codePage())) {
                if (c == kLineBreakMark)
                    shown_ += L"\u25C4\u2518"; // BLACK LEFT-POINTING POINTER, LIGHT UP AND LEFT
                else
                    shown_ += static_cast<wchar_t>(c);
            }
        }
        // The list reads the text from here before it asks for the next row.
        item.pszText = shown_.data();
        break;
    }
    case LVN_ODFINDITEMW:
        result = -1; // no type-ahead: every row starts with "["
        break;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
            (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED))
            return static_cast<std::size_t>(change.iItem);
        break;
    }
    default:
        break;
    }
    return std::nullopt;
}

} // namespace edt::win32
