// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/open_file_dialog.h"

#include <commdlg.h>

#include <vector>

namespace edt::win32 {

void OpenFileDialog::setFilter(const std::wstring& filter) {
    filter_ = filter;
    for (wchar_t& c : filter_)
        if (c == L'|')
            c = L'\0';
    filter_ += L'\0'; // c_str() adds the second
}

bool OpenFileDialog::ShowOpen(HWND owner) {
    // Room for the longest path Windows has (32767 characters with \\?\).
    std::vector<wchar_t> file(32768, L'\0');
    fileName_.copy(file.data(), file.size() - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(filterIndex_);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title_.c_str();
    // OFN_EXPLORER: the Explorer look, and the form that takes a dialog template with
    // further boxes (OFN_ENABLETEMPLATE | OFN_ENABLEHOOK) should one be added.
    dialog.Flags = flags_ | OFN_EXPLORER;
    dialog.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();

    if (!GetOpenFileNameW(&dialog)) {
        if (!cancelError_) {
            fileName_.clear();
            fileTitle_.clear();
        }
        return false;
    }
    fileName_ = file.data();
    fileTitle_ = fileName_.substr(dialog.nFileOffset);
    return true;
}

} // namespace edt::win32
