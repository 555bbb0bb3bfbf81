// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32/windows_api.h"

namespace edt::win32 {

// DialogBox: the system's open-file dialog (GetOpenFileNameW) with the settings the
// Open command gives it before each use. Like the common dialog control it stands
// for, it keeps the chosen file, which the next ShowOpen starts from. A box of its
// own (a template of the Explorer dialog) chooses the character set, as Notepad's
// Encoding box does.
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
    // The code pages the character-set box offers, and what it shows for a file (the
    // one it would be read with) or, before any file is picked, for none.
    using Preset = std::function<std::wstring(const std::wstring& path)>;
    void setCodePages(std::vector<std::wstring> names, Preset presetFor) {
        codePages_ = std::move(names);
        presetFor_ = std::move(presetFor);
    }

    // Shows the dialog modally over `owner`. True once a file was chosen; false when
    // the user cancelled.
    bool ShowOpen(HWND owner);

    // The chosen file's full path, its name without folder, and its code page.
    const std::wstring& FileName() const { return fileName_; }
    const std::wstring& FileTitle() const { return fileTitle_; }
    const std::wstring& CodePage() const { return codePage_; }

private:
    static UINT_PTR CALLBACK hook(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK typed(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR box);
    void showPreset(HWND box, const std::wstring& path) const;
    void follow(HWND box, int nameBox) const;

    bool cancelError_ = false;
    std::wstring title_;
    DWORD flags_ = 0;
    std::wstring filter_; // as the API takes it: NUL after each part, one more at the end
    int filterIndex_ = 0;
    std::wstring defaultExt_;
    std::vector<std::wstring> codePages_;
    Preset presetFor_;
    std::wstring fileName_;
    std::wstring fileTitle_;
    std::wstring codePage_;
};

} // namespace edt::win32
