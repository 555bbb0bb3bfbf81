// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "win32/windows_api.h"

namespace edt::win32 {

// DialogBox: the system's open-file dialog (GetOpenFileNameW) with the settings the
// Open command gives it before each use. Like the common dialog control it stands
// for, it keeps the chosen file, which the next ShowOpen starts from.
class OpenFileDialog {
public:
    // With CancelError set, a cancel keeps FileName and FileTitle; without, they empty.
    void setCancelError(bool on) { cancelError_ = on; }
    void setDialogTitle(std::wstring title) { title_ = std::move(title); }
    // The system's OFN_ flags; the Explorer look is added to them.
    void setFlags(DWORD flags) { flags_ = flags; }
    // Description and pattern pairs divided by bars: "All Files (*.*)|*.*|...".
    void setFilter(const std::wstring& filter);
    // 1 selects the first pair.
    void setFilterIndex(int index) { filterIndex_ = index; }
    // Added to a typed name that has no extension.
    void setDefaultExt(std::wstring ext) { defaultExt_ = std::move(ext); }

    // Shows the dialog modally over `owner`. True once a file was chosen; false when
    // the user cancelled.
    bool ShowOpen(HWND owner);

    // The chosen file's full path, and its name without folder.
    const std::wstring& FileName() const { return fileName_; }
    const std::wstring& FileTitle() const { return fileTitle_; }

private:
    bool cancelError_ = false;
    std::wstring title_;
    DWORD flags_ = 0;
    std::wstring filter_; // as the API takes it: NUL after each part, one more at the end
    int filterIndex_ = 0;
    std::wstring defaultExt_;
    std::wstring fileName_;
    std::wstring fileTitle_;
};

} // namespace edt::win32
