// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/open_file_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <utility>

#include "platform/wide_text.h"
#include "win32/resource_ids.h"

namespace edt::win32 {

using os::win::toWide;

void OpenFileDialog::showPreset(HWND box, const std::wstring& path) const {
    const std::wstring preset = toWide(presetFor(os::win::toUtf8(path)));
    SendDlgItemMessageW(box, EDT_CODE_PAGE_BOX_ID, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(preset.c_str()));
}

// Once the name box names a file, picked or typed, its preset (a folder keeps it). The
// dialog puts its folder before whatever the box holds; a full path typed stands alone.
void OpenFileDialog::follow(HWND box, int nameBox) const {
    std::wstring path(32768, L'\0');
    path.resize(static_cast<std::size_t>(
        GetDlgItemTextW(GetParent(box), nameBox, path.data(), static_cast<int>(path.size()))));
    if (path.find(L':') == std::wstring::npos && path.rfind(L"\\", 0) != 0) {
        path.assign(32768, L'\0');
        if (SendMessageW(GetParent(box), CDM_GETFILEPATH, 32768,
                         reinterpret_cast<LPARAM>(path.data())) <= 0)
            return;
        path.resize(path.find(L'\0'));
    }
    const DWORD kind = GetFileAttributesW(path.c_str());
    if (kind != INVALID_FILE_ATTRIBUTES && !(kind & FILE_ATTRIBUTE_DIRECTORY))
        showPreset(box, path);
}

// The dialog's own messages: a name typed into its name box (a combo box, or an edit
// box in older templates).
LRESULT CALLBACK OpenFileDialog::typed(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR box) {
    const LRESULT result = DefSubclassProc(dialog, message, wParam, lParam);
    const int id = LOWORD(wParam);
    const auto* self = reinterpret_cast<const OpenFileDialog*>(
        GetWindowLongPtrW(reinterpret_cast<HWND>(box), GWLP_USERDATA));
    if (message == WM_COMMAND && self && (id == cmb13 || id == edt1) &&
        (HIWORD(wParam) == CBN_EDITCHANGE || HIWORD(wParam) == EN_CHANGE))
        self->follow(reinterpret_cast<HWND>(box), id);
    else if (message == WM_NCDESTROY)
        RemoveWindowSubclass(dialog, &OpenFileDialog::typed, 0);
    return result;
}

// The character-set box: filled when the dialog opens, preset for each file picked
// or typed, read when the user confirms.
UINT_PTR CALLBACK OpenFileDialog::hook(HWND box, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self =
            reinterpret_cast<OpenFileDialog*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
        SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        for (const std::string& name : self->codePages())
            SendDlgItemMessageW(box, EDT_CODE_PAGE_BOX_ID, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(toWide(name).c_str()));
        self->showPreset(box, L"");
        return 0;
    }
    auto* self = reinterpret_cast<OpenFileDialog*>(GetWindowLongPtrW(box, GWLP_USERDATA));
    if (message != WM_NOTIFY || !self)
        return 0;
    const UINT code = reinterpret_cast<const OFNOTIFYW*>(lParam)->hdr.code;
    if (code == CDN_INITDONE) {
        SetWindowSubclass(GetParent(box), &OpenFileDialog::typed, 0,
                          reinterpret_cast<DWORD_PTR>(box));
        // Lined up under "Files of type" and its box, as Notepad's Encoding box is.
        const std::pair<int, int> pairs[] = {{stc2, EDT_CODE_PAGE_LABEL_ID},
                                             {cmb1, EDT_CODE_PAGE_BOX_ID}};
        for (const auto& [theirs, ours] : pairs) {
            RECT r, mine;
            GetWindowRect(GetDlgItem(GetParent(box), theirs), &r);
            GetWindowRect(GetDlgItem(box, ours), &mine);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&mine), 2);
            SetWindowPos(GetDlgItem(box, ours), nullptr, r.left, mine.top, r.right - r.left,
                         mine.bottom - mine.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    } else if (code == CDN_SELCHANGE) {
        self->follow(box, cmb13);
    } else if (code == CDN_FILEOK) {
        const HWND list = GetDlgItem(box, EDT_CODE_PAGE_BOX_ID);
        const LRESULT chosen = SendMessageW(list, CB_GETCURSEL, 0, 0);
        self->codePage_.assign(static_cast<std::size_t>(
                                   chosen < 0 ? 0 : SendMessageW(list, CB_GETLBTEXTLEN, chosen, 0)),
                               L'\0');
        if (chosen >= 0)
            SendMessageW(list, CB_GETLBTEXT, chosen,
                         reinterpret_cast<LPARAM>(self->codePage_.data()));
    }
    return 0;
}

bool OpenFileDialog::ShowOpen() {
    // Room for the longest path Windows has (32767 characters with \\?\).
    std::vector<wchar_t> file(32768, L'\0');
    toWide(FileName()).copy(file.data(), file.size() - 1);
    // As the API takes the filter: NUL after each part, one more at the end.
    std::wstring filter = toWide(this->filter());
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    filter += L'\0'; // c_str() adds the second
    const std::wstring title = toWide(dialogTitle()), defaultExt = toWide(this->defaultExt());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.size() == 1 ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(filterIndex());
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    // OFN_EXPLORER: the Explorer look, and the form that takes a template with the
    // character-set box.
    dialog.Flags = flags() | OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpTemplateName = MAKEINTRESOURCEW(EDT_OPEN_TEMPLATE_ID);
    dialog.lpfnHook = &OpenFileDialog::hook;
    dialog.lCustData = reinterpret_cast<LPARAM>(this);
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();

    if (!GetOpenFileNameW(&dialog)) {
        setCancelled();
        return false;
    }
    setChosenFile(os::win::toUtf8(file.data()), os::win::toUtf8(codePage_));
    return true;
}

} // namespace edt::win32
