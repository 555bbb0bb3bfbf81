// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "win32/windows_api.h"

namespace edt::win32 {

// The window's fonts at one DPI: Arial 8.25 pt regular and bold for the list, the
// text box and the labels, and the system's default GUI font for btn_WriteRecord.
// Deleted with the object; a DPI change makes a new set.
class FormFonts {
public:
    explicit FormFonts(UINT dpi);
    ~FormFonts();
    FormFonts(const FormFonts&) = delete;
    FormFonts& operator=(const FormFonts&) = delete;

    HFONT arial(bool bold) const { return bold ? arialBold_ : arial_; }
    HFONT gui() const { return gui_; }

private:
    HFONT arial_ = nullptr;
    HFONT arialBold_ = nullptr;
    HFONT gui_ = nullptr;
};

} // namespace edt::win32
