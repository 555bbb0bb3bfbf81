// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a screen reader reads of the editor's window through MSAA: for each
// child window its class, the name and description of its client object, and the
// names of the list's first rows. With "watch", prints instead the alerts and
// description changes the window raises, for SECONDS.
// Usage: accessible_names.exe [ROWS] | accessible_names.exe watch SECONDS
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <initializer_list>

namespace {

// MinGW's IID_IAccessible symbol does not give this GUID.
const GUID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
long rows = 3;

// Prints the name and the description of `object`'s child `id` (0: itself).
void print(const wchar_t* what, IAccessible* object, long id) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    BSTR name = nullptr, description = nullptr;
    object->get_accName(child, &name);
    object->get_accDescription(child, &description);
    std::wprintf(L"%ls: name='%ls' description='%ls'\n", what, name ? name : L"",
                 description ? description : L"");
    SysFreeString(name);
    SysFreeString(description);
}

BOOL CALLBACK printChild(HWND hwnd, LPARAM) {
    wchar_t name[64];
    GetClassNameW(hwnd, name, 64);
    std::wcscat(name, IsWindowVisible(hwnd) ? L"" : L" (hidden)");
    IAccessible* object = nullptr;
    if (AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kIAccessible,
                                   reinterpret_cast<void**>(&object)) != S_OK)
        return std::wprintf(L"%ls: no IAccessible\n", name), TRUE;
    print(name, object, CHILDID_SELF);
    long count = 0;
    for (long row = 1; !std::wcscmp(name, L"SysListView32") &&
                       object->get_accChildCount(&count) == S_OK && row <= count && row <= rows;
         ++row)
        print(L"  row", object, row);
    object->Release();
    return TRUE;
}

void CALLBACK heard(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    IAccessible* source = nullptr;
    VARIANT id;
    if (AccessibleObjectFromEvent(hwnd, object, child, &source, &id) == S_OK) {
        print(event == EVENT_SYSTEM_ALERT ? L"alert" : L"description", source, id.lVal);
        std::fflush(stdout);
        source->Release();
    }
}

} // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    _setmode(_fileno(stdout), _O_U8TEXT);
    if (argc > 2 && !std::strcmp(argv[1], "watch")) {
        for (const DWORD event : {EVENT_SYSTEM_ALERT, EVENT_OBJECT_DESCRIPTIONCHANGE})
            SetWinEventHook(event, event, nullptr, heard, 0, 0, WINEVENT_OUTOFCONTEXT);
        std::wprintf(L"watching\n");
        std::fflush(stdout);
        SetTimer(nullptr, 0, std::atoi(argv[2]) * 1000, nullptr);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
            DispatchMessageW(&message);
        return 0;
    }
    rows = argc > 1 ? std::atol(argv[1]) : rows;
    const HWND window = FindWindowW(L"EdtEditorForm1", nullptr);
    return window ? EnumChildWindows(window, printChild, 0),
           0      : (std::wprintf(L"no editor window\n"), 1);
}
