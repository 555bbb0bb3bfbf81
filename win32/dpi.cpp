// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/dpi.h"

namespace edt::win32 {
namespace {

// The per-monitor functions of Windows 10, looked up at run time so that the program
// still starts on Windows 7 and 8.
template <typename Function> Function user32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

} // namespace

UINT systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT dpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi ? dpi : systemDpi();
}

SIZE outerSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&rect, style, TRUE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, TRUE, exStyle);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace edt::win32
