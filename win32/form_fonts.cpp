// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/form_fonts.h"

#include <cmath>

#include "editor/design.h"
#include "win32/dpi.h"

namespace edt::win32 {
namespace {

HFONT arialAt(UINT dpi, bool bold) {
    LOGFONTW font{};
    // Points * 100 to keep 8.25 whole; negative: the character height, not the cell's.
    const int hundredths = static_cast<int>(std::lround(design::kFontPoints * 100));
    font.lfHeight = -MulDiv(hundredths, static_cast<int>(dpi), 7200);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    for (int i = 0; design::kFontFace[i] && i < LF_FACESIZE - 1; ++i)
        font.lfFaceName[i] = static_cast<wchar_t>(design::kFontFace[i]);
    return CreateFontIndirectW(&font);
}

// DEFAULT_GUI_FONT is made for the system's DPI; scaled to the monitor's.
HFONT guiFontAt(UINT dpi) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi()));
    return CreateFontIndirectW(&font);
}

} // namespace

FormFonts::FormFonts(UINT dpi)
    : arial_(arialAt(dpi, false)), arialBold_(arialAt(dpi, true)), gui_(guiFontAt(dpi)) {}

FormFonts::~FormFonts() {
    for (HFONT font : {arial_, arialBold_, gui_})
        if (font)
            DeleteObject(font);
}

} // namespace edt::win32
