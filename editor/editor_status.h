// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "record/status.h"

namespace edt {

// What the editor's Write Record reports beside the record core (phrased in
// window_notes.cpp).
struct EditorCode {
    static constexpr StatusCode NoFileOpen{300};
    static constexpr StatusCode NoLineSelected{301};
    // the last open failed
    static constexpr StatusCode FileNotListed{302};
    // key; detail: the file it was selected from
    static constexpr StatusCode KeyFromOtherFile{303};
};

} // namespace edt
