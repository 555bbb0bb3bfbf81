// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "editor/open_dialog.h"
#include "win32/windows_api.h"

namespace edt::win32 {

// DialogBox: the system's open-file dialog (GetOpenFileNameW), over the owner
// window, with the settings the Open command gives it before each use (the flags are
// the system's OFN_ flags; the Explorer look is added to them). Like the common dialog
// control it stands for, it keeps the chosen file, which the next ShowOpen starts
// from. A box of its own (a template of the Explorer dialog) chooses the character
// set, as Notepad's Encoding box does.
class OpenFileDialog : public OpenDialog {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    bool ShowOpen() override;

private:
    static UINT_PTR CALLBACK hook(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK typed(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR box);
    void showPreset(HWND box, const std::wstring& path) const;
    void follow(HWND box, int nameBox) const;

    HWND owner_ = nullptr;
    std::wstring codePage_; // the box's choice, read when the user confirms
};

} // namespace edt::win32
