// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a screen reader reads of the editor's window through MSAA: for each
// child window its class, the name and description of its client object, and the
// names of the first rows of the list. With "watch", prints instead the alerts and
// description changes the window raises, for SECONDS.
// Usage: accessible_names.exe [ROWS] | accessible_names.exe watch SECONDS
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// MinGW's IID_IAccessible symbol does not give this GUID.
const GUID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
int rows = 3;

std::string utf8(const wchar_t* text) {
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), static_cast<int>(out.size()), nullptr,
                        nullptr);
    out.pop_back();
    return out;
}

std::string read(IAccessible* object, long child, bool description) {
    VARIANT id;
    id.vt = VT_I4;
    id.lVal = child;
    BSTR text = nullptr;
    const HRESULT result =
        description ? object->get_accDescription(id, &text) : object->get_accName(id, &text);
    std::string out = result == S_OK && text ? utf8(text) : "";
    SysFreeString(text);
    return out;
}

BOOL CALLBACK printChild(HWND hwnd, LPARAM) {
    wchar_t name[64];
    GetClassNameW(hwnd, name, 64);
    IAccessible* object = nullptr;
    if (AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kIAccessible,
                                   reinterpret_cast<void**>(&object)) != S_OK)
        return std::printf("%s: no IAccessible\n", utf8(name).c_str()), TRUE;
    std::printf("%s%s: name='%s' description='%s'\n", utf8(name).c_str(),
                IsWindowVisible(hwnd) ? "" : " (hidden)", read(object, CHILDID_SELF, false).c_str(),
                read(object, CHILDID_SELF, true).c_str());
    long count = 0;
    if (object->get_accChildCount(&count) == S_OK)
        for (long row = 1; row <= count && row <= rows && !std::wcscmp(name, L"SysListView32");
             ++row)
            std::printf("  row %ld: name='%s'\n", row, read(object, row, false).c_str());
    object->Release();
    return TRUE;
}

void CALLBACK heard(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    IAccessible* source = nullptr;
    VARIANT id;
    if (AccessibleObjectFromEvent(hwnd, object, child, &source, &id) != S_OK)
        return;
    std::printf("%s: name='%s' description='%s'\n",
                event == EVENT_SYSTEM_ALERT ? "alert" : "description",
                read(source, id.lVal, false).c_str(), read(source, id.lVal, true).c_str());
    std::fflush(stdout);
    source->Release();
}

} // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    if (argc > 2 && !std::strcmp(argv[1], "watch")) {
        for (const DWORD event : {EVENT_SYSTEM_ALERT, EVENT_OBJECT_DESCRIPTIONCHANGE})
            SetWinEventHook(event, event, nullptr, heard, 0, 0, WINEVENT_OUTOFCONTEXT);
        std::puts("watching");
        std::fflush(stdout);
        SetTimer(nullptr, 0, std::atoi(argv[2]) * 1000, nullptr);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
            DispatchMessageW(&message);
        return 0;
    }
    if (argc > 1)
        rows = std::atoi(argv[1]);
    HWND window = FindWindowW(L"EdtEditorForm1", nullptr);
    if (!window)
        return std::puts("no editor window"), 1;
    EnumChildWindows(window, printChild, 0);
    return 0;
}
